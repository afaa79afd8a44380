#include <gtest/gtest.h>

#include "FileType.h"
#include "ProgramDialect.h"
#include "SettingsFixture.h"
#include "ViewSettings.h"

namespace qm::test {
namespace {

class FileTypeStore : public SettingsFixture {};

// A file's type is everything after the first full stop of its name, in upper case; folders
// never count, however they are named. A type with no default dictionary has no dictionary.
TEST(FileType, KeyIsEverythingAfterTheFirstFullStopOfTheFileNameInUpperCase) {
    const struct {
        const char *path, *key, *dictionary;
    } cases[] = {
        {"PART.min", "MIN", "Kestrel-ENG.dic"},
        {"/home/op/O1234.Nc", "NC", "Merlin.dic"},
        {"/home/op/PART", "", "Merlin.dic"},
        {"PART.MIN.BAK", "MIN.BAK", ""},
        {"/srv/NC.V2/PART.NC.BAK", "NC.BAK", ""},
        {"jobs/v1.2/PART.MIN", "MIN", "Kestrel-ENG.dic"},
        {"/tmp/tmp.Xa3k/PART", "", "Merlin.dic"},
        // LinuxCNC and common G-code types start with the English dictionary.
        {"part.ngc", "NGC", "Merlin.dic"},
        {"/cam/part.gcode", "GCODE", "Merlin.dic"},
        {"PART.TAP", "TAP", "Merlin.dic"},
        {"PART.G", "G", ""},
    };
    for (const auto& c : cases) {
        const std::string key = FileTypeKey(c.path);
        EXPECT_EQ(key, c.key) << c.path;
        EXPECT_EQ(DefaultDictionaryFor(key), c.dictionary) << c.path;
        EXPECT_EQ(IsDictionaryType(key), *c.dictionary != '\0') << c.path;
    }
    EXPECT_FALSE(IsDictionaryType("nc"));
}

// Each type keeps its own dialect; what is not one of the three reads as the type's default.
TEST_F(FileTypeStore, EachTypeIsFollowedInItsOwnDialect) {
    const struct {
        const char* type;
        const char* stored;  // nullptr: nothing stored
        const char* dialect;
    } kCases[] = {{"NGC", nullptr, "rs274ngc"},    {"", nullptr, "rs274ngc"},
                  {"MIN", nullptr, "fanuc"},       {"TOP", nullptr, "none"},
                  {"MIN", "rs274ngc", "rs274ngc"}, {"NC", "fanuc", "fanuc"},
                  {"SUB", "LinuxCNC", "fanuc"},    {"LDR", "fanuc", "fanuc"}};
    for (const auto& c : kCases) {
        if (c.stored != nullptr)
            SaveDialectForType(store_, c.type, c.stored);
        EXPECT_EQ(DialectForType(store_, c.type), c.dialect) << c.type;
    }
    EXPECT_EQ(store_.GetSetting(QStringLiteral("DialectNC"), QString()), QStringLiteral("fanuc"));
    SaveDialectForType(store_, "", "fanuc");
    EXPECT_EQ(store_.GetSetting(QStringLiteral("DialectNON"), QString()), QStringLiteral("fanuc"));
}

TEST_F(FileTypeStore, TheViewChoicesComeBackAndAPlaceOffEveryScreenIsNone) {
    const ViewSettings defaults = ReadViewSettings(store_);
    EXPECT_TRUE(defaults.showState);
    EXPECT_FALSE(defaults.showToolpath);
    ViewSettings chosen{false, true, true, QByteArray("\x00\xff place", 8),
                        QRect(10, 20, 300, 200)};
    SaveViewSettings(store_, chosen);
    const ViewSettings back = ReadViewSettings(store_);
    EXPECT_EQ(std::tie(back.showState, back.showToolpath, back.colourByTool, back.panelPlace,
                       back.toolpathGeometry),
              std::tie(chosen.showState, chosen.showToolpath, chosen.colourByTool,
                       chosen.panelPlace, chosen.toolpathGeometry));
    chosen.toolpathGeometry = QRect(90000, 20, 300, 200);
    SaveViewSettings(store_, chosen);
    EXPECT_TRUE(ReadViewSettings(store_).toolpathGeometry.isEmpty());
}

}  // namespace
}  // namespace qm::test
