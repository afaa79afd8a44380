#include "AcParallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "AcPieces.h"

namespace qm {
namespace {

constexpr std::size_t kParallelFrom = 256 * 1024;  // smaller texts are not worth a thread
constexpr std::size_t kSmallestChunk = 256 * 1024;
constexpr std::size_t kChunksPerThread = 8;        // evens out pieces that convert slower

// Appends converted pieces to the result in their order, whichever thread finishes first.
class OrderedResult {
public:
    OrderedResult(std::string& result, std::size_t inputBytes) : result_(result), inputBytes_(inputBytes) {}

    // Waits for the pieces before piece k, then appends its result. False when a thread failed.
    bool Append(std::size_t k, std::size_t pieceBytes, const std::string& converted) {
        std::unique_lock<std::mutex> lock(mutex_);
        turn_.wait(lock, [&] { return next_ == k || failure_; });
        if (failure_) return false;
        if (k == 0) {  // the first piece tells how much the text grows
            ReserveLarge(result_, result_.size() + ExpectedOutput(pieceBytes, converted.size(), inputBytes_));
        }
        result_ += converted;
        ++next_;
        turn_.notify_all();
        return true;
    }

    void Fail(std::exception_ptr failure) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = failure;
        turn_.notify_all();
    }

    void RethrowIfFailed() const {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    std::string& result_;
    const std::size_t inputBytes_;
    std::mutex mutex_;
    std::condition_variable turn_;
    std::size_t next_ = 0;
    std::exception_ptr failure_;
};

}  // namespace

void ConvertInParallel(const AcRules& rules, const std::vector<std::string_view>& pieces, bool endsText,
                       bool spaceAdd, unsigned threads, std::string& result, ConversionWatch& watch,
                       std::vector<std::string>& buffers) {
    threads = unsigned(std::max<std::size_t>(1, std::min<std::size_t>(threads, pieces.size())));
    if (buffers.size() < threads) buffers.resize(threads);
    std::size_t inputBytes = 0;
    for (const std::string_view piece : pieces) inputBytes += piece.size();
    OrderedResult ordered(result, inputBytes);
    std::atomic<std::size_t> next{0};
    const auto work = [&](std::string& buffer) {
        try {
            for (std::size_t k; (k = next.fetch_add(1)) < pieces.size();) {
                buffer.clear();
                ConvertPiece(rules, pieces[k], endsText && k + 1 == pieces.size(), spaceAdd, buffer, watch);
                if (!ordered.Append(k, pieces[k].size(), buffer)) return;
            }
        } catch (...) {
            ordered.Fail(std::current_exception());
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (unsigned i = 1; i < threads; ++i) {
            try {
                helpers.emplace_back(work, std::ref(buffers[i]));
            } catch (const std::system_error&) {
                break;  // fewer threads: the work still gets done
            }
        }
        work(buffers[0]);
    }
    ordered.RethrowIfFailed();
}

void ConvertSpread(const AcRules& rules, std::string_view text, bool endsText, bool spaceAdd, unsigned threads,
                   std::size_t chunkBytes, std::string& result, ConversionWatch& watch,
                   std::vector<std::string>& buffers) {
    if (threads == 0) threads = text.size() < kParallelFrom ? 1 : std::max(1u, std::thread::hardware_concurrency());
    if (threads == 1 && chunkBytes == 0) return ConvertPiece(rules, text, endsText, spaceAdd, result, watch);
    if (chunkBytes == 0) chunkBytes = std::max(kSmallestChunk, text.size() / (threads * kChunksPerThread) + 1);
    ConvertInParallel(rules, SplitAtLines(text, chunkBytes), endsText, spaceAdd, threads, result, watch, buffers);
}

}  // namespace qm
