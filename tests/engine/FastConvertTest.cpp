// The fast engine against ConvertReference: seeded random cases built to hit the awkward
// situations, and hand-made cases of each of them.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TableOf.h"

#include "ConversionStream.h"
#include "Convert.h"
#include "FastConvert.h"

namespace qm {
namespace {

using test::TableOf;

// What random cases are made of: words, texts and comments are strings of these pieces.
struct Profile {
    const char* name;
    std::vector<std::string> wordPieces, textPieces, commentPieces;
    int maxWordPieces, maxEntries, maxTextPieces, cases;
};

const std::vector<Profile>& Profiles() {
    static const std::vector<Profile> profiles = {
        {"AB", {"A", "B"}, {"A", "B", "A", "B", "\n", "\r\n", "\r"}, {"A", "B", "a", "b", " "}, 4, 8, 40, 2500},
        {"G0 1", {"G", "0", " ", "1"}, {"G", "0", " ", "1", "G0", "\n", "\r\n"}, {"G", "0", "1", " ", "g"}, 3, 10, 40, 2000},
        {"line ends", {"A", "\r", "\n"}, {"A", "A", "\r", "\n"}, {"A", "\n", "\r", " ", "a"}, 3, 6, 30, 1200},
        {"japanese", {"主", "軸", "G", "0"}, {"主", "軸", "正", "転", "G", "0", "\n", "\r\n"}, {"主", "軸", "転", "G", "0", " "}, 3, 8, 30, 1200},
        {"nc", {"G", "0", "1", "M", "#", "5"}, {"G", "0", "1", "M", "3", "#", "5", "X", ".", " ", "\r\n"}, {"G", "0", "1", "M", "rapid ", "#"}, 4, 16, 60, 1200},
        {"01", {"0", "1"}, {"0", "1", "0", "1", "\n"}, {"0", "1", "10", "01"}, 3, 4, 30, 1500},
        {"long line", {"A", "B"}, {"A", "B", "AB", "A", "B", "\n"}, {"A", "B", "b", ""}, 4, 6, 2000, 60},
    };
    return profiles;
}

struct Case {
    DictionaryTable table;
    std::string source;
    bool spaceAdd = false;
};

std::string Pieces(std::mt19937& rng, const std::vector<std::string>& pieces, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += pieces[rng() % pieces.size()];
    return text;
}

int Upto(std::mt19937& rng, int most) { return int(rng() % unsigned(most + 1)); }

DictionaryEntry RandomEntry(std::mt19937& rng, const Profile& p, const DictionaryTable& table) {
    DictionaryEntry entry;
    const unsigned kind = rng() % 10;
    if (kind == 0 && table.LastIndex >= 0) {  // a word listed again, usually with another comment
        entry.word = table.entries[rng() % unsigned(table.LastIndex + 1)].word;
    } else if (kind != 1) {  // kind 1: an empty (deleted) word
        entry.word = Pieces(rng, p.wordPieces, 1 + Upto(rng, p.maxWordPieces - 1));
    }
    entry.comment = Pieces(rng, p.commentPieces, Upto(rng, 3));
    if (rng() % 8 == 0) entry.comment += entry.word;  // a comment holding its own word
    return entry;
}

// Fills c afresh. The table is reused because building one (10,001 slots) costs milliseconds
// under the sanitizers.
void RandomCase(std::mt19937& rng, const Profile& p, Case& c) {
    for (int i = 0; i <= c.table.LastIndex + 1; ++i) c.table.entries[std::size_t(i)] = {};
    c.table.LastIndex = -1;
    const int entries = Upto(rng, p.maxEntries);
    for (int i = 0; i < entries; ++i) c.table.Append(RandomEntry(rng, p, c.table));
    // Slots above LastIndex must be ignored.
    c.table.entries[std::size_t(c.table.LastIndex + 1)] = {0, p.wordPieces[0], "ignored"};
    c.source = Pieces(rng, p.textPieces, Upto(rng, p.maxTextPieces));
    c.spaceAdd = rng() % 2 == 0;
}

std::string Escaped(const std::string& text) {
    std::string shown = "\"";
    for (const char ch : text) {
        shown += ch == '\n' ? "\\n" : ch == '\r' ? "\\r" : ch == '"' ? "\\\"" : std::string(1, ch);
    }
    return shown + "\"";
}

std::string Describe(const Case& c) {
    std::ostringstream out;
    out << "SpaceAdd " << c.spaceAdd << ", source " << Escaped(c.source) << "\n";
    for (int i = 0; i <= c.table.LastIndex; ++i) {
        const DictionaryEntry& e = c.table.entries[std::size_t(i)];
        out << "  [" << i << "] " << Escaped(e.word) << " -> " << Escaped(e.comment) << "\n";
    }
    return out.str();
}

// Which ways of converting a case is checked in. Each costs time under the sanitizers, so
// random cases take turns.
struct Ways {
    std::size_t chunkBytes = 1;  // the text is also converted cut into chunks, and parts, of this size
    unsigned threads = 2;        // on this many threads
    bool compact = true;         // with every automaton state but the root on compact transitions
    bool program = true;         // through ConvertProgram
};

// The results of converting source part by part, cut after the first LF at or past every
// `every` bytes, joined.
std::string InParts(const CompiledDictionary& dictionary, std::string_view source, bool spaceAdd,
                    std::size_t every) {
    ConversionStream stream(dictionary, spaceAdd, source.size());
    std::string joined;
    for (std::size_t lineFeed; (lineFeed = source.find('\n', every - 1)) != std::string_view::npos;) {
        joined += stream.Convert(source.substr(0, lineFeed + 1), false);
        source.remove_prefix(lineFeed + 1);
    }
    return joined + stream.Convert(source, true);
}

// Empty when every way of converting agrees with the reference, else what differed.
std::string Difference(const Case& c, const Ways& ways) {
    const std::string expected = ConvertReference(c.source, c.table, c.spaceAdd);
    const CompiledDictionary dictionary(c.table);
    std::vector<std::pair<const char*, std::string>> results = {
        {"one thread", dictionary.Convert(c.source, c.spaceAdd, 1)},
        {"in chunks", dictionary.Convert(c.source, c.spaceAdd, ParallelOptions{ways.threads, ways.chunkBytes})},
        {"part by part", InParts(dictionary, c.source, c.spaceAdd, ways.chunkBytes)},
    };
    if (ways.compact) results.emplace_back("compact automaton", CompiledDictionary(c.table, 0).Convert(c.source, c.spaceAdd, 1));
    if (ways.program) results.emplace_back("ConvertProgram", ConvertProgram(c.source, c.table, c.spaceAdd));
    for (const auto& [how, got] : results) {
        if (got != expected) return std::string(how) + ": expected " + Escaped(expected) + ", got " + Escaped(got);
    }
    return {};
}

TEST(FastConvertRandom, AgreesWithReference) {
    Case c;
    for (const Profile& p : Profiles()) {
        for (int i = 0; i < p.cases; ++i) {
            const unsigned seed = 20240 + unsigned(i);
            std::mt19937 rng(seed);
            RandomCase(rng, p, c);
            const Ways ways{1 + rng() % 12, i % 64 == 0 ? 3u : 1u, i % 2 == 0, i % 8 == 1};
            ASSERT_EQ(Difference(c, ways), "") << "profile " << p.name << ", seed " << seed << "\n" << Describe(c);
        }
    }
}

// Hand-made cases of the awkward situations.
Case Make(std::vector<std::pair<std::string, std::string>> entries, std::string source) {
    Case c;
    for (auto& [word, comment] : entries) c.table.Append({0, std::move(word), std::move(comment)});
    c.source = std::move(source);
    return c;
}

void ExpectAgreement(Case c) {
    for (const bool spaceAdd : {false, true}) {
        c.spaceAdd = spaceAdd;
        EXPECT_EQ(Difference(c, Ways{}), "") << Describe(c);
    }
}

TEST(FastConvertCases, OverlappingOccurrencesOfOneWordAreSkipped) {
    ExpectAgreement(Make({{"AA", "x"}}, "AAA AAAA\nAAAAA"));
}

TEST(FastConvertCases, RepeatedWordsTakeTheLineAsEarlierEntriesLeftIt) {
    ExpectAgreement(Make({{"G0", "rapid"}, {"G0", "second"}, {"G0", "g0 G0"}}, "G0 G00\n"));
    ExpectAgreement(Make({{"G0", "G0G0"}, {"G0", "again"}}, "G0\n"));
}

TEST(FastConvertCases, WordsInsideInsertedCommentsAreReplacedByLaterEntries) {
    ExpectAgreement(Make({{"M30", "end M3"}, {"M3", "spindle"}, {"End", "stop"}}, "M30 M3\r\n"));
}

TEST(FastConvertCases, WordsFormAcrossTheEdgeOfInsertedText) {
    ExpectAgreement(Make({{"X", "g"}, {"G0", "rapid"}, {"0R", "joined"}}, "X0X0\nX\n0"));
}

TEST(FastConvertCases, EmptyCommentsJoinTheirNeighbours) {
    ExpectAgreement(Make({{"B", ""}, {"AC", "ac"}, {"AA", "twice"}}, "ABC ABBC AB BA\n"));
}

TEST(FastConvertCases, EmptyWordsAndSlotsAboveLastIndexAreIgnored) {
    Case c = Make({{"", "never"}, {"G1", "linear"}, {"", "never"}}, "G1 G2\n");
    c.table.entries[5] = {0, "G2", "beyond the table"};
    ExpectAgreement(c);
}

TEST(FastConvertCases, LineEndsAndTheAppendedCrLfCanBeWords) {
    ExpectAgreement(Make({{"\r\n", "end\n"}, {"\n", "lf"}, {"D\r", "cr"}}, "A\r\nB\nC\rD"));
    ExpectAgreement(Make({{"A", "x"}}, ""));
    ExpectAgreement(Make({}, "G0\n"));
}

TEST(FastConvertCases, JapaneseWordsAndComments) {
    ExpectAgreement(Make({{"主軸", "主軸正転 M3"}, {"M3", "スピンドル"}, {"軸", "じく"}}, "主軸 M3 主軸主\n軸\n"));
}

TEST(FastConvertCases, NestedWordsInLongRunsOfOneCharacter) {
    // So many occurrences nest here that the line is finished by plain search.
    std::vector<std::pair<std::string, std::string>> entries;
    for (int n = 40; n >= 1; --n) entries.emplace_back(std::string(std::size_t(n), 'A'), n % 3 ? "a" : "");
    ExpectAgreement(Make(entries, std::string(400, 'A') + "\n" + std::string(7, 'A')));
    // Plain search until an entry breaks the runs up, tracking again afterwards.
    entries.clear();
    for (int n = 30; n >= 2; --n) entries.emplace_back(std::string(std::size_t(n), 'G'), n % 2 ? "bg" : "B");
    entries.insert(entries.end(), {{"BB", "gg"}, {"BG", "b"}, {"GB", ""}});
    ExpectAgreement(Make(entries, std::string(3000, 'G') + "\n" + std::string(90, 'G') + "B"));
}

TEST(FastConvertCases, SearchesAgainFromTheLineStartAfterEachReplacement) {
    const std::vector<std::pair<Case, std::string>> cases = {
        {Make({{"AB", "b"}}, "AAB"), "B\r\n"},
        {Make({{"G0", "x g"}}, "G00"), "X X G\r\n"},
        {Make({{"GG", "G"}}, "GGG"), "G\r\n"},
        {Make({{"AB", ""}}, "AABB"), "\r\n"},
        // Never ending: the comment holds the word, or its insertions join into the word again.
        {Make({{"X", "X AXIS"}}, "X10 X20"), "X Axis10 X Axis20\r\n"},
        {Make({{"010", "1001"}}, "0010"), "01001\r\n"},
        // The line grows with each replacement yet ends: aA -> Aaaaa passes every a.
        {Make({{"bA", "abbb"}}, "bbbAAaaab"), ConvertReference("bbbAAaaab", TableOf({{0, "bA", "abbb"}}), false)},
    };
    for (const auto& [c, expected] : cases) {
        EXPECT_EQ(CompiledDictionary(c.table).Convert(c.source, false), expected) << Describe(c);
        ExpectAgreement(c);
    }
}

TEST(FastConvertCases, LongLinesWithManyReplacementsFromTheStart) {
    // Every replacement forms the next occurrence across its comment, thousands of times.
    ExpectAgreement(Make({{"AB", "b"}}, std::string(3000, 'A') + "B\n" + std::string(2000, 'A') + "BAB"));
    ExpectAgreement(Make({{"AB", "bab"}}, std::string(500, 'A') + "B" + std::string(500, 'B')));
    ExpectAgreement(Make({{"010", "1001"}, {"01", "10"}}, std::string(300, '0') + "10" + std::string(300, '1')));
}

TEST(FastConvertCases, LargePartsSpreadOverThreadsJoinAsTheWholeText) {
    const Case c = Make({{"G0", "rapid"}, {"X", "x axis X"}, {"10", "ten"}, {"\r\n", " end\r\n"}}, "");
    std::string source;
    for (int i = 0; i < 40000; ++i) source += "N" + std::to_string(i) + " G0 X10.5\r\n";
    source += "G0 X";  // the last line has no LF
    const CompiledDictionary dictionary(c.table);
    const std::string whole = dictionary.Convert(source, false, 1);
    for (const std::size_t every : {std::size_t(300000), std::size_t(150000)}) {
        EXPECT_TRUE(InParts(dictionary, source, false, every) == whole) << "parts of " << every << " bytes";
    }
}

TEST(FastConvertCases, FullSizeDictionary) {
    Case c;
    for (int i = 0; c.table.Append({0, "G" + std::to_string(i * 7 % 10001), "code " + std::to_string(i)}); ++i) {
    }
    c.source = "G1 G70 G7 G700 G1000\nG10001G9999\n";
    ExpectAgreement(c);
}

}  // namespace
}  // namespace qm
