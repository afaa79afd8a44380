#include "ShiftJisTwins.h"

#include <algorithm>
#include <cstring>

#include "ShiftJis.h"

namespace qm {
namespace {

// Characters of the Basic Multilingual Plane that more than one double-byte code decodes to.
class TwinSet {
public:
    TwinSet() : twin_(0x10000, false) {
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!shiftjis::IsLeadByte(lead)) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const char32_t c = shiftjis::DecodePair(lead, trail);
                if (c != 0 && shiftjis::Encode(c) != (lead << 8 | trail)) twin_[c] = true;
            }
        }
    }
    bool Has(char32_t c) const { return c < twin_.size() && twin_[c]; }

private:
    std::vector<bool> twin_;
};

const TwinSet& Twins() {
    static const TwinSet twins;
    return twins;
}

// Skips plain ASCII eight bytes at a time: programs are mostly ASCII.
std::size_t SkipAscii(std::string_view bytes, std::size_t pos) {
    for (; pos + 8 <= bytes.size(); pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + pos, 8);
        if ((word & 0x8080808080808080ull) != 0) break;
    }
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) ++pos;
    return pos;
}

}  // namespace

// Walks the bytes as the decoder does: a lead byte with a defined trail is one character,
// every other byte stands alone.
ShiftJisTwins ShiftJisTwins::UsedBy(std::string_view bytes) {
    ShiftJisTwins result;
    std::vector<bool> seen(0x10000, false);
    const TwinSet& twins = Twins();
    for (std::size_t pos = SkipAscii(bytes, 0); pos < bytes.size(); pos = SkipAscii(bytes, pos)) {
        const unsigned char lead = bytes[pos++];
        if (!shiftjis::IsLeadByte(lead) || pos == bytes.size()) continue;
        const unsigned char trail = bytes[pos];
        const char32_t c = shiftjis::DecodePair(lead, trail);
        if (c == 0) continue;
        ++pos;
        if (!twins.Has(c) || seen[c]) continue;
        seen[c] = true;
        const std::uint16_t code = std::uint16_t(lead << 8 | trail);
        if (code != shiftjis::Encode(c)) result.unusual_.emplace_back(c, code);
    }
    std::sort(result.unusual_.begin(), result.unusual_.end());
    return result;
}

std::uint16_t ShiftJisTwins::CodeFor(char32_t c) const {
    const auto found = std::lower_bound(unusual_.begin(), unusual_.end(), std::pair<char32_t, std::uint16_t>(c, 0));
    return found != unusual_.end() && found->first == c ? found->second : 0;
}

}  // namespace qm
