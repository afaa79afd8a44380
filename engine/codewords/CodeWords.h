#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Dictionary.h"

namespace qm {

// The codes of an NC program that a dictionary is expected to explain.
//
// A code word is G or M (either case) followed by one or more digits, optionally a full stop
// and more digits, where the letter does not directly follow another letter (`G01`, `g1`,
// `G43.4`; `N10G00` holds `G00`, `TMG1` holds none), or `#` followed by one or more digits
// (`#5221`). Comments are not searched: from `(` to the next `)` on the same line, and from `;`
// to the end of the line. A `(` without a `)` after it on its line comments nothing. Lines end
// at LF; letters are the ASCII letters.

// One distinct code word of a text.
struct CodeWordTally {
    std::string word;
    std::size_t count = 0;
    std::size_t firstLine = 0;    // of its first occurrence, from 1
    std::size_t firstOffset = 0;  // byte offset of its first occurrence in the text

    friend bool operator==(const CodeWordTally&, const CodeWordTally&) = default;
};

// Every distinct code word of text, in the order of first occurrence. One pass over the text;
// memory only for each distinct word.
std::vector<CodeWordTally> TallyCodeWords(std::string_view text);

// TallyCodeWords for a text given part by part, each part but the last ending right after an LF,
// so that a long program need not be held whole. Lines and offsets count from the text's start.
class CodeWordTallies {
public:
    void Add(std::string_view part);
    std::vector<CodeWordTally> Take() { return std::move(tallies_); }

private:
    std::vector<CodeWordTally> tallies_;
    std::size_t offset_ = 0, lineEnds_ = 0;
};

// The tallies of a part of a text that starts at the start of a line and ends at the end of one
// (lines and offsets counted from the part's start), and the number of LFs in it.
struct PartTally {
    std::vector<CodeWordTally> tallies;
    std::size_t lineEnds = 0;
};
PartTally TallyPart(std::string_view part);

// The words of a dictionary (entries 0 to LastIndex, empty words left out). Views into table,
// which must outlive the set.
std::unordered_set<std::string_view> DictionaryWords(const DictionaryTable& table);

// Keeps the tallies whose word no dictionary word equals exactly (letter case counts).
void KeepMissing(std::vector<CodeWordTally>& tallies,
                 const std::unordered_set<std::string_view>& words);

// The order missing words are listed in: most frequent first, equal counts by word, byte by byte.
bool ListedBefore(const CodeWordTally& a, const CodeWordTally& b);

// The code words of text that table lacks, in listing order.
std::vector<CodeWordTally> MissingCodeWords(std::string_view text, const DictionaryTable& table);
// The same from the tallies of a text.
std::vector<CodeWordTally> MissingOf(std::vector<CodeWordTally> tallies,
                                     const DictionaryTable& table);

}  // namespace qm
