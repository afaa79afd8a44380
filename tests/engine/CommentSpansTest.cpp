// Marking the comments the dictionary inserted, line by line, against the whole-text engines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "CommentSpans.h"
#include "Convert.h"
#include "FastConvert.h"
#include "IncrementalConvert.h"
#include "TableOf.h"

namespace qm {
namespace {

using test::TableOf;

// The lines of text, each with its LF; with keepLast, the piece after the last LF too (empty
// when the text ends in one), as an editor shows it.
std::vector<std::string> Lines(std::string_view text, bool keepLast) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos;
         lf = text.find('\n', start)) {
        lines.emplace_back(text.substr(start, lf + 1 - start));
        start = lf + 1;
    }
    if (keepLast)
        lines.emplace_back(text.substr(start));
    return lines;
}

// Whether the bytes of converted that flags leave unmarked appear in source in the same order.
bool UnmarkedBytesComeFromSource(const MarkedLine& marked, std::string_view source) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < marked.text.size(); ++i) {
        if (marked.inserted[i])
            continue;
        next = source.find(marked.text[i], next);
        if (next == std::string_view::npos)
            return false;
        ++next;
    }
    return true;
}

std::string Pick(std::mt19937& rng, const std::vector<std::string>& pieces, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pieces[rng() % pieces.size()];
    return text;
}

// What random dictionaries are made of. NC-like comments are never empty and hold no piece of a
// word except, now and then, their own word (X -> "X AXIS"); contrived ones form words of the
// dictionary inside and around the comments, or delete their word.
struct Profile {
    std::vector<std::string> wordPieces, commentPieces;
    bool emptyComments;
};

DictionaryTable RandomTable(std::mt19937& rng, const Profile& profile) {
    DictionaryTable table;
    const int entries = 1 + int(rng() % 14);
    for (int i = 0; i < entries; ++i) {
        DictionaryEntry entry;
        entry.word = Pick(rng, profile.wordPieces, 1 + int(rng() % 3));
        entry.comment =
            Pick(rng, profile.commentPieces, int(rng() % 3) + (profile.emptyComments ? 0 : 1));
        if (rng() % 10 == 0)
            entry.comment += entry.word;
        table.Append(entry);
    }
    return table;
}

void CheckRandomCases(const Profile& profile, unsigned seed) {
    std::mt19937 rng(seed);
    static const std::vector<std::string> textPieces = {
        "G", "0", "1", "M", "3", "#", "5", "X", ".", " ", "(", ")", "主", "\r\n", "\n", "\r"};
    CommentSpanFinder finder;
    for (int round = 0; round < 400; ++round) {
        const DictionaryTable table = RandomTable(rng, profile);
        const bool spaceAdd = rng() % 2 == 0;
        const std::string source = Pick(rng, textPieces, int(rng() % 60));
        const std::string converted = ConvertReference(source, table, spaceAdd);
        IncrementalConverter incremental;
        incremental.Update(source, table, spaceAdd);
        ASSERT_EQ(incremental.Converted(), converted) << source;
        ASSERT_EQ(ConvertProgram(source, table, spaceAdd), converted) << source;
        finder.Use(table, spaceAdd);
        const std::vector<std::string> sourceLines = Lines(source, true);
        const std::vector<std::string> convertedLines = Lines(converted, false);
        ASSERT_EQ(sourceLines.size(), convertedLines.size()) << source;
        const std::vector<std::string> inserts = EntryInserts(table, spaceAdd);
        for (std::size_t i = 0; i < sourceLines.size(); ++i) {
            const MarkedLine marked = finder.Mark(sourceLines[i]);
            ASSERT_EQ(marked.text, convertedLines[i]) << "round " << round << " line " << i;
            std::string plain = sourceLines[i];  // flagged as the plain algorithm flags it
            if (plain.empty() || plain.back() != '\n')
                plain += "\r\n";
            std::vector<bool> flags(plain.size(), false);
            ConvertLineReference(plain, table, inserts, &flags);
            EXPECT_EQ(marked.inserted, flags) << "round " << round << " line " << i;
            ASSERT_TRUE(UnmarkedBytesComeFromSource(marked, sourceLines[i] + "\r\n"))
                << sourceLines[i];
            const auto spans = finder.Spans(sourceLines[i], convertedLines[i]);
            ASSERT_TRUE(spans.has_value());
            EXPECT_EQ(*spans, FlaggedSpans(marked.inserted));
        }
    }
}

TEST(CommentSpansTest, MarkedLinesAreTheEnginesLinesAndKeepTheSourceBytesInOrder) {
    CheckRandomCases(
        {{"G", "M", "0", "1", "3", "#", "5", "X"}, {"rapid", "spindle on", "主軸", "x"}, false},
        1707);
}

TEST(CommentSpansTest, MarkedLinesFollowTheEnginesWhenCommentsFormWordsOrAreEmpty) {
    CheckRandomCases({{"G", "M", "0", "1", "3", "#", "5", "X", " "},
                      {"rapid ", "SPINDLE", " on", "主軸", "x", "G", "1", ""},
                      true},
                     1708);
}

TEST(CommentSpansTest, SpansCoverExactlyTheInsertedComments) {
    CommentSpanFinder finder;
    const DictionaryTable table =
        TableOf({{0, "G00", "RAPID TRAVERSE"}, {0, "X", "X AXIS"}, {0, "M3", "SPINDLE ON"}});
    finder.Use(table, false);
    EXPECT_EQ(finder.Spans("G00 Y5.\r\n", "Rapid Traverse Y5.\r\n"),
              (std::vector<ByteSpan>{{0, 14}}));
    // A comment holding its own word is marked whole, and nothing after it.
    EXPECT_EQ(finder.Spans("X1.M3", "X Axis1.Spindle On\r\n"),
              (std::vector<ByteSpan>{{0, 6}, {8, 18}}));
    finder.Use(table, true);
    EXPECT_EQ(finder.Spans("G00 Y5.\r\n", " Rapid Traverse Y5.\r\n"),
              (std::vector<ByteSpan>{{0, 15}}));
    // Out of date or edited by hand: nothing is marked.
    EXPECT_FALSE(finder.Spans("G00 Y5.\r\n", "Rapid Traverse Y5.\r\n").has_value());
    EXPECT_FALSE(finder.Spans("G00 Y6.\r\n", " Rapid Traverse Y5.\r\n").has_value());
}

// The window marks the lines it shows also after the conversion was stopped for growing without
// end: the marking gives up instead of doubling the line forty times.
TEST(CommentSpansTest, ALineThatGrowsWithoutEndIsNotMarked) {
    DictionaryTable doubling;
    for (int i = 0; i < 40; ++i) {
        const std::string next = "Q" + std::to_string(i + 1);
        doubling.Append({0, "Q" + std::to_string(i), next + " " + next});
    }
    CommentSpanFinder finder;
    finder.Use(doubling, false);
    EXPECT_FALSE(finder.Spans("Q0\r\n", "Q0\r\n").has_value());
}

TEST(CommentSpansTest, FinderFollowsChangesOfTheDictionaryInPlace) {
    CommentSpanFinder finder;
    DictionaryTable table = TableOf({{0, "M30", "END"}});
    finder.Use(table, false);
    EXPECT_EQ(finder.Mark("M30").text, "End\r\n");
    table.entries[0].comment = "PROGRAM END";
    finder.Use(table, false);
    EXPECT_EQ(finder.Mark("M30").text, "Program End\r\n");
}

TEST(CommentSpansTest, EntryCoveringTakesTheFirstEntryInTableOrder) {
    const DictionaryTable table =
        TableOf({{0, "G100", "A"}, {0, "G10", "B"}, {0, "#500", "C"}, {0, "G1", "D"}});
    EXPECT_EQ(EntryCovering(table, "N5 G100 X1.", 3), 0);
    EXPECT_EQ(EntryCovering(table, "N5 G100 X1.", 6), 0);
    EXPECT_EQ(EntryCovering(table, "N5 G10 X1.", 5), 1);
    EXPECT_EQ(EntryCovering(table, "G1X#500", 0), 3);
    EXPECT_EQ(EntryCovering(table, "G1X#500", 6), 2);
    EXPECT_FALSE(EntryCovering(table, "G1X#500", 2).has_value());
    EXPECT_FALSE(EntryCovering(table, "G1", 5).has_value());
}

}  // namespace
}  // namespace qm
