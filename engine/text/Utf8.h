#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

// Text inside the program is UTF-8. A byte that could not be decoded from a file is held as
// the lone surrogate U+DC80 + byte (written as the three bytes ED B2..B3 80..BF), so that it
// survives editing, conversion and writing back unchanged. Such a character has no case and
// matches only itself.

inline constexpr char32_t kFirstRawByte = 0xDC80;
inline constexpr char32_t kLastRawByte = 0xDCFF;

inline bool IsRawByte(char32_t c) { return c >= kFirstRawByte && c <= kLastRawByte; }

// Appends the UTF-8 form of c (surrogates included) to out.
void AppendUtf8(std::string& out, char32_t c);

// Decodes the character at text[pos] and advances pos past it. Text made by this program is
// always well formed; a stray byte is returned as its raw-byte character, so every byte is
// consumed exactly once.
char32_t NextChar(std::string_view text, std::size_t& pos);

// Length of a strict UTF-8 sequence (no overlong forms, surrogates or values above U+10FFFF)
// starting at bytes[pos], or 0 when the bytes there are not one.
std::size_t ValidUtf8SequenceLength(std::string_view bytes, std::size_t pos);

// Number of characters in text.
std::size_t CharCount(std::string_view text);

// The character at text[pos] written out for a message: "ä" (U+00E4), or for a raw byte
// "byte 0x81".
std::string DescribeChar(char32_t c);

}  // namespace qm
