#include <gtest/gtest.h>

#include <QMdiArea>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "DocumentWindow.h"
#include "DictionarySlots.h"
#include "DocumentWindows.h"
#include "ScriptedServices.h"
#include "Settings.h"
#include "TempFolder.h"

namespace qm {
namespace {

const std::string kHeader = "Translator Dictionary  Ver.1.1  Hollowmere\r\n";

class DictionarySlotsTest : public ::testing::Test {
protected:
    DictionarySlotsTest() {
        ReadSettings(settings_, state_, dicFolder_);
        state_.DicPathName = dicFolder_;
        Write("Kestrel.dic", "G00", "kestrel");
        Write("Kestrel-ENG.dic", "G00", "mill");
        Write("Merlin.dic", "G00", "merlin");
        Write("Lathe.dic", "G00", "lathe");
    }

    void Write(const char* name, const std::string& word, const std::string& comment) {
        test::WriteBytes(folder_.File(name), kHeader + "0,\"" + word + "\",\"" + comment + "\"\r\n");
    }
    QString Path(const char* name) const { return QString::fromStdString(folder_.File(name)); }
    QString LoadedComment() const { return QString::fromStdString(state_.Dictionary.entries[0].comment); }
    QString Caption() { return documents_.Form1().windowTitle(); }

    test::TempFolder folder_;
    QString dicFolder_ = QString::fromStdString(folder_.path().string());
    AppState state_;
    SettingsStore settings_{QString::fromStdString(folder_.File("Quillmark.ini"))};
    ScriptedServices services_;
    QMdiArea area_;
    DocumentWindows documents_{area_};
    Controls controls_;
    Context context_{state_, settings_, services_, documents_, controls_};
};

TEST_F(DictionarySlotsTest, StartUpLoadRecordsTheDictionaryForProgramsWithoutType) {
    LoadDictionary(context_);
    EXPECT_TRUE(state_.DictionaryLoaded);
    EXPECT_EQ(LoadedComment(), "kestrel");
    EXPECT_EQ(Caption(), "Converted by /Kestrel.dic");
    EXPECT_EQ(state_.DictionarySlot[10], Path("Kestrel.dic"));
    EXPECT_EQ(settings_.GetSetting("NONDic", ""), Path("Kestrel.dic"));
    EXPECT_TRUE(services_.messages.empty());
}

TEST_F(DictionarySlotsTest, FileTypeChoosesTheSlot) {
    const struct {
        const char* program;
        const char* comment;
    } cases[] = {{"/nc/PART.min", "mill"},       {"/nc/PART.Nc", "merlin"},
                 {"/nc/PART", "merlin"},          {"/nc/PART.MIN.BAK", "merlin"},
                 {"/nc.v2/PART.MIN", "mill"},     {"/home/j.smith/PART", "merlin"}};
    for (const auto& c : cases) {
        SelectDictionaryForFile(context_, c.program);
        EXPECT_EQ(LoadedComment(), c.comment) << c.program;
    }
    EXPECT_EQ(state_.FileTypeKey, "");
}

TEST_F(DictionarySlotsTest, GCodeTypesHaveSlotsOfTheirOwn) {
    const struct {
        const char* program;
        const char* key;
    } cases[] = {{"/cnc/part.ngc", "NGCdic"}, {"/cnc/part.Gcode", "GCODEdic"}, {"/cnc/part.tap", "TAPdic"}};
    for (const auto& c : cases) {
        state_.DicFileName = Path("Kestrel.dic");
        SelectDictionaryForFile(context_, c.program);
        EXPECT_EQ(LoadedComment(), "merlin") << c.program;  // not the current dictionary
        state_.DicFileName = Path("Lathe.dic");
        LoadDictionary(context_);
        EXPECT_EQ(settings_.GetSetting(c.key, ""), Path("Lathe.dic")) << c.key;
    }
    // Read back without regard to letter case, as the other slots are.
    SettingsStore stored{QString::fromStdString(folder_.File("Quillmark.ini"))};
    AppState reread;
    ReadSettings(stored, reread, dicFolder_);
    EXPECT_EQ(reread.DictionarySlot[DictionarySlotIndex("TAP")], Path("Lathe.dic"));
    AppState fresh;
    ReadSettings(SettingsStore{QString::fromStdString(folder_.File("none.ini"))}, fresh, "/opt/qm");
    EXPECT_EQ(fresh.DictionarySlot[DictionarySlotIndex("GCODE")], "/opt/qm/Merlin.dic");
}

TEST_F(DictionarySlotsTest, DictionaryChosenForATypeIsStoredForIt) {
    SelectDictionaryForFile(context_, "/nc/O1.TOP");  // TOP's default does not exist here
    ASSERT_EQ(services_.messages.size(), 1u);
    state_.DicFileName = Path("Lathe.dic");
    LoadDictionary(context_);
    EXPECT_EQ(settings_.GetSetting("TOPDic", ""), Path("Lathe.dic"));

    SelectDictionaryForFile(context_, "/nc/O2.MIN");
    EXPECT_EQ(LoadedComment(), "mill");
    SelectDictionaryForFile(context_, "/other/O3.top");
    EXPECT_EQ(LoadedComment(), "lathe");
    // An unrecognised type keeps the current dictionary and writes no slot.
    const QString before = QString::fromStdString(test::ReadBytes(folder_.File("Quillmark.ini")));
    SelectDictionaryForFile(context_, "/nc/O4.DAT");
    EXPECT_EQ(LoadedComment(), "lathe");
    EXPECT_EQ(QString::fromStdString(test::ReadBytes(folder_.File("Quillmark.ini"))), before);
}

TEST_F(DictionarySlotsTest, RefusedDictionaryChangesNothingAndRestoresDicFileName) {
    SelectDictionaryForFile(context_, "/nc/O1.MIN");
    const QString caption = Caption();
    test::WriteBytes(folder_.File("Old.dic"), "Translator Dictionary  Ver.1.0  Hollowmere\r\n");
    state_.DicFileName = Path("Old.dic");
    LoadDictionary(context_);

    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, "Dictionaly ver. error.");
    EXPECT_EQ(services_.messages[0].title, "Dictionary Check");
    EXPECT_EQ(LoadedComment(), "mill");
    EXPECT_EQ(Caption(), caption);
    EXPECT_EQ(state_.DicFileName, Path("Kestrel-ENG.dic"));
    EXPECT_EQ(state_.DictionarySlot[0], Path("Kestrel-ENG.dic"));
    EXPECT_EQ(settings_.GetSetting("MINdic", ""), Path("Kestrel-ENG.dic"));

    state_.DicFileName = Path("missing.dic");
    LoadDictionary(context_);
    EXPECT_EQ(services_.messages.back().prompt, Path("missing.dic") + " not find dictionaly.");
    test::WriteBytes(folder_.File("Bad.dic"), kHeader + "0,\"G00\"\r\n");
    state_.DicFileName = Path("Bad.dic");
    LoadDictionary(context_);
    EXPECT_TRUE(services_.messages.back().prompt.contains("line 2")) << services_.messages.back().prompt.toStdString();
    EXPECT_EQ(state_.DicFileName, Path("Kestrel-ENG.dic"));
}

TEST(ConvertedCaption, ShowsThePathBehindTheDictionaryFolderElseTheFileName) {
    EXPECT_EQ(ConvertedCaption("/dic/Kestrel.dic", "/dic"), "Converted by /Kestrel.dic");
    EXPECT_EQ(ConvertedCaption("/dic/sub/Lathe.dic", "/dic"), "Converted by /sub/Lathe.dic");
    EXPECT_EQ(ConvertedCaption("/dic/sub/Lathe.dic", "/dic/"), "Converted by sub/Lathe.dic");
    EXPECT_EQ(ConvertedCaption("/opt/qm/Kestrel-ENG.dic", "/home/op/dic"), "Converted by Kestrel-ENG.dic");
    EXPECT_EQ(ConvertedCaption("/d", "/dic"), "Converted by d");
    EXPECT_EQ(ConvertedCaption("/dictionaries/x.dic", "/dic"), "Converted by x.dic");
    EXPECT_EQ(DictionaryNameBelowFolder("/dic/sub/Lathe.dic", "/dic"), "sub/Lathe.dic");
    EXPECT_EQ(DictionaryNameBelowFolder("/Lathe.dic", "/"), "Lathe.dic");
    EXPECT_EQ(DictionaryNameBelowFolder("/opt/qm/Kestrel-ENG.dic", "/home/op/dic"), "Kestrel-ENG.dic");
}

}  // namespace
}  // namespace qm
