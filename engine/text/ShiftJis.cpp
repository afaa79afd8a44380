#include "ShiftJis.h"

#include <array>

namespace qm::shiftjis {
namespace {

struct CodeAndChar {
    std::uint16_t code;
    char32_t c;
};

#include "ShiftJisTable.inc"

// Built by the compiler: nothing is computed or written at start, and only the pages a text
// uses are ever read in.
struct Tables {
    bool available = true;
    std::array<char32_t, 0x10000> decode{};       // by byte or pair code
    std::array<std::uint16_t, 0x10000> encode{};  // by character

    constexpr Tables() { Fill(); }

    constexpr void Fill() {
        for (unsigned b = 0; b < 0x80; ++b) Add(b, b);
        for (const CodeAndChar& entry : kCodes) Add(entry.code, entry.c);
        // Where two codes give one character, keep the code the C library writes.
        for (const CodeAndChar& entry : kCodesWritten) encode[entry.c] = entry.code;
    }

    constexpr void Add(unsigned code, char32_t c) {
        if (c == 0 && code != 0) return;
        if (c > 0xFFFF) return;  // code page 932 has none; guards the table size
        decode[code] = c;
        if (encode[c] == 0) encode[c] = std::uint16_t(code);
    }
};

constexpr Tables kTables;

const Tables& GetTables() { return kTables; }

}  // namespace

char32_t DecodeSingle(unsigned char b) { return IsLeadByte(b) ? 0 : GetTables().decode[b]; }

char32_t DecodePair(unsigned char lead, unsigned char trail) {
    return GetTables().decode[lead << 8 | trail];
}

std::uint16_t Encode(char32_t c) { return c > 0xFFFF ? 0 : GetTables().encode[c]; }

bool Available() { return GetTables().available; }

}  // namespace qm::shiftjis
