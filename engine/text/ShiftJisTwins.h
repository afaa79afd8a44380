#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

// Code page 932 has two or three codes for some characters: the NEC row 13 symbols, the
// NEC-selected IBM extensions (rows 0xED and 0xEE) and the IBM extensions (0xFA to 0xFC). The
// character alone does not tell which code a file used, so a document remembers the file's
// choice and writes that code back, leaving the bytes it did not edit as they were.
class ShiftJisTwins {
public:
    // The codes Shift-JIS bytes use for the characters that have more than one. A file that uses
    // several codes for one character keeps the first.
    static ShiftJisTwins UsedBy(std::string_view bytes);

    // The code to write for c when it is not the usual one; 0 otherwise.
    std::uint16_t CodeFor(char32_t c) const;
    bool empty() const { return unusual_.empty(); }

private:
    std::vector<std::pair<char32_t, std::uint16_t>> unusual_;  // by character
};

}  // namespace qm
