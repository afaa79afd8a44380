#include "FastConvert.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "AcAutomaton.h"
#include "AcParallel.h"
#include "AcPieces.h"
#include "AcRules.h"
#include "ConversionWatch.h"
#include "TextCodec.h"

namespace qm {
namespace {

constexpr std::size_t kParallelFrom = 256 * 1024;  // smaller texts are not worth a thread
constexpr std::size_t kSmallestChunk = 256 * 1024;
constexpr std::size_t kChunksPerThread = 8;        // evens out pieces that convert slower

}  // namespace

CompiledDictionary::CompiledDictionary(const DictionaryTable& table)
    : CompiledDictionary(table, AcAutomaton::kDefaultDenseCells) {}

CompiledDictionary::CompiledDictionary(const DictionaryTable& table, std::size_t denseCells)
    : rules_(std::make_unique<const AcRules>(table, denseCells)) {}

CompiledDictionary::~CompiledDictionary() = default;
CompiledDictionary::CompiledDictionary(CompiledDictionary&&) noexcept = default;
CompiledDictionary& CompiledDictionary::operator=(CompiledDictionary&&) noexcept = default;

std::string CompiledDictionary::Convert(std::string_view source, bool SpaceAdd, unsigned threads) const {
    return Convert(source, SpaceAdd, ParallelOptions{threads, 0});
}

std::string CompiledDictionary::Convert(std::string_view source, bool SpaceAdd, const ParallelOptions& parallel,
                                        const ConversionControl& control) const {
    ConversionWatch watch(control, source.size());
    unsigned threads = parallel.threads;
    if (threads == 0) {
        threads = source.size() < kParallelFrom ? 1 : std::max(1u, std::thread::hardware_concurrency());
    }
    std::string result;
    if (threads == 1 && parallel.chunkBytes == 0) {
        ConvertPiece(*rules_, source, true, SpaceAdd, result, watch);
        return result;
    }
    const std::size_t chunkBytes =
        parallel.chunkBytes != 0 ? parallel.chunkBytes
                                 : std::max(kSmallestChunk, source.size() / (threads * kChunksPerThread) + 1);
    std::vector<std::string> buffers;
    ConvertInParallel(*rules_, SplitAtLines(source, chunkBytes), true, SpaceAdd, threads, result, watch, buffers);
    return result;
}

bool CompiledDictionary::InsertsAreValidUtf8() const { return IsValidUtf8(rules_->inserts); }

std::string CompiledDictionary::ConvertLines(std::string_view lines, bool SpaceAdd,
                                             const ConversionControl& control) const {
    ConversionWatch watch(control, lines.size());
    std::string result;
    ConvertPiece(*rules_, lines, false, SpaceAdd, result, watch);
    return result;
}

std::string ConvertProgram(std::string_view source, const DictionaryTable& table, bool SpaceAdd) {
    return CompiledDictionary(table).Convert(source, SpaceAdd);
}

}  // namespace qm
