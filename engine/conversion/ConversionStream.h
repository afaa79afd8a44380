#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ConversionControl.h"
#include "ConversionWatch.h"
#include "FastConvert.h"

namespace qm {

struct AcRules;

// Converts a long text a part at a time, so that a program of any size is converted in the
// memory of a few parts: each part's result is handed back before the next part is read, and
// the buffers behind it, with their pages, are reused.
//
//   ConversionStream stream(compiled, spaceAdd, fileSize);
//   while (more to read) Write(stream.Convert(lines ending in LF, false));
//   Write(stream.Convert(the rest, true));
//
// The results joined give exactly what CompiledDictionary::Convert gives for the whole text.
// The result limit of control counts for the whole text, whose size is told up front (a guess
// is fine: it only sets the default limit and the total that progress reports).
class ConversionStream {
public:
    ConversionStream(const CompiledDictionary& dictionary, bool spaceAdd, std::size_t totalBytes,
                     const ConversionControl& control = {});
    ConversionStream(const ConversionStream&) = delete;
    ConversionStream& operator=(const ConversionStream&) = delete;

    // part: whole lines, each ending in LF, unless last, which ends the text (its final line,
    // with or without LF, is completed with CR LF as always). The result stays valid until the
    // call after next, so that it can be written out while the next part is converted. Throws
    // what CompiledDictionary::Convert throws.
    const std::string& Convert(std::string_view part, bool last);
    // A part that ends inside a line, right after a byte that no word of the dictionary holds:
    // the line goes on in the next part. The results joined are those of the whole line unless
    // EntryNeverEnded(), when the whole line must be converted at once instead.
    const std::string& ConvertCut(std::string_view part);
    // Whether some entry was taken as never ending on a line (a contrived dictionary): its
    // result on a line converted in stretches differs from that on the whole line.
    bool EntryNeverEnded() const { return watch_.NeverEnded(); }

private:
    const AcRules& rules_;
    const bool spaceAdd_;
    const ConversionControl control_;
    ConversionWatch watch_;
    std::string results_[2];  // in turn
    int turn_ = 0;
    std::vector<std::string> buffers_;
};

}  // namespace qm
