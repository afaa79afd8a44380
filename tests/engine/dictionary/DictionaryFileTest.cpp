#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "DictionaryFile.h"
#include "EngineFixture.h"
#include "TempFolder.h"

namespace qm {
namespace {

using test::Holds;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kHeader = "Translator Dictionary  Ver.1.1  Hollowmere\r\n";

using test::TableOf;

class DictionaryFileTest : public ::testing::Test {
  protected:
    // Writes bytes to a dictionary file and loads it into table_.
    Status Load(std::string_view bytes) {
        WriteBytes(path_, bytes);
        return LoadDictionaryFile(path_, table_);
    }
    std::string Saved(const DictionaryTable& table) {
        const Status status = SaveDictionary(path_, table);
        EXPECT_TRUE(status.ok()) << status.message();
        return ReadBytes(path_);
    }

    TempFolder folder_;
    std::string path_ = folder_.File("Test.dic");
    DictionaryTable table_;
};

TEST_F(DictionaryFileTest, SavesLongestWordsFirstInTableOrderWithoutEmptyWordsAndReadsBack) {
    const std::string bytes = kHeader +
                              "-5,\"G100\",\"Drill cycle\"\r\n"
                              "3,\"M30\",\"\"\r\n"
                              "32767,\"G01\",\"Linear, feed\"\r\n"
                              "-32768,\"G00\",\"  spaced , comment \"\r\n"
                              "0,\"G0\",\"Rapid\"\r\n";
    const DictionaryTable inFileOrder = TableOf({{-5, "G100", "Drill cycle"},
                                                 {3, "M30", ""},
                                                 {32767, "G01", "Linear, feed"},
                                                 {-32768, "G00", "  spaced , comment "},
                                                 {0, "G0", "Rapid"}});
    EXPECT_EQ(Saved(TableOf({inFileOrder.entries[4],
                             inFileOrder.entries[0],
                             {7, "", "deleted"},
                             inFileOrder.entries[1],
                             inFileOrder.entries[2],
                             inFileOrder.entries[3]})),
              bytes);
    ASSERT_TRUE(LoadDictionaryFile(path_, table_).ok());
    ASSERT_EQ(table_.LastIndex, 4);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(table_.entries[i], inFileOrder.entries[i]);
    EXPECT_EQ(Saved(table_), bytes);
    EXPECT_EQ(Saved(DictionaryTable()), kHeader);
}

TEST_F(DictionaryFileTest, JapaneseDictionaryKeepsItsEncodingAndCountsCharactersNotBytes) {
    // "主軸" is two characters (four bytes in Shift-JIS): it sorts after the three-letter word.
    const std::string sjis = kHeader + "0,\"M03\",\"\x8E\xE5\x8E\xB2\x90\xB3\x93\x5D\"\r\n" +
                             "0,\"\x8E\xE5\x8E\xB2\",\"spindle\"\r\n";
    ASSERT_TRUE(Load(sjis).ok());
    EXPECT_EQ(table_.encoding.encoding, Encoding::ShiftJis);
    EXPECT_EQ(table_.entries[0].comment,
              "\xE4\xB8\xBB\xE8\xBB\xB8\xE6\xAD\xA3\xE8\xBB\xA2");  // 主軸正転
    EXPECT_EQ(Saved(table_), sjis);

    const std::string utf8 = "\xEF\xBB\xBF" + kHeader + "0,\"M03\",\"\xE4\xB8\xBB\"\r\n";
    ASSERT_TRUE(Load(utf8).ok());
    EXPECT_EQ(Saved(table_), utf8);
}

TEST_F(DictionaryFileTest, CheckRefusesWithItsThreeMessages) {
    const auto check = [&](std::string_view bytes) {
        WriteBytes(path_, bytes);
        return CheckDictionary(path_).message();
    };
    EXPECT_EQ(check(kHeader), "");
    EXPECT_EQ(check("Translator Dictionary  Ver.1.10  Hollowmere"), "");  // three characters only
    EXPECT_EQ(check("Hollowmere Translator Dictionary Ver.1.1, extra"), "");
    EXPECT_EQ(check("Translator Dictionary  Ver.1.2  Hollowmere\r\n"), "Dictionaly ver. error.");
    EXPECT_EQ(check("Translator Dictionary Hollowmere 1.1"), "Dictionaly ver. error.");
    EXPECT_EQ(check("Translator Dictionary  Ver.1.1  Someone\r\n"), "Can not use this dictionaly");
    EXPECT_EQ(check("translator dictionary  Ver.1.1  Hollowmere"), "Can not use this dictionaly");
    // Only the first field counts: the author after the comma is not seen.
    EXPECT_EQ(check("Translator Dictionary  Ver.1.1,  Hollowmere"), "Can not use this dictionaly");
    EXPECT_EQ(check("\r\n" + kHeader), "Can not use this dictionaly");
    EXPECT_EQ(check(""), path_ + " not find dictionaly.");
    EXPECT_EQ(CheckDictionary(folder_.File("missing.dic")).message(),
              folder_.File("missing.dic") + " not find dictionaly.");
    EXPECT_EQ(CheckDictionary(folder_.path().string()).message(),
              folder_.path().string() + " not find dictionaly.");
}

TEST_F(DictionaryFileTest, ReaderAcceptsLfLineEndsBlankLinesAndUnquotedFields) {
    ASSERT_TRUE(
        Load(kHeader + "\n  \r\n1, \"G00\" ,\"Rapid\"\n\t\n , G01,Feed \r\n 7 ,\"X\rY\",\"\"")
            .ok());
    ASSERT_EQ(table_.LastIndex, 2);
    EXPECT_EQ(table_.entries[0], (DictionaryEntry{1, "G00", "Rapid"}));
    EXPECT_EQ(table_.entries[1], (DictionaryEntry{0, "G01", "Feed "}));
    EXPECT_EQ(table_.entries[2], (DictionaryEntry{7, "X\rY", ""}));  // a lone CR is a character

    ASSERT_TRUE(Load(kHeader).ok());
    EXPECT_EQ(table_.LastIndex, -1);
}

TEST_F(DictionaryFileTest, RefusesMalformedRecordsNamingTheLineAndLeavesTheTableAlone) {
    ASSERT_TRUE(Load(kHeader + "0,\"G00\",\"Rapid\"\r\n").ok());
    const struct {
        std::string records;
        std::string expected;
    } cases[] = {
        {"0,\"G00\"\r\n",
         "line 3: a record has three fields (number, word, comment) separated "
         "by commas; this line has 2."},
        {"0,\"G00\",\"Rapid\",\"x\"\r\n", "this line has 4."},
        {"0,\"G00\",\"Rapid\r\n",
         "line 3: the quoted field that starts at character 9 has no closing quote."},
        {"x1,\"G00\",\"Rapid\"\r\n",
         "line 3: the number \"x1\" is not a whole number from -32768 to 32767."},
        {"32768,\"G00\",\"Rapid\"\r\n", "the number \"32768\" is not"},
        {"1 2,\"G00\",\"Rapid\"\r\n", "the number \"1 2\" is not"},
        // A stray quote would end a field early and drop the rest of it unseen.
        {"0,\"G0\"0\",\"Ra\"pid\"\r\n",
         "line 3: the double quote at character 8 is inside a field"},
        {"0,G0\",\"Rapid\"\r\n", "line 3: the double quote at character 5 is inside a field"},
        {"0,\"G00\",\"Rapid\" \"\r\n", "the double quote at character 17 is inside"},
        // Good records before the fault, in Shift-JIS: none of them, nor the encoding, is kept.
        {"0,\"G00\",\"\x91\x81\x91\x97\"\r\n0,\"G01\",\"Feed\"\r\n0,\"G02\"\r\n",
         "line 5: a record has three fields"},
    };
    for (const auto& c : cases) {
        const Status status = Load(kHeader + "\r\n" + c.records);
        ASSERT_FALSE(status.ok()) << c.records;
        EXPECT_TRUE(Holds(status.message(), path_ + ", line"));
        EXPECT_TRUE(Holds(status.message(), c.expected));
        ASSERT_EQ(table_.LastIndex, 0);
        EXPECT_EQ(table_.entries[0].word, "G00");
        EXPECT_EQ(table_.entries[1], DictionaryEntry{});
        EXPECT_EQ(table_.encoding, FileEncoding{});
    }
}

TEST_F(DictionaryFileTest, HoldsAtMost10001Words) {
    std::string records = kHeader;
    for (int i = 0; i < kDictionarySlots; ++i)
        records += "0,\"W" + std::to_string(i) + "\",\"c\"\r\n";
    ASSERT_TRUE(Load(records).ok());
    EXPECT_EQ(table_.LastIndex, 10000);
    EXPECT_FALSE(table_.Append({0, "one more", ""}));

    const Status status = Load(records + "0,\"W\",\"c\"\r\n");
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(Holds(status.message(), "line 10003: the dictionary holds more than 10001 words"));
    EXPECT_EQ(table_.LastIndex, 10000);
}

TEST_F(DictionaryFileTest, SaveRefusesTextTheFormatCannotHoldAndKeepsTheOldFile) {
    WriteBytes(path_, kHeader);
    for (const char* comment : {"say \"hi\"", "two\r\nlines", "line\nfeed"}) {
        const Status status = SaveDictionary(path_, TableOf({{0, "G00", comment}}));
        ASSERT_FALSE(status.ok());
        EXPECT_TRUE(Holds(status.message(), "The comment of \"G00\" contains"));
    }
    EXPECT_FALSE(SaveDictionary(path_, TableOf({{0, "G\"0", "x"}})).ok());
    // A Shift-JIS dictionary stays one: "ä" has no place in it.
    DictionaryTable shiftJis = TableOf({{0, "G00", "K\xC3\xA4lte"}});
    shiftJis.encoding = {Encoding::ShiftJis, false};
    const Status status = SaveDictionary(path_, shiftJis);
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(
        Holds(status.message(), "\"\xC3\xA4\" (U+00E4) on line 2 cannot be written in Shift-JIS"));
    EXPECT_EQ(ReadBytes(path_), kHeader);
}

TEST_F(DictionaryFileTest, PlainAsciiOrNewDictionaryTakesUtf8ForWhatShiftJisLacks) {
    // "Ø10 DRILL µm": neither character is in code page 932.
    const std::string drill =
        "\xC3\x98"
        "10 DRILL \xC2\xB5m";
    ASSERT_TRUE(Load(kHeader + "0,\"G00\",\"Rapid\"\r\n").ok());
    ASSERT_TRUE(table_.Append({0, "T10", drill}));
    ASSERT_TRUE(SaveDictionary(path_, table_).ok());
    EXPECT_EQ(ReadBytes(path_), kHeader + "0,\"G00\",\"Rapid\"\r\n0,\"T10\",\"" + drill + "\"\r\n");
    ASSERT_TRUE(LoadDictionaryFile(path_, table_).ok());
    EXPECT_EQ(table_.encoding, (FileEncoding{Encoding::Utf8, false}));
    EXPECT_EQ(table_.entries[1].comment, drill);

    // A new table (the entries typed, no file read) does the same; one that fits stays Shift-JIS.
    ASSERT_TRUE(SaveDictionary(path_, TableOf({{0, "T10", drill}})).ok());
    EXPECT_EQ(ReadBytes(path_), kHeader + "0,\"T10\",\"" + drill + "\"\r\n");
    ASSERT_TRUE(SaveDictionary(path_, TableOf({{0, "M03", "\xE4\xB8\xBB\xE8\xBB\xB8"}})).ok());
    EXPECT_EQ(ReadBytes(path_), kHeader + "0,\"M03\",\"\x8E\xE5\x8E\xB2\"\r\n");
}

// Through the safe write: a read-only file (also for the superuser) or a missing folder is
// refused with the reason; a link stays a link, and the file keeps its mode, owner and group.
TEST_F(DictionaryFileTest, SaveReplacesTheFileSafelyOrRefusesItUnchanged) {
    WriteBytes(path_, kHeader);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    const Status refused = SaveDictionary(path_, TableOf({{0, "G00", "Rapid"}}));
    EXPECT_EQ(refused.message(), path_ + ": Permission denied");
    EXPECT_EQ(ReadBytes(path_), kHeader);
    const Status failed = SaveDictionary(folder_.File("no/such/folder/X.dic"), TableOf({}));
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(Holds(failed.message(), "no/such/folder/X.dic: "));

    ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;  // only the superuser can give a file away
    if (root) {
        ASSERT_EQ(::chown(path_.c_str(), 4321, 4242), 0);
    }
    const std::string link = folder_.File("Link.dic");
    std::filesystem::create_symlink(path_, link);
    ASSERT_TRUE(SaveDictionary(link, TableOf({{0, "G00", "Rapid"}})).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(path_), kHeader + "0,\"G00\",\"Rapid\"\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    const std::pair<uid_t, gid_t> owner =
        root ? std::pair<uid_t, gid_t>(4321, 4242) : std::pair(::getuid(), ::getgid());
    EXPECT_EQ(std::pair(info.st_uid, info.st_gid), owner);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 2);
}

}  // namespace
}  // namespace qm
