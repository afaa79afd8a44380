#pragma once

#include <cstdint>

namespace qm::shiftjis {

// Code page 932 as the C library's iconv defines it, from a table generated once
// (tools/gen-shiftjis-table.cpp), so that nothing is asked of iconv at run time.

inline bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The character of a single byte, or 0 when the byte is not a character on its own
// (a lead byte, or one of 0x80, 0xA0, 0xFD to 0xFF). Byte 0 itself is NUL and is handled by
// the caller as ASCII.
char32_t DecodeSingle(unsigned char b);

// The character of a lead and trail byte pair, or 0 when the pair is not defined.
char32_t DecodePair(unsigned char lead, unsigned char trail);

// The code of c: one byte (< 0x100) or a pair (lead << 8 | trail); 0 when c has none.
// Where two codes decode to c, the one the C library writes is returned.
std::uint16_t Encode(char32_t c);

// True when the code page can be read and written; the table is built in, so always.
bool Available();

}  // namespace qm::shiftjis
