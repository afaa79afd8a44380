#include "ShiftJis.h"

#include <vector>

namespace qm::shiftjis {
namespace {

struct CodeAndChar {
    std::uint16_t code;
    char32_t c;
};

#include "ShiftJisTable.inc"

struct Tables {
    bool available = true;
    std::vector<char32_t> decode = std::vector<char32_t>(0x10000, 0);  // by byte or pair code
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(0x10000, 0);  // by character

    Tables() { Fill(); }

    void Fill() {
        for (unsigned b = 0; b < 0x80; ++b) Add(b, b);
        for (const CodeAndChar& entry : kCodes) Add(entry.code, entry.c);
        // Where two codes give one character, keep the code the C library writes.
        for (const CodeAndChar& entry : kCodesWritten) encode[entry.c] = entry.code;
    }

    void Add(unsigned code, char32_t c) {
        if (c == 0 && code != 0) return;
        if (c > 0xFFFF) return;  // code page 932 has none; guards the table size
        decode[code] = c;
        if (encode[c] == 0) encode[c] = std::uint16_t(code);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

}  // namespace

char32_t DecodeSingle(unsigned char b) { return IsLeadByte(b) ? 0 : GetTables().decode[b]; }

char32_t DecodePair(unsigned char lead, unsigned char trail) {
    return GetTables().decode[lead << 8 | trail];
}

std::uint16_t Encode(char32_t c) { return c > 0xFFFF ? 0 : GetTables().encode[c]; }

bool Available() { return GetTables().available; }

}  // namespace qm::shiftjis
