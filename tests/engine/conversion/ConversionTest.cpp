// Every way of converting against the reference conversion, the reference against the rule as
// written, and the marks of the inserted comments against the reference's: seeded random cases
// built to hit the awkward situations, then hand-made cases of each with the results they give.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CommentSpans.h"
#include "ConversionStream.h"
#include "Convert.h"
#include "EngineFixture.h"
#include "FastConvert.h"
#include "IncrementalConvert.h"
#include "ProperCase.h"

namespace qm {
namespace {

using test::Escaped;
using test::TableOf;

// What random cases are made of: words, texts and comments are strings of these pieces.
struct Profile {
    const char* name;
    std::vector<std::string> wordPieces, textPieces, commentPieces;
    int maxWordPieces, maxEntries, maxTextPieces, cases;
};

// clang-format off
const std::vector<Profile>& Profiles() {
    static const std::vector<Profile> profiles = {
        {"AB", {"A", "B"}, {"A", "B", "A", "B", "\n", "\r\n", "\r"}, {"A", "B", "a", "b", " "}, 4, 8, 40, 2500},
        {"G0 1", {"G", "0", " ", "1"}, {"G", "0", " ", "1", "G0", "\n", "\r\n"}, {"G", "0", "1", " ", "g"}, 3, 10, 40, 2000},
        {"line ends", {"A", "\r", "\n"}, {"A", "A", "\r", "\n"}, {"A", "\n", "\r", " ", "a"}, 3, 6, 30, 1200},
        {"japanese", {"主", "軸", "G", "0"}, {"主", "軸", "正", "転", "G", "0", "\n", "\r\n"}, {"主", "軸", "転", "G", "0", " "}, 3, 8, 30, 1200},
        {"nc", {"G", "0", "1", "M", "#", "5"}, {"G", "0", "1", "M", "3", "#", "5", "X", ".", " ", "\r\n"}, {"G", "0", "1", "M", "rapid ", "#"}, 4, 16, 60, 1200},
        {"nc comments", {"G", "M", "0", "1", "3", "#", "5", "X"}, {"G", "0", "1", "M", "3", "#", "5", "X", ".", " ", "(", ")", "主", "\r\n", "\n", "\r"}, {"rapid", "spindle on", "主軸", "x"}, 3, 14, 60, 800},
        {"01", {"0", "1"}, {"0", "1", "0", "1", "\n"}, {"0", "1", "10", "01"}, 3, 4, 30, 1500},
        {"long line", {"A", "B"}, {"A", "B", "AB", "A", "B", "\n"}, {"A", "B", "b", ""}, 4, 6, 2000, 60},
    };
    return profiles;
}
// clang-format on

struct Case {
    DictionaryTable table;
    std::string source;
    bool spaceAdd = false;
};

std::string Pieces(std::mt19937& rng, const std::vector<std::string>& pieces, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pieces[rng() % pieces.size()];
    return text;
}

int Upto(std::mt19937& rng, int most) {
    return int(rng() % unsigned(most + 1));
}

DictionaryEntry RandomEntry(std::mt19937& rng, const Profile& p, const DictionaryTable& table) {
    DictionaryEntry entry;
    const unsigned kind = rng() % 10;
    if (kind == 0 && table.LastIndex >= 0) {  // a word listed again, usually with another comment
        entry.word = table.entries[rng() % unsigned(table.LastIndex + 1)].word;
    } else if (kind != 1) {  // kind 1: an empty (deleted) word
        entry.word = Pieces(rng, p.wordPieces, 1 + Upto(rng, p.maxWordPieces - 1));
    }
    entry.comment = Pieces(rng, p.commentPieces, Upto(rng, 3));
    if (rng() % 8 == 0)
        entry.comment += entry.word;  // a comment holding its own word
    return entry;
}

// Fills c afresh. The table is reused because building one (10,001 slots) costs milliseconds
// under the sanitizers.
void RandomCase(std::mt19937& rng, const Profile& p, Case& c) {
    for (int i = 0; i <= c.table.LastIndex + 1; ++i)
        c.table.entries[std::size_t(i)] = {};
    c.table.LastIndex = -1;
    const int entries = Upto(rng, p.maxEntries);
    for (int i = 0; i < entries; ++i)
        c.table.Append(RandomEntry(rng, p, c.table));
    // Slots above LastIndex must be ignored.
    c.table.entries[std::size_t(c.table.LastIndex + 1)] = {0, p.wordPieces[0], "ignored"};
    c.source = Pieces(rng, p.textPieces, Upto(rng, p.maxTextPieces));
    c.spaceAdd = rng() % 2 == 0;
}

std::string Describe(const Case& c) {
    return "SpaceAdd " + std::to_string(c.spaceAdd) + ", source " + Escaped(c.source) + "\n" +
           test::Describe(c.table);
}

// Which ways of converting a case is checked in. Each costs time under the sanitizers, so
// random cases take turns.
struct Ways {
    std::size_t chunkBytes =
        1;                 // the text is also converted cut into chunks, and parts, of this size
    unsigned threads = 2;  // on this many threads
    bool compact = true;   // with every automaton state but the root on compact transitions
    bool program = true;   // through ConvertProgram
    bool marks = true;     // by the window's converter, and each line marked
};

// The results of converting source part by part, cut after the first LF at or past every
// `every` bytes, joined.
std::string InParts(const CompiledDictionary& dictionary, std::string_view source, bool spaceAdd,
                    std::size_t every) {
    ConversionStream stream(dictionary, spaceAdd, source.size());
    std::string joined;
    for (std::size_t lineFeed;
         (lineFeed = source.find('\n', every - 1)) != std::string_view::npos;) {
        joined += stream.Convert(source.substr(0, lineFeed + 1), false);
        source.remove_prefix(lineFeed + 1);
    }
    return joined + stream.Convert(source, true);
}

// The lines of text, each with its LF; with keepLast, the piece after the last LF too (empty
// when the text ends in one), as an editor shows it.
std::vector<std::string> Lines(std::string_view text, bool keepLast) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf; (lf = text.find('\n', start)) != std::string_view::npos; start = lf + 1)
        lines.emplace_back(text.substr(start, lf + 1 - start));
    if (keepLast)
        lines.emplace_back(text.substr(start));
    return lines;
}

// Step by step as the rule is written: search from the line's start after every replacement.
// Gives up (nullopt) when one entry needs more replacements than the line had bytes when the
// entry began: there the engine treats the entry as never ending.
std::optional<std::string> LiteralLine(std::string line, const DictionaryTable& table, bool space) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty())
            continue;
        const std::string insert = (space ? " " : "") + ProperCase(table.entries[i].comment);
        const std::size_t bound = line.size();
        std::size_t steps = 0;
        for (std::size_t p = line.find(word); p != std::string::npos; p = line.find(word)) {
            if (++steps > bound)
                return std::nullopt;
            line.replace(p, word.size(), insert);
        }
    }
    return line;
}

// Whether the bytes of converted that flags leave unmarked appear in source in the same order.
bool UnmarkedBytesComeFromSource(const std::vector<bool>& flags, std::string_view converted,
                                 std::string_view source) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < converted.size(); ++i) {
        if (flags[i])
            continue;
        if ((next = source.find(converted[i], next)) == std::string_view::npos)
            return false;
        ++next;
    }
    return true;
}

struct Checker {
    CommentSpanFinder finder;
    int literalLines = 0;  // lines the literal rule was compared on

    // Empty when each line of c, converted and marked alone, is the line of the whole result
    // with the reference's marks and follows the literal rule, else what differed.
    std::string MarksDifference(const Case& c, const std::string& converted) {
        for (int i = 0; i <= c.table.LastIndex; ++i) {  // lines would not be lines
            const DictionaryEntry& e = c.table.entries[std::size_t(i)];
            if ((e.word + e.comment).find('\n') != std::string::npos)
                return {};
        }
        finder.Use(c.table, c.spaceAdd);
        const std::vector<std::string> inserts = EntryInserts(c.table, c.spaceAdd);
        const std::vector<std::string> sources = Lines(c.source, true),
                                       results = Lines(converted, false);
        if (sources.size() != results.size())
            return "the lines are not the source's lines";
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const std::string at = "line " + std::to_string(i) + ": ";
            const std::string source =
                sources[i].ends_with('\n') ? sources[i] : sources[i] + "\r\n";
            std::string line = source;
            std::vector<bool> flags(line.size(), false);
            ConvertLineReference(line, c.table, inserts, &flags);
            const MarkedLine marked = finder.Mark(sources[i]);
            if (line != results[i] || marked.text != line)
                return at + "alone " + Escaped(line) + ", marked " + Escaped(marked.text);
            if (marked.inserted != flags || flags.size() != line.size())
                return at + "marks differ";
            if (!UnmarkedBytesComeFromSource(flags, line, source))
                return at + "unmarked bytes not the source's";
            if (finder.Spans(sources[i], results[i]) != FlaggedSpans(flags))
                return at + "spans differ";
            if (source.size() > 40)
                continue;
            if (const auto literal = LiteralLine(source, c.table, c.spaceAdd)) {
                ++literalLines;
                if (*literal != line)
                    return at + "the literal rule gives " + Escaped(*literal);
            }
        }
        return {};
    }

    // Empty when every way of converting agrees with the reference, else what differed.
    std::string Difference(const Case& c, const Ways& ways) {
        const std::string expected = ConvertReference(c.source, c.table, c.spaceAdd);
        const CompiledDictionary dictionary(c.table);
        std::vector<std::pair<const char*, std::string>> results = {
            {"one thread", dictionary.Convert(c.source, c.spaceAdd, 1)},
            {"in chunks", dictionary.Convert(c.source, c.spaceAdd,
                                             ParallelOptions{ways.threads, ways.chunkBytes})},
            {"part by part", InParts(dictionary, c.source, c.spaceAdd, ways.chunkBytes)},
        };
        if (ways.compact)
            results.emplace_back("compact automaton",
                                 CompiledDictionary(c.table, 0).Convert(c.source, c.spaceAdd, 1));
        if (ways.program)
            results.emplace_back("ConvertProgram", ConvertProgram(c.source, c.table, c.spaceAdd));
        if (ways.marks) {
            IncrementalConverter window;
            window.Update(c.source, c.table, c.spaceAdd);
            results.emplace_back("the window's", window.Converted());
        }
        for (const auto& [how, got] : results) {
            if (got != expected)
                return std::string(how) + ": expected " + Escaped(expected) + ", got " +
                       Escaped(got);
        }
        return ways.marks ? MarksDifference(c, expected) : std::string();
    }
};

TEST(Conversion, EveryWayAgreesWithTheReferenceWhichFollowsTheRule) {
    Case c;
    Checker checker;
    for (const Profile& p : Profiles()) {
        for (int i = 0; i < p.cases; ++i) {
            const unsigned seed = 20240 + unsigned(i);
            std::mt19937 rng(seed);
            RandomCase(rng, p, c);
            const Ways ways{1 + rng() % 12, i % 64 == 0 ? 3u : 1u, i % 2 == 0, i % 8 == 1,
                            i % 4 == 0};
            ASSERT_EQ(checker.Difference(c, ways), "")
                << "profile " << p.name << ", seed " << seed << "\n"
                << Describe(c);
        }
    }
    EXPECT_GT(checker.literalLines, 5000) << "the literal rule was hardly compared";
}

// Hand-made cases of the awkward situations: each converts as every other way does, both with
// and without the blank, and where given gives the result shown.
struct Row {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string source;
    const char* expected = nullptr;           // without the blank
    const char* expectedWithBlank = nullptr;  // with it
};

Case Make(const std::vector<std::pair<std::string, std::string>>& entries, std::string source) {
    Case c;
    for (const auto& [word, comment] : entries)
        c.table.Append({0, word, comment});
    c.source = std::move(source);
    return c;
}

void ExpectAgreement(Case c) {
    Checker checker;
    for (const bool spaceAdd : {false, true}) {
        c.spaceAdd = spaceAdd;
        EXPECT_EQ(checker.Difference(c, Ways{}), "") << Describe(c);
    }
}

TEST(Conversion, HandMadeCasesOfEachAwkwardSituation) {
    const Row rows[] = {
        // Proper-cased comments, optional blank, CR LF appended, line ends kept.
        {{{"G00", "RAPID TRAVERSE"}},
         "G00X10.\r\n",
         "Rapid TraverseX10.\r\n\r\n",
         " Rapid TraverseX10.\r\n\r\n"},
        {{{"G00", "RAPID TRAVERSE"}}, "G00G00 g00", "Rapid TraverseRapid Traverse g00\r\n"},
        {{{"M3", "on"}}, "", "\r\n"},
        {{{"M3", "on"}}, "M3\nM3\r\nM3", "On\nOn\r\nOn\r\n"},
        {{{"M3", "on"}}, "a\rM3", "a\rOn\r\n", "a\r On\r\n"},
        {{}, "M3\r\n", "M3\r\n\r\n"},
        {{{"\r\n", "end\n"}, {"\n", "lf"}, {"D\r", "cr"}}, "A\r\nB\nC\rD"},
        // Entries in table order, each on the line as the earlier ones left it, comments
        // included, never reaching into the next line.
        {{{"G100", "cycle G1"}, {"G1", "feed"}}, "G100 G1", "Cycle Feed Feed\r\n"},
        {{{"GM", "x"}}, "G\nM3", "G\nM3\r\n"},
        {{{"G0", "rapid"}, {"G0", "second"}, {"G0", "g0 G0"}}, "G0 G00\n"},
        {{{"G0", "G0G0"}, {"G0", "again"}}, "G0\n"},
        {{{"M30", "end M3"}, {"M3", "spindle"}, {"End", "stop"}}, "M30 M3\r\n"},
        {{{"X", "g"}, {"G0", "rapid"}, {"0R", "joined"}}, "X0X0\nX\n0"},
        {{{"B", ""}, {"AC", "ac"}, {"AA", "twice"}}, "ABC ABBC AB BA\n"},
        {{{"", "x"}, {"A", "b"}}, "AB", "BB\r\n"},
        {{{"", "never"}, {"G1", "linear"}, {"", "never"}}, "G1 G2\n", "Linear G2\n\r\n"},
        // Searched again from the line's start after each replacement; an overlapping
        // occurrence starts inside the one replaced, which is gone.
        {{{"AB", "b"}}, "AAB", "B\r\n"},
        {{{"G0", "x g"}}, "G00", "X X G\r\n"},
        {{{"GG", "G"}}, "GGG", "G\r\n"},
        {{{"AB", ""}}, "AABB", "\r\n"},
        {{{"AA", "x"}}, "AAA", "XA\r\n"},
        {{{"AA", "x"}}, "AAA AAAA\nAAAAA"},
        {{{"bA", "abbb"}}, "bbbAAaaab"},  // the line grows with each replacement, yet ends
        // Never ending: the comment holds its word, or its insertions join into the word again.
        {{{"X", "X AXIS"}}, "X10 X20", "X Axis10 X Axis20\r\n"},
        {{{"G0", "g0"}}, "G0 G0", "G0 G0\r\n"},
        {{{"010", "1001"}}, "0010", "01001\r\n"},
        // M03 becomes " 主軸正転", whose 主 is then replaced by " Main".
        {{{"M03", "主軸正転"}, {"主", "MAIN"}},
         "S500M03",
         "S500Main軸正転\r\n",
         "S500  Main軸正転\r\n"},
        {{{"主軸", "主軸正転 M3"}, {"M3", "スピンドル"}, {"軸", "じく"}}, "主軸 M3 主軸主\n軸\n"},
        // Every replacement forms the next occurrence across its comment, thousands of times.
        {{{"AB", "b"}}, std::string(3000, 'A') + "B\n" + std::string(2000, 'A') + "BAB"},
        {{{"AB", "bab"}}, std::string(500, 'A') + "B" + std::string(500, 'B')},
        {{{"010", "1001"}, {"01", "10"}}, std::string(300, '0') + "10" + std::string(300, '1')},
    };
    for (const Row& row : rows) {
        const Case c = Make(row.entries, row.source);
        SCOPED_TRACE(Describe(c));
        if (row.expected) {
            EXPECT_EQ(ConvertReference(c.source, c.table, false), row.expected);
        }
        if (row.expectedWithBlank) {
            EXPECT_EQ(ConvertReference(c.source, c.table, true), row.expectedWithBlank);
        }
        ExpectAgreement(c);
    }
}

TEST(Conversion, NestedWordsInLongRunsOfOneCharacter) {
    // So many occurrences nest here that the line is finished by plain search.
    std::vector<std::pair<std::string, std::string>> entries;
    for (int n = 40; n >= 1; --n)
        entries.emplace_back(std::string(std::size_t(n), 'A'), n % 3 ? "a" : "");
    ExpectAgreement(Make(entries, std::string(400, 'A') + "\n" + std::string(7, 'A')));
    // Plain search until an entry breaks the runs up, tracking again afterwards.
    entries.clear();
    for (int n = 30; n >= 2; --n)
        entries.emplace_back(std::string(std::size_t(n), 'G'), n % 2 ? "bg" : "B");
    entries.insert(entries.end(), {{"BB", "gg"}, {"BG", "b"}, {"GB", ""}});
    ExpectAgreement(Make(entries, std::string(3000, 'G') + "\n" + std::string(90, 'G') + "B"));
}

TEST(Conversion, LargePartsSpreadOverThreadsJoinAsTheWholeText) {
    const Case c =
        Make({{"G0", "rapid"}, {"X", "x axis X"}, {"10", "ten"}, {"\r\n", " end\r\n"}}, "");
    std::string source;
    for (int i = 0; i < 40000; ++i)
        source += "N" + std::to_string(i) + " G0 X10.5\r\n";
    source += "G0 X";  // the last line has no LF
    const CompiledDictionary dictionary(c.table);
    const std::string whole = dictionary.Convert(source, false, 1);
    for (const std::size_t every : {std::size_t(300000), std::size_t(150000)}) {
        EXPECT_TRUE(InParts(dictionary, source, false, every) == whole)
            << "parts of " << every << " bytes";
    }
}

TEST(Conversion, FullSizeDictionary) {
    Case c;
    for (int i = 0;
         c.table.Append({0, "G" + std::to_string(i * 7 % 10001), "code " + std::to_string(i)});
         ++i) {
    }
    c.source = "G1 G70 G7 G700 G1000\nG10001G9999\n";
    ExpectAgreement(c);
}

TEST(Conversion, TheReferenceGivesUpWhenItsWorkRunsOut) {
    const DictionaryTable table = TableOf({{0, "G00", "rapid"}, {0, "M3", "spindle on"}});
    EXPECT_EQ(ConvertReferenceWithin("G00 M3\r\nX1.", table, false, 1 << 20),
              ConvertReference("G00 M3\r\nX1.", table, false));
    // Its inserts are made as lines need them: one that only a comment brings, one used twice.
    const DictionaryTable chained =
        TableOf({{0, "G00", "rapid m3"}, {0, "m3", "spindle on"}, {0, "X", "x axis"}});
    for (const bool spaceAdd : {false, true}) {
        EXPECT_EQ(ConvertReferenceWithin("G00\r\nm3 G00 X", chained, spaceAdd, 1 << 20),
                  ConvertReference("G00\r\nm3 G00 X", chained, spaceAdd));
    }
    // Far more work than allowed, long before memory runs out.
    EXPECT_EQ(ConvertReferenceWithin("Q00", test::DoublingTable(40), false, 1 << 20), std::nullopt);
    // The limit holds for that call only.
    EXPECT_EQ(ConvertReference("G00", table, false), "Rapid\r\n");
}

std::string RandomText(std::mt19937& random, std::size_t length) {
    static const std::string alphabet = "G01 M3X\r\n\n";
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += alphabet[random() % alphabet.size()];
    return text;
}

// Applies a change to the previous result, as the converted window does.
std::string Applied(std::string previous, const IncrementalConverter::Change& change) {
    if (change.whole)
        return std::string(change.replacement);
    return previous.replace(change.from, change.to - change.from, change.replacement);
}

// Edits a random text at random, as a user would, and checks every update against a whole
// conversion with the reference.
TEST(IncrementalConverter, EveryResultEqualsAWholeConversionOverRandomEdits) {
    const std::pair<DictionaryTable, unsigned> tables[] = {
        // Words form across inserted comments (G0 -> "g0 g": searched again from the start), a
        // comment holds its word (M3), line ends are words.
        {TableOf({{0, "G01", "feed g0"},
                  {0, "G0", "g0 g"},
                  {0, "M3", "m3 on"},
                  {0, "\r", "cr"},
                  {0, "X\r", "x"},
                  {0, "3X", "M"},
                  {0, "GG", "g"}}),
         40},
        // Words and comments that hold line feeds.
        {TableOf({{0, "3\n", "three"}, {0, "M", "m\nnext"}, {0, "\n", "\n\n"}}), 8},
        {TableOf({{0, "X\r\n", ""}, {0, "G0", "rapid"}}), 8},
    };
    for (const auto& [table, seeds] : tables) {
        for (unsigned seed = 1; seed <= seeds; ++seed) {
            std::mt19937 random(seed);
            IncrementalConverter converter;
            std::string source = RandomText(random, 200), window;
            std::vector<std::string> history;
            for (int step = 0; step < 60; ++step) {
                const std::size_t at = source.empty() ? 0 : random() % (source.size() + 1);
                switch (random() % 4) {
                    case 0:  // type or paste some lines
                        source.insert(at,
                                      RandomText(random, 1 + random() % (step % 7 == 0 ? 40 : 3)));
                        break;
                    case 1:  // delete
                        source.erase(at, random() % 8);
                        break;
                    case 2:  // undo: back to an earlier text
                        if (!history.empty())
                            source = history[random() % history.size()];
                        break;
                    default:  // replace a character
                        if (at < source.size())
                            source[at] = "G0M\n"[random() % 4];
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

// The random cases check the marks of every line; a converted text that is out of date, edited
// by hand or never finished (a line growing without end) is left unmarked.
TEST(CommentSpans, NothingIsMarkedInATextTheConversionDidNotGive) {
    CommentSpanFinder finder;
    const DictionaryTable table = TableOf({{0, "G00", "RAPID TRAVERSE"}});
    finder.Use(table, true);
    EXPECT_EQ(finder.Spans("G00 Y5.\r\n", " Rapid Traverse Y5.\r\n"),
              (std::vector<ByteSpan>{{0, 15}}));
    EXPECT_FALSE(finder.Spans("G00 Y5.\r\n", "Rapid Traverse Y5.\r\n").has_value());
    EXPECT_FALSE(finder.Spans("G00 Y6.\r\n", " Rapid Traverse Y5.\r\n").has_value());
    const DictionaryTable doubling = test::DoublingTable(40);  // the finder reads it in place
    finder.Use(doubling, false);
    EXPECT_FALSE(finder.Spans("Q00\r\n", "Q00\r\n").has_value());
}

TEST(CommentSpans, EntryCoveringTakesTheFirstEntryInTableOrder) {
    const DictionaryTable table =
        TableOf({{0, "G100", "A"}, {0, "G10", "B"}, {0, "#500", "C"}, {0, "G1", "D"}});
    const struct {
        const char* line;
        std::size_t at;
        std::optional<int> entry;
    } cases[] = {{"N5 G100 X1.", 3, 0}, {"N5 G100 X1.", 6, 0}, {"N5 G10 X1.", 5, 1},
                 {"G1X#500", 0, 3},     {"G1X#500", 6, 2},     {"G1X#500", 2, {}},
                 {"G1", 5, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(EntryCovering(table, c.line, c.at), c.entry) << c.line << " " << c.at;
}

}  // namespace
}  // namespace qm
