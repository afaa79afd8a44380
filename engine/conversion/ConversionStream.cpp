#include "ConversionStream.h"

#include "AcParallel.h"
#include "AcPieces.h"
#include "AcRules.h"

namespace qm {

ConversionStream::ConversionStream(const CompiledDictionary& dictionary, bool spaceAdd, std::size_t totalBytes,
                                   const ConversionControl& control)
    : rules_(*dictionary.rules_), spaceAdd_(spaceAdd), control_(control), watch_(control_, totalBytes) {}

const std::string& ConversionStream::Convert(std::string_view part, bool last) {
    std::string& result = results_[turn_ ^= 1];
    result.clear();  // keeps its memory
    ConvertSpread(rules_, part, last, spaceAdd_, 0, 0, result, watch_, buffers_);
    return result;
}

const std::string& ConversionStream::ConvertCut(std::string_view part) {
    std::string& result = results_[turn_ ^= 1];
    result.clear();
    const std::size_t lines = part.rfind('\n') + 1;  // 0 when there is no LF
    if (lines > 0) ConvertSpread(rules_, part.substr(0, lines), false, spaceAdd_, 0, 0, result, watch_, buffers_);
    ConvertPiece(rules_, part.substr(lines), false, spaceAdd_, result, watch_, true);
    return result;
}

}  // namespace qm
