#include "ShiftJisTwins.h"

#include <algorithm>
#include <bitset>
#include <cstring>

#include "ShiftJis.h"
#include "TextCodec.h"

namespace qm {
namespace {

// For each double-byte code: whether it is a character, and whether that character has another
// code. Two small bit tables, so that the walk over a large file stays in the cache.
class PairCodes {
public:
    PairCodes() {
        std::vector<bool> twinChars(0x10000, false);  // characters: the decoder keeps to 16 bits
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!shiftjis::IsLeadByte(lead)) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const unsigned code = lead << 8 | trail;
                const char32_t c = shiftjis::DecodePair(lead, trail);
                if (c == 0) continue;
                defined_[code] = true;
                if (shiftjis::Encode(c) != code) twinChars[c] = true;
            }
        }
        for (unsigned code = 0; code < 0x10000; ++code) {
            if (defined_[code]) twin_[code] = twinChars[shiftjis::DecodePair(code >> 8, code & 0xFF)];
        }
    }
    bool Defined(unsigned code) const { return defined_[code]; }
    bool Twin(unsigned code) const { return twin_[code]; }

private:
    std::bitset<0x10000> defined_, twin_;
};

const PairCodes& Pairs() {
    static const PairCodes pairs;
    return pairs;
}

// Skips plain ASCII: programs are mostly ASCII.
std::size_t SkipAscii(std::string_view bytes, std::size_t pos) { return pos + AsciiPrefix(bytes.substr(pos)); }

}  // namespace

// Walks the bytes as the decoder does: a lead byte with a defined trail is one character,
// every other byte stands alone.
ShiftJisTwins ShiftJisTwins::UsedBy(std::string_view bytes) {
    ShiftJisTwins result;
    std::vector<bool> seen(0x10000, false);
    const PairCodes& pairs = Pairs();
    for (std::size_t pos = SkipAscii(bytes, 0); pos < bytes.size(); pos = SkipAscii(bytes, pos)) {
        const unsigned char lead = bytes[pos++];
        if (!shiftjis::IsLeadByte(lead) || pos == bytes.size()) continue;
        const unsigned char trail = bytes[pos];
        const unsigned code = lead << 8 | trail;
        if (!pairs.Defined(code)) continue;
        ++pos;
        if (!pairs.Twin(code)) continue;
        const char32_t c = shiftjis::DecodePair(lead, trail);
        if (seen[c]) continue;
        seen[c] = true;
        if (code != shiftjis::Encode(c)) result.unusual_.emplace_back(c, std::uint16_t(code));
    }
    std::sort(result.unusual_.begin(), result.unusual_.end());
    return result;
}

std::uint16_t ShiftJisTwins::CodeFor(char32_t c) const {
    const auto found = std::lower_bound(unusual_.begin(), unusual_.end(), std::pair<char32_t, std::uint16_t>(c, 0));
    return found != unusual_.end() && found->first == c ? found->second : 0;
}

}  // namespace qm
