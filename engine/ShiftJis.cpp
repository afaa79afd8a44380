#include "ShiftJis.h"

#include <iconv.h>

#include <string>
#include <string_view>
#include <vector>

namespace qm::shiftjis {
namespace {

// Converts `in` with `cd`; returns the output bytes, or an empty string when iconv rejects any
// part of the input.
std::string Convert(iconv_t cd, std::string_view in) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string source(in);
    char out[16];
    char* inPtr = source.data();
    std::size_t inLeft = source.size();
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1) || inLeft != 0) return {};
    return std::string(out, outPtr);
}

char32_t ReadUtf32Le(const std::string& bytes) {
    if (bytes.size() != 4) return 0;
    char32_t c = 0;
    for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<unsigned char>(bytes[i]);
    return c;
}

struct Tables {
    bool available = false;
    std::vector<char32_t> decode = std::vector<char32_t>(0x10000, 0);  // by byte or pair code
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(0x10000, 0);  // by character

    Tables() {
        iconv_t toUnicode = iconv_open("UTF-32LE", "CP932");
        iconv_t fromUnicode = iconv_open("CP932", "UTF-32LE");
        if (toUnicode != iconv_t(-1) && fromUnicode != iconv_t(-1)) {
            available = true;
            Fill(toUnicode, fromUnicode);
        }
        if (toUnicode != iconv_t(-1)) iconv_close(toUnicode);
        if (fromUnicode != iconv_t(-1)) iconv_close(fromUnicode);
    }

    void Fill(iconv_t toUnicode, iconv_t fromUnicode) {
        for (unsigned b = 0; b < 0x80; ++b) Add(b, b);
        for (unsigned b = 0xA1; b <= 0xDF; ++b) Add(b, ReadUtf32Le(Convert(toUnicode, std::string(1, char(b)))));
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(lead)) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                Add(lead << 8 | trail, ReadUtf32Le(Convert(toUnicode, {pair, 2})));
            }
        }
        // Where two codes give one character, keep the code the C library writes.
        for (unsigned code = 0x80; code < 0x10000; ++code) {
            const char32_t c = decode[code];
            if (c < 0x80 || c > 0xFFFF) continue;
            std::string unit(4, '\0');
            for (int i = 0; i < 4; ++i) unit[i] = char((c >> (8 * i)) & 0xFF);
            const std::string bytes = Convert(fromUnicode, unit);
            if (bytes.size() == 1) encode[c] = static_cast<unsigned char>(bytes[0]);
            if (bytes.size() == 2)
                encode[c] = static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
        }
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
