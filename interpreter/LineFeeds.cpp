#include "LineFeeds.h"

#include <cstdint>
#include <cstring>

namespace qm::interp {

std::size_t CountLineFeeds(std::string_view text) {
    // Each byte that is a line feed is marked in its top bit, and the marks are summed.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kFeeds = kOnes * '\n', kLow7 = kOnes * 0x7f;
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        const std::uint64_t x = word ^ kFeeds;  // a line feed's byte is 0
        const std::uint64_t marked = ~(((x & kLow7) + kLow7) | x | kLow7);
        count += std::size_t(((marked >> 7) * kOnes) >> 56);  // the marks summed in the top byte
    }
    for (; i < text.size(); ++i)
        count += text[i] == '\n' ? 1 : 0;
    return count;
}

}  // namespace qm::interp
