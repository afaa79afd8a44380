// The automaton against a naive search, and the cutting of texts into pieces at line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "AcAutomaton.h"
#include "AcPieces.h"

namespace qm {
namespace {

using Found =
    std::vector<std::tuple<std::size_t, std::size_t, std::uint32_t>>;  // end, -length, word

Found Naive(const std::vector<std::string>& words, const std::string& text) {
    Found found;
    for (std::uint32_t w = 0; w < words.size(); ++w) {
        for (std::size_t at = text.find(words[w]); at != std::string::npos;
             at = text.find(words[w], at + 1)) {
            found.emplace_back(at + words[w].size(), 0 - words[w].size(), w);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

Found Scanned(const AcAutomaton& automaton, const std::string& text) {
    Found found;
    automaton.Scan(text, [&](std::uint32_t w, std::size_t start) {
        found.emplace_back(start + automaton.WordLength(w), 0 - automaton.WordLength(w), w);
    });
    return found;  // not sorted: Scan promises this order
}

TEST(AcAutomaton, ReportsEveryOccurrenceInOrder) {
    const std::string alphabet = "ABC\n\xE4\xB8";  // includes bytes of multi-byte characters
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        const auto piece = [&](std::size_t most) {
            std::string s(1 + rng() % most, ' ');
            for (char& c : s)
                c = alphabet[rng() % alphabet.size()];
            return s;
        };
        std::vector<std::string> words;
        for (unsigned n = rng() % 12; n > 0; --n) {
            std::string w = piece(5);
            if (std::find(words.begin(), words.end(), w) == words.end())
                words.push_back(w);
        }
        const std::vector<std::string_view> views(words.begin(), words.end());
        const std::string text = piece(80);
        const Found expected = Naive(words, text);
        EXPECT_EQ(Scanned(AcAutomaton(views), text), expected) << "seed " << seed;
        EXPECT_EQ(Scanned(AcAutomaton(views, 0), text), expected) << "seed " << seed << ", compact";
    }
}

TEST(AcAutomaton, RefusesRepeatedOrEmptyWords) {
    EXPECT_THROW(AcAutomaton({"G0", "G1", "G0"}), std::invalid_argument);
    EXPECT_THROW(AcAutomaton({"G0", ""}), std::invalid_argument);
}

TEST(SplitAtLines, PiecesEndAtLineEndsAndCoverTheText) {
    const std::string text = "G0\nG01 X1\n\nM30\r\nEND";
    for (std::size_t chunk = 1; chunk <= text.size() + 1; ++chunk) {
        const std::vector<std::string_view> pieces = SplitAtLines(text, chunk);
        std::string joined;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            joined += pieces[k];
            if (k + 1 < pieces.size()) {
                EXPECT_TRUE(pieces[k].ends_with('\n')) << "chunk " << chunk << ", piece " << k;
                EXPECT_GE(pieces[k].size(), chunk);
            }
        }
        EXPECT_EQ(joined, text) << "chunk " << chunk;
    }
    EXPECT_EQ(SplitAtLines("", 4).size(), 1u);
}

}  // namespace
}  // namespace qm
