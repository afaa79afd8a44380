#include "ConversionStream.h"

#include <algorithm>
#include <thread>

#include "AcParallel.h"
#include "AcPieces.h"
#include "AcRules.h"

namespace qm {
namespace {

// A part smaller than this is converted on one thread.
constexpr std::size_t kParallelFrom = 256 * 1024;
// Pieces a thread takes in turn: small enough that both threads finish a part together.
constexpr std::size_t kPiecesPerThread = 8;
constexpr std::size_t kSmallestPiece = 64 * 1024;

}  // namespace

ConversionStream::ConversionStream(const CompiledDictionary& dictionary, bool spaceAdd, std::size_t totalBytes,
                                   const ConversionControl& control)
    : rules_(*dictionary.rules_),
      spaceAdd_(spaceAdd),
      control_(control),
      watch_(control_, totalBytes),
      threads_(std::max(1u, std::thread::hardware_concurrency())) {}

const std::string& ConversionStream::Convert(std::string_view part, bool last) {
    std::string& result = results_[turn_ ^= 1];
    result.clear();  // keeps its memory
    if (threads_ == 1 || part.size() < kParallelFrom) {
        ConvertPiece(rules_, part, last, spaceAdd_, result, watch_);
        return result;
    }
    const std::size_t pieceBytes = std::max(kSmallestPiece, part.size() / (threads_ * kPiecesPerThread) + 1);
    ConvertInParallel(rules_, SplitAtLines(part, pieceBytes), last, spaceAdd_, threads_, result, watch_, buffers_);
    return result;
}

}  // namespace qm
