#include <gtest/gtest.h>

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

TEST(ConvertReference, EveryConversionEndsEvenForSelfContainingOrEmptyWords) {
    // The search goes on behind the inserted comment, so its own word is not replaced again.
    EXPECT_EQ(ConvertReference("G0 G0", TableOf({{0, "G0", "g0"}}), false), "G0 G0\r\n");
    EXPECT_EQ(ConvertReference("AAB", TableOf({{0, "AB", "a"}}), false), "AA\r\n");
    EXPECT_EQ(ConvertReference("AB", TableOf({{0, "", "x"}, {0, "A", "b"}}), false), "BB\r\n");
    // Overlapping occurrences: the second starts inside the first, which is gone.
    EXPECT_EQ(ConvertReference("AAA", TableOf({{0, "AA", "x"}}), false), "XA\r\n");
}

TEST(ConvertReference, HandlesJapaneseWordsAndComments) {
    const DictionaryTable table = TableOf({{0, "M03", "\xE4\xB8\xBB\xE8\xBB\xB8\xE6\xAD\xA3\xE8\xBB\xA2"},
                                           {0, "\xE4\xB8\xBB", "MAIN"}});
    // M03 becomes " 主軸正転", whose 主 is then replaced by " Main".
    EXPECT_EQ(ConvertReference("S500M03", table, true), "S500  Main\xE8\xBB\xB8\xE6\xAD\xA3\xE8\xBB\xA2\r\n");
}

}  // namespace
}  // namespace qm
