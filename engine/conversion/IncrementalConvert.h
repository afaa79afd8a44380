#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Dictionary.h"
#include "FastConvert.h"

namespace qm {

// Converts a text again and again as it is edited, converting only the lines that changed.
// A line's conversion depends on that line, the table and SpaceAdd alone, so every other line's
// conversion is taken from the previous result. The result is always exactly what converting
// the whole text gives.
//
//   IncrementalConverter converter;
//   converter.Update("G00\r\nM30", table, false);   // whole: converts everything
//   converter.Update("G01\r\nM30", table, false);   // converts the first line only
class IncrementalConverter {
public:
    // What changed in the converted text: bytes [from, to) of the previous result were replaced
    // by replacement (which stays valid until the next Update). whole: nothing was kept.
    struct Change {
        std::size_t from = 0, to = 0;
        std::string_view replacement;
        bool whole = false;
    };

    // Throws what the conversion throws (ConversionTooLarge, ConversionCancelled, ...); the
    // previous result then stays, and the next Update converts the whole text.
    Change Update(std::string_view source, const DictionaryTable& table, bool SpaceAdd,
                  const ConversionControl& control = {});
    const std::string& Converted() const { return converted_; }
    // Forgets the previous result: the next Update converts the whole text.
    void Reset() { valid_ = false; }

private:
    Change ConvertWhole(std::string_view source, bool SpaceAdd, const ConversionControl& control);
    Change ConvertChanged(std::string_view source, bool SpaceAdd, const ConversionControl& control);
    // Line starts of text (which ends in LF), with one more entry at its end.
    static std::vector<std::size_t> LineStarts(std::string_view text);

    std::optional<CompiledDictionary> compiled_;
    std::uint64_t fingerprint_ = 0;
    bool valid_ = false;
    // False when a word or comment holds a line feed: then the converted text's line feeds do
    // not mark where each line's conversion ends, and every update converts the whole text.
    bool linesMatch_ = true;
    std::string padded_;     // the previous source with the CR LF conversion appends
    std::string converted_;  // its conversion
    std::vector<std::size_t> sourceLines_, convertedLines_;
};

}  // namespace qm
