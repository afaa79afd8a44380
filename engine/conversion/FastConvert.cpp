#include "FastConvert.h"

#include <vector>

#include "AcAutomaton.h"
#include "AcParallel.h"
#include "AcPieces.h"
#include "AcRules.h"
#include "ConversionWatch.h"
#include "TextCodec.h"

namespace qm {

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
    std::string result;
    std::vector<std::string> buffers;
    ConvertSpread(*rules_, source, true, SpaceAdd, parallel.threads, parallel.chunkBytes, result, watch, buffers);
    return result;
}

bool CompiledDictionary::InsertsAreValidUtf8() const { return IsValidUtf8(rules_->inserts); }

bool CompiledDictionary::IsWordByte(unsigned char byte) const { return rules_->automaton.IsWordByte(byte); }

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
