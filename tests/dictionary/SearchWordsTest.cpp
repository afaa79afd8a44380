#include <gtest/gtest.h>

#include "TableOf.h"

#include "DictionaryFile.h"
#include "ImportReader.h"
#include "SearchWords.h"

namespace qm {
namespace {

using test::TableOf;

std::string Search(const char* s1, const char* s2, char prefix, bool orMode) {
    static const DictionaryTable words = TableOf({{0, "G00", "Rapid move"},
                                                  {0, "g01", "Cut move"},
                                                  {0, "M03", "Spindle on"},
                                                  {0, "V100", "Move counter"},
                                                  {0, "G04", ""},
                                                  {0, "G99", "ねじ ネジ"}});
    return SearchWords(words, {s1, s2, prefix, orMode});
}

TEST(SearchWords, ScopesAndBothModes) {
    EXPECT_EQ(Search("", "", 'G', false) + Search("", "", 0, true), "");
    EXPECT_EQ(Search("move", "", 'G', false), "G00\t    Rapid move\r\n");  // not g01
    EXPECT_EQ(Search("", "ove", 0, false),
              "G00\t    Rapid move\r\ng01\t    Cut move\r\nV100\t    Move counter\r\n");
    EXPECT_EQ(Search("Move", "count", 'V', false), "V100\t    Move counter\r\n");
    EXPECT_EQ(Search("on", "", 'M', false), "M03\t    Spindle on\r\n");
    EXPECT_EQ(Search("ねじ", "ネジ", 'G', true), "G99\t    ねじ ネジ\r\nG99\t    ねじ ネジ\r\n");
    EXPECT_EQ(Search("", "Cut", 0, true), "g01\t    Cut move\r\n");
    EXPECT_EQ(Search("Rapid", "Spindle", 0, true),
              "G00\t    Rapid move\r\nM03\t    Spindle on\r\n");
}

TEST(ImportReader, ReadsWhatSaveDictionaryWritesAndStopsAtABadLine) {
    const DictionaryTable table =
        TableOf({{-5, "G100", "Drill, deep"}, {7, "G00", ""}, {0, "X", " a b "}});
    std::string text;
    ASSERT_TRUE(FormatDictionary(table, text).ok());
    ImportReader reader(text + "\r\n  \r\n", "in.dic");
    DictionaryEntry entry;
    for (int i = 0; i <= table.LastIndex; ++i) {
        ASSERT_TRUE(reader.Next(entry));
        EXPECT_EQ(entry, table.entries[i]);
    }
    EXPECT_FALSE(reader.Next(entry));
    EXPECT_TRUE(reader.error().ok());

    const std::pair<const char*, const char*> bad[] = {
        {"40000,\"G01\",\"x\"", "the number \"40000\""},
        {"0,\"G01\"", "this line has 2"},
        {"0,G\"01,x", "double quote"},
        {"0,\"G01\",\"x", "no closing quote"}};
    for (const auto& [line, says] : bad) {
        ImportReader partly(
            std::string("header\r\n0,\"G00\",\"a\"\r\n") + line + "\r\n0,\"G02\",\"b\"\r\n",
            "in.dic");
        ASSERT_TRUE(partly.Next(entry));
        EXPECT_FALSE(partly.Next(entry)) << line;
        EXPECT_EQ(partly.error().message().rfind("in.dic, line 3: ", 0), 0u)
            << partly.error().message();
        EXPECT_NE(partly.error().message().find(says), std::string::npos)
            << partly.error().message();
        EXPECT_FALSE(partly.Next(entry));
    }
}

}  // namespace
}  // namespace qm
