#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

#include "ConversionControl.h"

namespace qm {

// One conversion's bookkeeping, shared by the threads that run it: keeps the result within its
// limit, reports progress and hears a cancel.
class ConversionWatch {
public:
    ConversionWatch(const ConversionControl& control, std::size_t inputBytes);

    // The most bytes the result, and so any one line of it, may have.
    std::size_t Limit() const { return limit_; }
    // Counts a stretch of input done and the output it gave; false when the result as counted
    // so far has passed the limit.
    bool Count(std::size_t inputBytes, std::size_t outputBytes);
    // Throws ConversionCancelled once the caller has cancelled; reports progress now and then.
    void Poll();
    // Notes that an entry was taken as never ending on a line: its outcome depends on the
    // length of the whole line.
    void NoteNeverEnding() { neverEnded_.store(true, std::memory_order_relaxed); }
    bool NeverEnded() const { return neverEnded_.load(std::memory_order_relaxed); }

private:
    const ConversionControl& control_;
    const std::size_t total_;
    const std::size_t limit_;
    std::atomic<std::size_t> done_{0}, output_{0};
    std::atomic<bool> cancelled_{false}, neverEnded_{false};
    std::mutex reporting_;
    std::chrono::steady_clock::time_point lastReport_{};  // long ago: the first look reports
};

// The message of a ConversionTooLarge: the limit and the entry most likely to blame.
std::string TooLargeMessage(std::size_t limit, std::string_view word, std::string_view insert);

}  // namespace qm
