#include "DictionarySlots.h"
#include "Settings.h"
#include "WindowFixture.h"

namespace qm {
namespace {

// The main window's context before start-up, with a dictionary of each kind in its folder.
class DictionarySlotsTest : public test::WindowFixture {
  protected:
    DictionarySlotsTest() {
        ReadSettings(settings_, state_, Folder());
        state_.DicPathName = Folder();
        for (const auto& [name, comment] : {std::pair{"Kestrel.dic", "kestrel"},
                                            {"Kestrel-ENG.dic", "mill"},
                                            {"Merlin.dic", "merlin"},
                                            {"Lathe.dic", "lathe"}})
            WriteDic(name, "0,\"G00\",\"" + std::string(comment) + "\"\r\n");
    }
    QString LoadedComment() const {
        return QString::fromStdString(state_.Dictionary.entries[0].comment);
    }
    QString Caption() { return context().documents.Form1().windowTitle(); }
};

TEST_F(DictionarySlotsTest, StartUpLoadRecordsTheDictionaryForProgramsWithoutType) {
    LoadDictionary(context());
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
    } cases[] = {{"/nc/PART.min", "mill"},    {"/nc/PART.Nc", "merlin"},
                 {"/nc/PART", "merlin"},      {"/nc/PART.MIN.BAK", "merlin"},
                 {"/nc.v2/PART.MIN", "mill"}, {"/home/j.smith/PART", "merlin"}};
    for (const auto& c : cases) {
        SelectDictionaryForFile(context(), c.program);
        EXPECT_EQ(LoadedComment(), c.comment) << c.program;
    }
    EXPECT_EQ(state_.FileTypeKey, "");
}

TEST_F(DictionarySlotsTest, GCodeTypesHaveSlotsOfTheirOwn) {
    const struct {
        const char* program;
        const char* key;
    } cases[] = {
        {"/cnc/part.ngc", "NGCdic"}, {"/cnc/part.Gcode", "GCODEdic"}, {"/cnc/part.tap", "TAPdic"}};
    for (const auto& c : cases) {
        state_.DicFileName = Path("Kestrel.dic");
        SelectDictionaryForFile(context(), c.program);
        EXPECT_EQ(LoadedComment(), "merlin") << c.program;  // not the current dictionary
        state_.DicFileName = Path("Lathe.dic");
        LoadDictionary(context());
        EXPECT_EQ(settings_.GetSetting(c.key, ""), Path("Lathe.dic")) << c.key;
    }
    // Read back without regard to letter case, as the other slots are.
    SettingsStore stored{QString::fromStdString(folder_.File("Quillmark.ini"))};
    AppState reread;
    ReadSettings(stored, reread, Folder());
    EXPECT_EQ(reread.DictionarySlot[DictionarySlotIndex("TAP")], Path("Lathe.dic"));
}

TEST_F(DictionarySlotsTest, DictionaryChosenForATypeIsStoredForIt) {
    SelectDictionaryForFile(context(), "/nc/O1.TOP");  // TOP's default does not exist here
    ASSERT_EQ(services_.messages.size(), 1u);
    state_.DicFileName = Path("Lathe.dic");
    LoadDictionary(context());
    EXPECT_EQ(settings_.GetSetting("TOPDic", ""), Path("Lathe.dic"));

    SelectDictionaryForFile(context(), "/nc/O2.MIN");
    EXPECT_EQ(LoadedComment(), "mill");
    SelectDictionaryForFile(context(), "/other/O3.top");
    EXPECT_EQ(LoadedComment(), "lathe");
    // An unrecognised type keeps the current dictionary and writes no slot.
    const QString before = QString::fromStdString(test::ReadBytes(folder_.File("Quillmark.ini")));
    SelectDictionaryForFile(context(), "/nc/O4.DAT");
    EXPECT_EQ(LoadedComment(), "lathe");
    EXPECT_EQ(QString::fromStdString(test::ReadBytes(folder_.File("Quillmark.ini"))), before);
}

TEST_F(DictionarySlotsTest, RefusedDictionaryChangesNothingAndRestoresDicFileName) {
    SelectDictionaryForFile(context(), "/nc/O1.MIN");
    const QString caption = Caption();
    const std::string header(kHeader, std::strlen(kHeader) - 2);
    test::WriteBytes(folder_.File("Old.dic"), "Translator Dictionary  Ver.1.0  Hollowmere\r\n");
    test::WriteBytes(folder_.File("Bad.dic"), header + "\r\n0,\"G00\"\r\n");
    test::WriteBytes(folder_.File("Mac.dic"), header + "\r0,\"G00\",\"FAST\"\r0,\"M30\",\"END\"\r");
    const struct {
        const char* name;
        QString says;
        bool whole;  // the message is that text, else holds it
    } refused[] = {{"Old.dic", "Dictionaly ver. error.", true},
                   {"missing.dic", Path("missing.dic") + " not find dictionaly.", true},
                   {"Bad.dic", "line 2", false},
                   {"Mac.dic", "end in CR alone", false}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        services_.messages.clear();
        state_.DicFileName = Path(c.name);
        LoadDictionary(context());
        ASSERT_EQ(services_.messages.size(), 1u);
        const QString& prompt = services_.messages[0].prompt;
        EXPECT_TRUE(c.whole ? prompt == c.says : prompt.contains(c.says)) << prompt.toStdString();
        EXPECT_EQ(services_.messages[0].title, "Dictionary Check");
        EXPECT_EQ(LoadedComment(), "mill");
        EXPECT_EQ(state_.Dictionary.LastIndex, 0);
        EXPECT_EQ(Caption(), caption);
        EXPECT_EQ(state_.DicFileName, Path("Kestrel-ENG.dic"));
        EXPECT_EQ(state_.DictionarySlot[0], Path("Kestrel-ENG.dic"));
        EXPECT_EQ(settings_.GetSetting("MINdic", ""), Path("Kestrel-ENG.dic"));
    }
}

TEST(ConvertedCaption, ShowsThePathBehindTheDictionaryFolderElseTheFileName) {
    EXPECT_EQ(ConvertedCaption("/dic/Kestrel.dic", "/dic"), "Converted by /Kestrel.dic");
    EXPECT_EQ(ConvertedCaption("/dic/sub/Lathe.dic", "/dic"), "Converted by /sub/Lathe.dic");
    EXPECT_EQ(ConvertedCaption("/dic/sub/Lathe.dic", "/dic/"), "Converted by sub/Lathe.dic");
    EXPECT_EQ(ConvertedCaption("/opt/qm/Kestrel-ENG.dic", "/home/op/dic"),
              "Converted by Kestrel-ENG.dic");
    EXPECT_EQ(ConvertedCaption("/d", "/dic"), "Converted by d");
    EXPECT_EQ(ConvertedCaption("/dictionaries/x.dic", "/dic"), "Converted by x.dic");
    EXPECT_EQ(DictionaryNameBelowFolder("/dic/sub/Lathe.dic", "/dic"), "sub/Lathe.dic");
    EXPECT_EQ(DictionaryNameBelowFolder("/Lathe.dic", "/"), "Lathe.dic");
    EXPECT_EQ(DictionaryNameBelowFolder("/opt/qm/Kestrel-ENG.dic", "/home/op/dic"),
              "Kestrel-ENG.dic");
}

}  // namespace
}  // namespace qm
