#include <gtest/gtest.h>

#include "TableOf.h"

#include <random>

#include "Convert.h"
#include "IncrementalConvert.h"

namespace qm {
namespace {

using test::TableOf;

std::string RandomText(std::mt19937& random, std::size_t length) {
    static const std::string alphabet = "G01 M3X\r\n\n";
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
}

// Applies a change to the previous result, as the converted window does.
std::string Applied(std::string previous, const IncrementalConverter::Change& change) {
    if (change.whole) return std::string(change.replacement);
    return previous.replace(change.from, change.to - change.from, change.replacement);
}

// Edits a random text at random, as a user would, and checks every update against a whole
// conversion with the reference.
void ExpectWholeResultsOverRandomEdits(const DictionaryTable& table, unsigned seeds) {
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        std::mt19937 random(seed);
        IncrementalConverter converter;
        std::string source = RandomText(random, 200);
        std::string window;
        std::vector<std::string> history;
        for (int step = 0; step < 60; ++step) {
            const std::size_t at = source.empty() ? 0 : random() % (source.size() + 1);
            switch (random() % 4) {
                case 0:  // type or paste some lines
                    source.insert(at, RandomText(random, 1 + random() % (step % 7 == 0 ? 40 : 3)));
                    break;
                case 1:  // delete
                    source.erase(at, random() % 8);
                    break;
                case 2:  // undo: back to an earlier text
                    if (!history.empty()) source = history[random() % history.size()];
                    break;
                default:  // replace a character
                    if (at < source.size()) source[at] = "G0M\n"[random() % 4];
            }
            history.push_back(source);
            const bool spaceAdd = step > 40;  // an option change converts everything again
            window = Applied(window, converter.Update(source, table, spaceAdd));
            const std::string expected = ConvertReference(source, table, spaceAdd);
            ASSERT_EQ(converter.Converted(), expected) << "seed " << seed << " step " << step;
            ASSERT_EQ(window, expected) << "seed " << seed << " step " << step;
        }
    }
}

TEST(IncrementalConverter, EveryResultEqualsAWholeConversionOverRandomEdits) {
    // Words form across inserted comments (G0 -> "g0 g": searched again from the start), a
    // comment holds its word (M3), line ends are words.
    ExpectWholeResultsOverRandomEdits(TableOf({{0, "G01", "feed g0"}, {0, "G0", "g0 g"}, {0, "M3", "m3 on"},
                                               {0, "\r", "cr"}, {0, "X\r", "x"}, {0, "3X", "M"}, {0, "GG", "g"}}),
                                      40);
}

TEST(IncrementalConverter, WordsAndCommentsMayHoldLineFeeds) {
    ExpectWholeResultsOverRandomEdits(TableOf({{0, "3\n", "three"}, {0, "M", "m\nnext"}, {0, "\n", "\n\n"}}), 8);
    ExpectWholeResultsOverRandomEdits(TableOf({{0, "X\r\n", ""}, {0, "G0", "rapid"}}), 8);
}

TEST(IncrementalConverter, ConvertsOnlyTheChangedLinesAndAllAfterATableChange) {
    DictionaryTable table = TableOf({{0, "G00", "rapid"}});
    IncrementalConverter converter;
    EXPECT_TRUE(converter.Update("G00\r\nX1\r\nG00", table, false).whole);
    const IncrementalConverter::Change change = converter.Update("G00\r\nX2\r\nG00", table, false);
    EXPECT_FALSE(change.whole);
    EXPECT_EQ(change.from, 7u);
    EXPECT_EQ(change.to, 11u);
    EXPECT_EQ(change.replacement, "X2\r\n");
    table.entries[0].comment = "fast";
    EXPECT_TRUE(converter.Update("G00\r\nX2\r\nG00", table, false).whole);
    EXPECT_EQ(converter.Converted(), "Fast\r\nX2\r\nFast\r\n");
}

}  // namespace
}  // namespace qm
