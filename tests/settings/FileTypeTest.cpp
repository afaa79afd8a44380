#include <gtest/gtest.h>

#include "FileType.h"
#include "ProgramDialect.h"
#include "SettingsStore.h"
#include "TempFolder.h"
#include "ViewSettings.h"

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

// Each type keeps its own dialect; what is not one of the three reads as the type's default.
TEST(FileType, EachTypeIsFollowedInItsOwnDialect) {
    test::TempFolder folder;
    SettingsStore store(QString::fromStdString(folder.File("Quillmark.ini")));
    const struct {
        const char* type;
        const char* stored;  // nullptr: nothing stored
        const char* dialect;
    } kCases[] = {{"NGC", nullptr, "rs274ngc"}, {"", nullptr, "rs274ngc"}, {"MIN", nullptr, "fanuc"},
                  {"TOP", nullptr, "none"},     {"MIN", "rs274ngc", "rs274ngc"}, {"NC", "fanuc", "fanuc"},
                  {"SUB", "LinuxCNC", "fanuc"}, {"LDR", "fanuc", "fanuc"}};
    for (const auto& c : kCases) {
        if (c.stored != nullptr) SaveDialectForType(store, c.type, c.stored);
        EXPECT_EQ(DialectForType(store, c.type), c.dialect) << c.type;
    }
    EXPECT_EQ(store.GetSetting(QStringLiteral("DialectNC"), QString()), QStringLiteral("fanuc"));
    SaveDialectForType(store, "", "fanuc");
    EXPECT_EQ(store.GetSetting(QStringLiteral("DialectNON"), QString()), QStringLiteral("fanuc"));
}

TEST(FileType, TheViewChoicesComeBackAndAPlaceOffEveryScreenIsNone) {
    test::TempFolder folder;
    SettingsStore store(QString::fromStdString(folder.File("Quillmark.ini")));
    const ViewSettings defaults = ReadViewSettings(store);
    EXPECT_TRUE(defaults.showState);
    EXPECT_FALSE(defaults.showToolpath);
    ViewSettings chosen{false, true, true, QByteArray("\x00\xff place", 8), QRect(10, 20, 300, 200)};
    SaveViewSettings(store, chosen);
    const ViewSettings back = ReadViewSettings(store);
    EXPECT_EQ(std::tie(back.showState, back.showToolpath, back.colourByTool, back.panelPlace, back.toolpathGeometry),
              std::tie(chosen.showState, chosen.showToolpath, chosen.colourByTool, chosen.panelPlace, chosen.toolpathGeometry));
    chosen.toolpathGeometry = QRect(90000, 20, 300, 200);
    SaveViewSettings(store, chosen);
    EXPECT_TRUE(ReadViewSettings(store).toolpathGeometry.isEmpty());
}

}  // namespace
}  // namespace qm
