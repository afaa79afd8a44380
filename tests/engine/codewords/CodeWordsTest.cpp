// Which codes of a program count as code words, and which of them a dictionary lacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CodeWords.h"

namespace qm {
namespace {

// The words of text, once each, in order of first occurrence.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    for (const CodeWordTally& tally : TallyCodeWords(text))
        words.push_back(tally.word);
    return words;
}

using List = std::vector<std::string>;

TEST(CodeWords, LettersDigitsDecimalsAndVariablesOutsideComments) {
    const std::pair<const char*, List> cases[] = {
        {"G01 g1 M98 m3 G43.4", {"G01", "g1", "M98", "m3", "G43.4"}},
        {"N10G00X1.M3", {"G00", "M3"}},          // after digits and a full stop: words
        {"TMG1 AM5 gm2 G M X10.", {}},           // directly after a letter, or no digits
        {"G43. G43.X G1.2.3", {"G43", "G1.2"}},  // a full stop needs digits
        {"G01G02M03", {"G01", "G02", "M03"}},
        {"G7", {"G7"}},                                // at the very end of the text
        {"G01234567890123.5", {"G01234567890123.5"}},  // longer than most
        {"#5221=#1+#[2] ##3 X#4 #1.5", {"#5221", "#1", "#3", "#4"}},
        {"# #G1", {"G1"}},
        // Comments are not searched.
        {"G01 (G02 M03) G04", {"G01", "G04"}},
        {"G01 ; G02 (M03)\nG04", {"G01", "G04"}},
        {"(A;B) G05 (C) G06", {"G05", "G06"}},  // ";" inside brackets ends nothing
        {"G01 (G02 ; M03\nG04) G05", {"G01", "G02", "G04", "G05"}},  // ")" on the next line
        {"((((G01\nG02)", {"G01", "G02"}},  // unclosed "(" comments nothing
        {"(G01)(G02\nG03", {"G02", "G03"}},
        {";G01\n;\n(G02)", {}},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(Words(text), words) << text;
}

TEST(CodeWords, CountsAndFirstOccurrence) {
    const std::string text = "O1000\r\nG01 X1 G01\r\n(G02)\r\nM3 G01\nM3";
    const std::vector<CodeWordTally> tallies = TallyCodeWords(text);
    ASSERT_EQ(tallies.size(), 2u);
    EXPECT_EQ(tallies[0], (CodeWordTally{"G01", 3, 2, 7}));
    EXPECT_EQ(tallies[1], (CodeWordTally{"M3", 2, 4, text.find("M3")}));
    EXPECT_TRUE(TallyCodeWords("").empty());
    EXPECT_TRUE(TallyCodeWords("\n\n\n").empty());
}

TEST(CodeWords, ManyDistinctWordsAreEachCountedOnce) {
    std::string text;
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < 5000; ++n)
            text += "#" + std::to_string(n) + " G" + std::to_string(n) + ".5\n";
    }
    const std::vector<CodeWordTally> tallies = TallyCodeWords(text);
    ASSERT_EQ(tallies.size(), 10000u);
    for (const CodeWordTally& tally : tallies)
        ASSERT_EQ(tally.count, 2u) << tally.word;
    EXPECT_EQ(tallies[9999].word, "G4999.5");
    EXPECT_EQ(tallies[9999].firstLine, 5000u);
}

// A large text is read in parts at once: the same tallies as reading it a few lines at a time.
TEST(CodeWords, LargeTextsGiveTheTalliesOfTheirLines) {
    const char* pieces[] = {"G01 ", "g1", "M3", "#5", "(G7)",  "; G8", "N10G00",
                            "X1.",  "(",  ")",  "M",  "G43.4", " "};
    std::mt19937 rng(5);
    std::string text;
    while (text.size() < (std::size_t(9) << 19)) {
        for (int n = int(rng() % 8); n > 0; --n)
            text += pieces[rng() % std::size(pieces)];
        if (text.size() > (std::size_t(5) << 19))
            text += "#" + std::to_string(rng() % 50);  // new words late
        text += rng() % 2 ? "\n" : "\r\n";
    }
    std::vector<CodeWordTally> expected;
    std::map<std::string, std::size_t> index;
    std::size_t lineEnds = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start;
        for (int n = 0; n < 1000 && end < text.size(); ++n)
            end = text.find('\n', end) + 1;
        const std::string_view lines = std::string_view(text).substr(start, end - start);
        for (CodeWordTally& tally : TallyCodeWords(lines)) {
            const auto [at, added] = index.try_emplace(tally.word, expected.size());
            if (added) {
                expected.push_back({tally.word, tally.count, lineEnds + tally.firstLine,
                                    start + tally.firstOffset});
            } else {
                expected[at->second].count += tally.count;
            }
        }
        lineEnds += std::size_t(std::count(lines.begin(), lines.end(), '\n'));
        start = end;
    }
    EXPECT_EQ(TallyCodeWords(text), expected);
}

DictionaryTable Table(std::vector<std::string> words) {
    DictionaryTable table;
    for (std::string& word : words)
        EXPECT_TRUE(table.Append({0, std::move(word), "comment"}));
    return table;
}

TEST(MissingCodeWords, ExactWordsCaseAndOrder) {
    const DictionaryTable table = Table({"G01", "M3", "", "#1"});
    const std::string text = "G1 G01 g01 M3 M03\nM03 #1 #10 G1\nm3 #10 (G2) G1";
    std::vector<std::string> listed;
    for (const CodeWordTally& tally : MissingCodeWords(text, table)) {
        listed.push_back(tally.word + " " + std::to_string(tally.count) + " " +
                         std::to_string(tally.firstLine));
    }
    // G1 is missing although G01 is there; equal counts in byte order ("#" before "M").
    EXPECT_EQ(listed, (List{"G1 3 1", "#10 2 2", "M03 2 1", "g01 1 1", "m3 1 3"}));
}

}  // namespace
}  // namespace qm
