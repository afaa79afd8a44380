#include <QMdiArea>
#include <QMdiSubWindow>

#include "WindowFixture.h"

namespace qm {
namespace {

class MainWindowTest : public test::WindowFixture {};

TEST_F(MainWindowTest, StartsFromAnEmptyStoreWithTheDefaults) {
    window_.StartUp(QString());
    EXPECT_EQ(window_.windowTitle(), "Quillmark Eng Ver.2.38");
    // 1000 by 12000 twips at 96 dots per inch: 15 twips to the pixel.
    EXPECT_EQ(window_.pos(), QPoint(67, 67));
    EXPECT_EQ(window_.size(), QSize(800, 567));
    EXPECT_EQ(state_.ProgramFileName, "New.min");
    EXPECT_EQ(state_.RealTimeConvert, 1);
    EXPECT_TRUE(state_.DictionaryLoaded);
    ASSERT_EQ(window_.mdiArea().subWindowList().size(), 1);
    EXPECT_EQ(window_.mdiArea().subWindowList()[0]->windowTitle(), "Converted by /Kestrel.dic");
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndSwitchesCapsLockOff) {
    settings_.SaveSetting("MainLeft", "1500");
    settings_.SaveSetting("MainWidth", "9000");
    window_.StartUp(QString());
    services_.capsLock = true;
    window_.close();
    EXPECT_FALSE(services_.capsLock);
    const SettingsStore reread(Path("Quillmark.ini"));
    EXPECT_EQ(reread.GetSetting("MainLeft", ""), "1500");
    EXPECT_EQ(reread.GetSetting("MainWidth", ""), "9000");
    EXPECT_EQ(reread.GetSetting("DicFileName", ""), Path("Kestrel.dic"));
    EXPECT_EQ(reread.GetSetting("RecentFile1", "none"), "none");
}

TEST_F(MainWindowTest, MissingDictionaryAtStartUpIsReportedAndStartUpGoesOn) {
    settings_.SaveSetting("DicFileName", "/nowhere/X.dic");
    window_.StartUp(QString());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, "/nowhere/X.dic not find dictionaly.");
    EXPECT_FALSE(state_.DictionaryLoaded);
    EXPECT_TRUE(window_.mdiArea().subWindowList().isEmpty());
    EXPECT_EQ(state_.ProgramFileName, "New.min");
}

TEST(CommandLinePath, TakesThePathFromTheArgumentText) {
    EXPECT_EQ(CommandLinePath("\"/nc/my part.MIN\""), "/nc/my part.MIN");
    EXPECT_EQ(CommandLinePath("-x \"/nc/a.MIN\" trailing"), "/nc/a.MIN");
    EXPECT_EQ(CommandLinePath("\"/nc/open end.MIN"), "/nc/open end.MIN");
    EXPECT_EQ(CommandLinePath("/nc/plain name.MIN"), "/nc/plain name.MIN");
    EXPECT_EQ(CommandLinePath("\"\""), "");
}

TEST_F(MainWindowTest, CommandLineProgramIsOpenedRememberedAndConvertedByTheTimer) {
    test::WriteBytes(folder_.File("Kestrel-ENG.dic"), std::string(kHeader) + "0,\"G00\",\"FAST\"\r\n");
    test::WriteBytes(folder_.File("my part.MIN"), "G00");
    window_.StartUp("\"" + Path("my part.MIN") + "\"");
    EXPECT_EQ(SourceText(), "G00");
    EXPECT_EQ(state_.SourceChanged, 0);
    EXPECT_EQ(controls_.mnuFileRecentFile[0]->text(), Path("my part.MIN"));
    EXPECT_EQ(settings_.GetSetting("MINdic", ""), Path("Kestrel-ENG.dic"));
    EXPECT_TRUE(services_.capsLock);
    EXPECT_TRUE(controls_.Timer1->isActive());
    RunEvents(600);
    EXPECT_EQ(ConvertedText(), "Fast\r\n");
}

TEST_F(MainWindowTest, StartUpRestoresRecentItemsAndOptions) {
    settings_.SaveSetting("RecentFile2", "/nc/b.MIN");
    settings_.SaveSetting("DicFile1", "/d/x.dic");
    settings_.SaveSetting("SpaceAdd", "True");
    window_.StartUp(QString());
    EXPECT_FALSE(controls_.mnuFileRecentFile[0]->isVisible());
    EXPECT_TRUE(controls_.mnuFileRecentFile[1]->isVisible());
    EXPECT_EQ(controls_.mnuFileRecentFile[1]->text(), "/nc/b.MIN");
    EXPECT_EQ(controls_.mnuDicFile[0]->text(), "/d/x.dic");
    EXPECT_TRUE(controls_.MenuRunOptionSpace->isChecked());
    EXPECT_FALSE(controls_.MenuRunOptionBig->isChecked());
}

TEST_F(MainWindowTest, EndingWithAnEditedSourceAsksFirst) {
    window_.StartUp(QString());
    TypeIntoSource("G00");
    services_.AnswerMessage(MsgResult::Cancel);
    EXPECT_FALSE(window_.MenuFileEnd_Click());
    EXPECT_EQ(ended_, 0);
    EXPECT_EQ(services_.messages.back().prompt, "Change origin file. Do you want save ?");
    EXPECT_EQ(services_.messages.back().buttons, MsgButtons::YesNoCancel);

    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(Path("saved.MIN"));
    EXPECT_TRUE(window_.MenuFileEnd_Click());
    EXPECT_EQ(test::ReadBytes(folder_.File("saved.MIN")), "G00");
    EXPECT_EQ(ended_, 1);
    EXPECT_EQ(services_.fileDialogs.back().initialFile, "New.min");
}

TEST_F(MainWindowTest, EndingWithoutSavingWhenTheUserSaysNo) {
    window_.StartUp(QString());
    TypeIntoSource("G00");
    services_.AnswerMessage(MsgResult::No);
    window_.close();
    EXPECT_EQ(ended_, 1);
    EXPECT_TRUE(services_.fileDialogs.empty());
    EXPECT_EQ(SettingsStore(Path("Quillmark.ini")).GetSetting("ScreenFontName", ""), "Terminal");
}

}  // namespace
}  // namespace qm
