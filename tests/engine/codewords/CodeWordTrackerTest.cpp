// The tracker against a fresh tally after every edit.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "CodeWordTracker.h"

namespace qm {
namespace {

std::string Pieces(std::mt19937& rng, int count) {
    static const char* pieces[] = {"G0", "1",  "M",    "3", "#", "5", "(", ")",
                                   ";",  "\n", "\r\n", "X", " ", ".", "g"};
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pieces[rng() % std::size(pieces)];
    return text;
}

TEST(CodeWordTracker, EveryEditGivesTheTalliesOfTheWholeText) {
    std::mt19937 rng(11);
    for (const std::size_t blockBytes : {std::size_t(1), std::size_t(16), std::size_t(200)}) {
        CodeWordTracker tracker(blockBytes);
        std::string text = Pieces(rng, 400);
        for (int edit = 0; edit < 400; ++edit) {
            const std::size_t at = rng() % (text.size() + 1);
            const std::size_t erase =
                rng() % 4 == 0 ? 0 : rng() % std::min<std::size_t>(text.size() - at + 1, 30);
            text.replace(at, erase, Pieces(rng, int(rng() % 6)));
            if (edit % 97 == 0)
                text += "G";  // a line without its end, then continued
            if (edit % 131 == 0)
                text.clear();
            ASSERT_EQ(tracker.Update(text), TallyCodeWords(text))
                << "block " << blockBytes << ", edit " << edit;
        }
    }
}

}  // namespace
}  // namespace qm
