#include <gtest/gtest.h>

#include "FileType.h"

namespace qm {
namespace {

TEST(FileType, KeyIsEverythingAfterTheFirstFullStopOfTheFileNameInUpperCase) {
    EXPECT_EQ(FileTypeKey("PART.min"), "MIN");
    EXPECT_EQ(FileTypeKey("/home/op/O1234.Nc"), "NC");
    EXPECT_EQ(FileTypeKey("/home/op/PART"), "");
    EXPECT_EQ(FileTypeKey("PART.MIN.BAK"), "MIN.BAK");
    EXPECT_EQ(FileTypeKey("/srv/NC.V2/PART.NC.BAK"), "NC.BAK");
    // Folders never count, however they are named.
    EXPECT_EQ(FileTypeKey("/srv/NC.V2/PART.MIN"), "MIN");
    EXPECT_EQ(FileTypeKey("/home/j.smith/O1000.MIN"), "MIN");
    EXPECT_EQ(FileTypeKey("jobs/v1.2/PART.MIN"), "MIN");
    EXPECT_EQ(FileTypeKey("/tmp/tmp.Xa3k/PART"), "");
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

TEST(FileType, LinuxCncAndCommonGCodeTypesStartWithTheEnglishDictionary) {
    for (const char* path : {"part.ngc", "/cam/part.gcode", "PART.TAP"}) {
        const std::string key = FileTypeKey(path);
        EXPECT_TRUE(IsDictionaryType(key)) << path;
        EXPECT_EQ(DefaultDictionaryFor(key), "Merlin.dic") << path;
    }
    EXPECT_FALSE(IsDictionaryType("G"));
}

}  // namespace
}  // namespace qm
