#include <gtest/gtest.h>

#include "FileType.h"

namespace qm {
namespace {

TEST(FileType, KeyIsEverythingAfterTheFirstFullStopInUpperCase) {
    EXPECT_EQ(FileTypeKey("PART.min"), "MIN");
    EXPECT_EQ(FileTypeKey("/home/op/O1234.Nc"), "NC");
    EXPECT_EQ(FileTypeKey("/home/op/PART"), "");
    EXPECT_EQ(FileTypeKey("PART.MIN.BAK"), "MIN.BAK");
    EXPECT_EQ(FileTypeKey("/srv/NC.V2/PART.MIN"), "V2/PART.MIN");
}

TEST(FileType, ElevenTypesHaveDefaultDictionaries) {
    EXPECT_EQ(DefaultDictionaryFor("MIN"), "Kestrel-ENG.dic");
    EXPECT_EQ(DefaultDictionaryFor("TOP"), "TOP-FILE-ENG.DIC");
    EXPECT_EQ(DefaultDictionaryFor("LPD"), "Loader parameter ENG.dic");
    EXPECT_EQ(DefaultDictionaryFor(""), "Merlin.dic");
    EXPECT_TRUE(IsDictionaryType("NC"));
    EXPECT_FALSE(IsDictionaryType("nc"));
    EXPECT_FALSE(IsDictionaryType("MIN.BAK"));
}

}  // namespace
}  // namespace qm
