#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "TableOf.h"

#include "Convert.h"
#include "ProperCase.h"

namespace qm {
namespace {

using test::TableOf;

TEST(ProperCase, CapitalisesAfterSeparatorsOnlyAndMapsOneToOne) {
    EXPECT_EQ(ProperCase("SPINDLE CW"), "Spindle Cw");
    EXPECT_EQ(ProperCase("(RAPID)"), "(rapid)");
    EXPECT_EQ(ProperCase("tool-change\tON\x0B" "a\fb\rc\nd"), "Tool-change\tOn\x0B" "A\fB\rC\nD");
    EXPECT_EQ(ProperCase(std::string("x\0y", 3)), std::string("X\0Y", 3));
    EXPECT_EQ(ProperCase("\xE4\xB8\xBB\xE8\xBB\xB8 ON"), "\xE4\xB8\xBB\xE8\xBB\xB8 On");  // 主軸
    EXPECT_EQ(ProperCase("\xC3\xA4USSERE \xC3\x9F\xCE\xA3\xCE\xA3"),                     // äUSSERE ßΣΣ
              "\xC3\x84ussere \xC3\x9F\xCF\x83\xCF\x83");                                // Äussere ßσσ
    EXPECT_EQ(ProperCase("\xED\xB2\x81x"), "\xED\xB2\x81x");  // a raw byte has no case
    EXPECT_EQ(ProperCase("x\xF8\x80\x80\x80Y"), "X\xF8\x80\x80\x80y");  // stray bytes are no separator
}

// Characters whose case partner is another character keep their own form wherever they stand.
TEST(ProperCase, KeepsSignsAndLettersWhoseCaseWouldChangeTheirMeaning) {
    const std::pair<const char*, const char*> cases[] = {
        {"\xC2\xB5M \xC2\xB5m", "\xC2\xB5m \xC2\xB5m"},              // µm: MICRO SIGN, not Greek Mu
        {"\xC3\x9F \xC3\x9F" "E", "\xC3\x9F \xC3\x9F" "e"},          // ß stays ß
        {"\xE2\x84\xA6 \xE2\x84\xAA", "\xE2\x84\xA6 \xE2\x84\xAA"},  // OHM and KELVIN SIGN
        {"\xC4\xB1SI", "\xC4\xB1si"},                                  // dotless i is not I
        {"\xE1\x83\x90\xE1\x83\x91", "\xE1\x83\x90\xE1\x83\x91"},  // Georgian
        {"\xCE\xBC\xCE\x9C", "\xCE\x9C\xCE\xBC"},                    // Greek mu itself still changes
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ProperCase(text), expected) << text;
}

TEST(ConvertReference, ReplacesWordsByProperCasedCommentsWithOptionalBlank) {
    const DictionaryTable table = TableOf({{0, "G00", "RAPID TRAVERSE"}});
    EXPECT_EQ(ConvertReference("G00X10.\r\n", table, false), "Rapid TraverseX10.\r\n\r\n");
    EXPECT_EQ(ConvertReference("G00X10.", table, true), " Rapid TraverseX10.\r\n");
    EXPECT_EQ(ConvertReference("G00G00 g00", table, false), "Rapid TraverseRapid Traverse g00\r\n");
}

TEST(ConvertReference, KeepsLineEndsAndAppendsCrLf) {
    const DictionaryTable table = TableOf({{0, "M3", "on"}});
    EXPECT_EQ(ConvertReference("", table, false), "\r\n");
    EXPECT_EQ(ConvertReference("M3\nM3\r\nM3", table, false), "On\nOn\r\nOn\r\n");
    EXPECT_EQ(ConvertReference("a\rM3", table, false), "a\rOn\r\n");
    EXPECT_EQ(ConvertReference("M3\r\n", DictionaryTable(), false), "M3\r\n\r\n");
}

TEST(ConvertReference, AppliesEntriesInTableOrderToTheLineAsChanged) {
    // G100 goes first; G1 then matches only inside what G100 left, comments included.
    const DictionaryTable table = TableOf({{0, "G100", "cycle G1"}, {0, "G1", "feed"}});
    EXPECT_EQ(ConvertReference("G100 G1", table, false), "Cycle Feed Feed\r\n");
    // An entry never reaches into the next line.
    EXPECT_EQ(ConvertReference("G\nM3", TableOf({{0, "GM", "x"}}), false), "G\nM3\r\n");
}

TEST(ConvertReference, SearchesAgainFromTheLineStartAfterEachReplacement) {
    // Occurrences formed across an inserted comment are replaced too.
    EXPECT_EQ(ConvertReference("AAB", TableOf({{0, "AB", "b"}}), false), "B\r\n");
    EXPECT_EQ(ConvertReference("G00", TableOf({{0, "G0", "x g"}}), false), "X X G\r\n");
    EXPECT_EQ(ConvertReference("GGG", TableOf({{0, "GG", "G"}}), false), "G\r\n");
    EXPECT_EQ(ConvertReference("AABB", TableOf({{0, "AB", ""}}), false), "\r\n");
    // Overlapping occurrences: the second starts inside the first, which is gone.
    EXPECT_EQ(ConvertReference("AAA", TableOf({{0, "AA", "x"}}), false), "XA\r\n");
}

TEST(ConvertReference, NeverEndingEntriesGoOnBehindTheirComment) {
    // The comment holds its word.
    EXPECT_EQ(ConvertReference("X10 X20", TableOf({{0, "X", "X AXIS"}}), false), "X Axis10 X Axis20\r\n");
    EXPECT_EQ(ConvertReference("G0 G0", TableOf({{0, "G0", "g0"}}), false), "G0 G0\r\n");
    // The insertions join into the word again: found by counting, applied to the line as it was.
    EXPECT_EQ(ConvertReference("0010", TableOf({{0, "010", "1001"}}), false), "01001\r\n");
    // Empty words are skipped.
    EXPECT_EQ(ConvertReference("AB", TableOf({{0, "", "x"}, {0, "A", "b"}}), false), "BB\r\n");
}

// Step by step as the rule is written: search from the line's start after every replacement.
// Gives up (nullopt) when one entry needs more replacements than the line had bytes when the
// entry began: there the engine treats the entry as never ending.
std::optional<std::string> LiteralLine(std::string line, const DictionaryTable& table, bool space) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty()) continue;
        const std::string insert = (space ? " " : "") + ProperCase(table.entries[i].comment);
        const std::size_t bound = line.size();
        std::size_t steps = 0;
        for (std::size_t p = line.find(word); p != std::string::npos; p = line.find(word)) {
            if (++steps > bound) return std::nullopt;
            line.replace(p, word.size(), insert);
        }
    }
    return line;
}

TEST(ConvertReference, AgreesWithTheLiteralRuleAndMarksWhatItInserted) {
    std::mt19937 random(20261206);
    auto text = [&](int maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& c : s) c = "abAB"[random() % 4];
        return s;
    };
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        DictionaryTable table;
        for (int e = random() % 4; e >= 0; --e) table.Append({0, text(3), text(4)});
        const std::string line = text(10) + "\n";
        const bool space = random() % 4 == 0;
        std::vector<bool> inserted(line.size(), false);
        std::string converted = line;
        ConvertLineReference(converted, table, EntryInserts(table, space), &inserted);
        // The bytes not marked as inserted are the source's own, in order.
        ASSERT_EQ(inserted.size(), converted.size());
        std::size_t at = 0;
        for (std::size_t i = 0; i < converted.size(); ++i) {
            if (inserted[i]) continue;
            at = line.find(converted[i], at);
            ASSERT_NE(at, std::string::npos) << line;
            ++at;
        }
        if (const auto literal = LiteralLine(line, table, space)) {
            ++compared;
            ASSERT_EQ(converted, *literal) << "line " << line;
        }
    }
    EXPECT_GT(compared, 3300);
}

TEST(ConvertReference, HandlesJapaneseWordsAndComments) {
    const DictionaryTable table = TableOf({{0, "M03", "\xE4\xB8\xBB\xE8\xBB\xB8\xE6\xAD\xA3\xE8\xBB\xA2"},
                                           {0, "\xE4\xB8\xBB", "MAIN"}});
    // M03 becomes " 主軸正転", whose 主 is then replaced by " Main".
    EXPECT_EQ(ConvertReference("S500M03", table, true), "S500  Main\xE8\xBB\xB8\xE6\xAD\xA3\xE8\xBB\xA2\r\n");
}

TEST(ConvertReference, GivesUpWhenItsWorkRunsOut) {
    const DictionaryTable table = TableOf({{0, "G00", "rapid"}, {0, "M3", "spindle on"}});
    EXPECT_EQ(ConvertReferenceWithin("G00 M3\r\nX1.", table, false, 1 << 20),
              ConvertReference("G00 M3\r\nX1.", table, false));
    // Its inserts are made as lines need them: one that only a comment brings, one used twice.
    const DictionaryTable chained = TableOf({{0, "G00", "rapid m3"}, {0, "m3", "spindle on"}, {0, "X", "x axis"}});
    for (const bool spaceAdd : {false, true}) {
        EXPECT_EQ(ConvertReferenceWithin("G00\r\nm3 G00 X", chained, spaceAdd, 1 << 20),
                  ConvertReference("G00\r\nm3 G00 X", chained, spaceAdd));
    }
    // Each entry doubles the line: far more work than allowed, long before memory runs out.
    DictionaryTable doubling;
    for (int i = 0; i < 40; ++i) {
        const std::string next = "[" + std::to_string(i + 1) + "]";
        doubling.Append({0, "[" + std::to_string(i) + "]", next + " " + next});
    }
    EXPECT_EQ(ConvertReferenceWithin("[0]", doubling, false, 1 << 20), std::nullopt);
    // The limit holds for that call only.
    EXPECT_EQ(ConvertReference("G00", table, false), "Rapid\r\n");
}

}  // namespace
}  // namespace qm
