#include "ConversionWatch.h"

#include <limits>

namespace qm {
namespace {

// Progress is worth telling about this often; more often only costs the caller.
constexpr auto kReportEvery = std::chrono::milliseconds(40);

}  // namespace

std::size_t DefaultResultLimit(std::size_t inputBytes) {
    constexpr std::size_t kMost = std::numeric_limits<std::size_t>::max();
    constexpr std::size_t kBase = std::size_t(1) << 30;
    if (inputBytes > (kMost - kBase) / 64) return kMost;
    return 64 * inputBytes + kBase;
}

ConversionWatch::ConversionWatch(const ConversionControl& control, std::size_t inputBytes)
    : control_(control),
      total_(inputBytes),
      limit_(control.resultLimit != 0 ? control.resultLimit : DefaultResultLimit(inputBytes)) {}

bool ConversionWatch::Count(std::size_t inputBytes, std::size_t outputBytes) {
    done_.fetch_add(inputBytes, std::memory_order_relaxed);
    return output_.fetch_add(outputBytes, std::memory_order_relaxed) + outputBytes <= limit_;
}

void ConversionWatch::Poll() {
    if (cancelled_.load(std::memory_order_relaxed)) throw ConversionCancelled();
    if (!control_.progress) return;
    const std::unique_lock<std::mutex> lock(reporting_, std::try_to_lock);
    if (!lock.owns_lock()) return;  // another thread is reporting
    const auto now = std::chrono::steady_clock::now();
    if (now - lastReport_ < kReportEvery) return;
    lastReport_ = now;
    if (!control_.progress(done_.load(std::memory_order_relaxed), total_)) {
        cancelled_ = true;
        throw ConversionCancelled();
    }
}

std::string TooLargeMessage(std::size_t limit, std::string_view word, std::string_view insert) {
    if (!insert.empty() && insert.front() == ' ') insert.remove_prefix(1);
    std::string message = "The conversion was stopped: its result would pass " + std::to_string(limit) +
                          " bytes, far more than any real program.";
    if (word.empty()) return message;
    return message + " The dictionary entry \"" + std::string(word) + "\" (comment \"" + std::string(insert) +
           "\") most likely makes it grow without end.";
}

}  // namespace qm
