// The main window: start-up, exit, its menus and tool bar.
#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QToolBar>

#include <sys/stat.h>

#include "Controls.h"
#include "InstalledFont.h"
#include "ReadingAids.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class MainWindowTest : public test::WindowFixture {
  protected:
    QFont EditorFont() { return context().documents.OriginalFile().Text1().font(); }
};

TEST_F(MainWindowTest, StartsFromAnEmptyStoreWithTheDefaults) {
    window_.StartUp(QString());
    EXPECT_EQ(window_.windowTitle(), "Quillmark Eng Ver.2.38");
    // 1000 by 12000 twips at 96 dots per inch: 15 twips to the pixel.
    EXPECT_EQ(window_.pos(), QPoint(67, 67));
    EXPECT_EQ(window_.size(), QSize(800, 567));
    EXPECT_EQ(state_.ProgramFileName, "New.min");
    EXPECT_TRUE(state_.DictionaryLoaded);
    ASSERT_EQ(window_.mdiArea().subWindowList().size(), 1);
    EXPECT_EQ(window_.mdiArea().subWindowList()[0]->windowTitle(), "Converted by /Kestrel.dic");
}

TEST_F(MainWindowTest, ClosingWritesTheSettings) {
    settings_.SaveSetting("MainLeft", "1500");
    settings_.SaveSetting("MainWidth", "9000");
    window_.StartUp(QString());
    window_.close();
    const SettingsStore reread(Path("Quillmark.ini"));
    EXPECT_EQ(reread.GetSetting("MainLeft", ""), "1500");
    EXPECT_EQ(reread.GetSetting("MainWidth", ""), "9000");
    EXPECT_EQ(reread.GetSetting("DicFileName", ""), Path("Kestrel.dic"));
    EXPECT_EQ(reread.GetSetting("RecentFile1", "none"), "none");
}

struct CapsCase {
    const char* name;
    const char* stored;  // the "CapsLock" setting before start; null: none
    bool toggled;        // the option chosen once after start
    bool checked, onAtStart;
    bool onAfterExit;  // the user has Caps Lock on when the program ends
    const char* storedAfter;
};
const CapsCase kCapsCases[] = {
    {"OnAsAlways", nullptr, false, true, true, false, "True"},  // on, as always
    {"SwitchedOff", nullptr, true, true, true, true,
     "False"},  // off: exit leaves the key as the user has it
    {"StoredOff", "False", false, false, false, true, "False"},  // the keyboard is left alone
    {"SwitchedOnAgain", "False", true, false, false, false,
     "True"},  // on again: switched off at exit
};

class CapsLockOptionTest : public test::WindowFixture,
                           public ::testing::WithParamInterface<CapsCase> {};

TEST_P(CapsLockOptionTest, CapsLockIsSwitchedOnlyWhileTheOptionIsOn) {
    const CapsCase& c = GetParam();
    if (c.stored != nullptr)
        settings_.SaveSetting("CapsLock", c.stored);
    window_.StartUp(QString());
    EXPECT_EQ(controls_.MenuRunOptionCaps->isChecked(), c.checked);
    EXPECT_EQ(services_.capsLock, c.onAtStart);
    if (c.toggled)
        controls_.MenuRunOptionCaps->trigger();
    EXPECT_EQ(controls_.MenuRunOptionCaps->isChecked(), c.checked != c.toggled);
    services_.capsLock = true;
    window_.close();
    EXPECT_EQ(ended_, 1);
    EXPECT_EQ(services_.capsLock, c.onAfterExit);
    EXPECT_EQ(SettingsStore(Path("Quillmark.ini")).GetSetting("capslock", ""), c.storedAfter);
}
INSTANTIATE_TEST_SUITE_P(Settings, CapsLockOptionTest, ::testing::ValuesIn(kCapsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, MissingDictionaryAtStartUpIsReportedAndStartUpGoesOn) {
    settings_.SaveSetting("DicFileName", "/nowhere/X.dic");
    window_.StartUp(QString());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, "/nowhere/X.dic not find dictionaly.");
    EXPECT_FALSE(state_.DictionaryLoaded);
    EXPECT_TRUE(window_.mdiArea().subWindowList().isEmpty());
    EXPECT_EQ(state_.ProgramFileName, "New.min");
}

TEST_F(MainWindowTest, ASettingsFileThatIsANamedPipeIsSkippedWithAMessage) {
    ASSERT_EQ(::mkfifo(folder_.File("fifo.ini").c_str(), 0644), 0);
    SettingsStore fifo(Path("fifo.ini"));
    AppState state;
    MainWindow window(state, fifo, services_, Folder());
    window.StartUp(QString());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].prompt.contains("is not a plain file"))
        << services_.messages[0].prompt.toStdString();
    EXPECT_TRUE(window.MenuFileEnd_Click());  // the settings are not written into the pipe either
}

TEST(CommandLinePath, TakesThePathFromTheArgumentText) {
    EXPECT_EQ(CommandLinePath("\"/nc/my part.MIN\""), "/nc/my part.MIN");
    EXPECT_EQ(CommandLinePath("-x \"/nc/a.MIN\" trailing"), "/nc/a.MIN");
    EXPECT_EQ(CommandLinePath("\"/nc/open end.MIN"), "/nc/open end.MIN");
    EXPECT_EQ(CommandLinePath("/nc/plain name.MIN"), "/nc/plain name.MIN");
    EXPECT_EQ(CommandLinePath("\"\""), "");
}

TEST_F(MainWindowTest, CommandLineProgramIsOpenedRememberedAndConvertedByTheTimer) {
    WriteDic("Kestrel-ENG.dic", "0,\"G00\",\"FAST\"\r\n");
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

TEST_F(MainWindowTest, ScreenFontIsTheStoredOneWhenInstalledOtherwiseTheFixedPitchFont) {
    const QFont fixed = FixedPitchFont();
    if (QFontDatabase::hasFamily("Terminal"))
        GTEST_SKIP() << "a font named Terminal is installed";
    window_.StartUp(QString());  // "Terminal", the default, is a Windows font
    EXPECT_EQ(EditorFont().family(), fixed.family());
    EXPECT_TRUE(QFontInfo(EditorFont()).fixedPitch());
}

TEST_F(MainWindowTest, InstalledScreenFontIsUsedAtItsSize) {
    const QString installed = QFontDatabase::families().first();
    settings_.SaveSetting("ScreenFontName", installed);
    settings_.SaveSetting("ScreenFontSize", "17");
    window_.StartUp(QString());
    EXPECT_EQ(EditorFont().family(), installed);
    EXPECT_EQ(EditorFont().pointSize(), 17);
    EXPECT_EQ(context().documents.Form1().Text1().font().pointSize(), 17);
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
}

// ---- Menus and tool bar ---------------------------------------------------------------------

// Every item of the menu bar, top to bottom, as depth|caption|name|shortcut|state at creation
// ("on": checked, "hidden": not shown).
// clang-format off
const char* const kMenuTree[] = {
    "0|File(&F)|MenuFile||", "1|New(&N)|MenuFileNew|Ctrl+N|", "1|Open(&O)|MenuFileOpen|Ctrl+O|",
    "1|Save(&S)|MenuFileSave|Ctrl+S|", "1|-|dummy0||", "1|Excel|MenuFileExcel||", "1|-|dummy1||",
    "1|Print Setup|MenuPrintSetup||", "1|Print|MenuFilePrint||", "1|-|dummy2||",
    "1|RecentFile1|mnuFileRecentFile||hidden", "1|RecentFile2|mnuFileRecentFile||hidden",
    "1|RecentFile3|mnuFileRecentFile||hidden", "1|RecentFile4|mnuFileRecentFile||hidden",
    "1|RecentFile5|mnuFileRecentFile||hidden", "1|-|mnuBar||", "1|End(&X)|MenuFileEnd||",
    "0|Edit(&E)|MenuEdit||", "1|Cut(&X)|MenuEditCut|Ctrl+X|", "1|Copy(&C)|MenuEditCopy|Ctrl+C|",
    "1|Paste(&P)|MenuEditPaste|Ctrl+P|", "1|All select(&A)|MenuEditAll|Ctrl+A|",
    "1|All Copy|MenuEditAllCopy||", "1|-|MenuEditFindBar||", "1|Find(&F)|MenuEditFind|Ctrl+F|",
    "1|Find Next(&N)|MenuEditFindNext|F3|", "1|Find Previous(&R)|MenuEditFindPrevious|Shift+F3|",
    "1|Go to Line(&G)|MenuEditGoToLine|Ctrl+G|",
    "0|Dictionary(&D)|MenuDic||", "1|Dictionary Select(&S)|MenuDicSelect||",
    "1|Dictionary Import(&I)|MenuDicInport||", "1|Dictionary Create(&C)|MenuDicCreate||",
    "1|-|dummy5||", "1|Word Registration(&W)|MenuDicWord||", "1|Word Delete(&D)|MenuDicDelete||",
    "1|Word Search(&R)|MenuDicFund||", "1|&Missing Words…|MenuDicMissing||", "1|-|DUMMY3||",
    "1|DicFile1|mnuDicFile||hidden", "1|DicFile2|mnuDicFile||hidden",
    "1|DicFile3|mnuDicFile||hidden", "1|DicFile4|mnuDicFile||hidden",
    "1|DicFile5|mnuDicFile||hidden",
    "0|Display(&V)|MenuDisplay||", "1|Cascade(&C)|MenuDisplayCascade|Ctrl+W|",
    "1|Vertical(&V)|MenuDisplayVertical|Ctrl+V|on",
    "1|Horizontal(&H)|MenuDisplayHorizontal|Ctrl+H|", "1|-|MenuDisplayReadingBar||",
    "1|&Scroll together|MenuDisplayScrollTogether||on", "1|-|MenuDisplayZoomBar||",
    "1|Zoom In(&I)|MenuDisplayZoomIn|Ctrl++|", "1|Zoom Out(&O)|MenuDisplayZoomOut|Ctrl+-|",
    "1|Normal Size(&N)|MenuDisplayZoomNormal|Ctrl+0|",
    "0|Convert(&R)|MenuRun||", "1|Start (&S)|MenuRunStart|Ctrl+R|", "1|-|dummy4||",
    "1|Real time Convert(&L)|MenuRunLine|Ctrl+L|on", "1|-|MnuConvBar||", "1|Option|MenuRunOption||",
    "2|Additional Space|MenuRunOptionSpace||", "2|Head character Big|MenuRunOptionBig||",
    "2|Caps Lock on at start|MenuRunOptionCaps||on",
    "0|Help(&H)|mnuHelp||", "1|Quillmark Help |mnuHelpContents||", "1|-|mnuHelpBar0||",
    "1|Version Information(&A)|mnuHelpAbout||",
};
// clang-format on

// The menu's items, submenus expanded after their item, as in kMenuTree.
void Flatten(QMenu* menu, int depth, std::vector<std::string>& lines) {
    for (QAction* action : menu->actions()) {
        QMenu* sub = action->menu();
        const char* shown = !action->isVisible() ? "hidden" : action->isChecked() ? "on" : "";
        lines.push_back(std::to_string(depth) + "|" +
                        (action->isSeparator() ? "-" : action->text()).toStdString() + "|" +
                        (sub != nullptr ? sub->objectName() : action->objectName()).toStdString() +
                        "|" + action->shortcut().toString().toStdString() + "|" + shown);
        if (sub != nullptr)
            Flatten(sub, depth + 1, lines);
    }
}

TEST_F(MainWindowTest, MenuTreeHasEveryCaptionNameShortcutAndCheckMark) {
    std::vector<std::string> got;
    for (QMenu* menu : controls_.MenuBar()) {
        got.push_back("0|" + menu->title().toStdString() + "|" + menu->objectName().toStdString() +
                      "||");
        Flatten(menu, 1, got);
    }
    EXPECT_EQ(got, std::vector<std::string>(std::begin(kMenuTree), std::end(kMenuTree)));
}

TEST_F(MainWindowTest, ToolBarHasThirteenEntriesWithKeysAsToolTips) {
    QStringList keys;
    for (QAction* action : window_.toolBar().actions()) {
        keys << (action->isSeparator() ? "|" : action->toolTip());
        EXPECT_FALSE(!action->isSeparator() && action->icon().isNull());
    }
    EXPECT_EQ(keys, (QStringList{"New", "Open", "Save", "|", "Print", "|", "Cut", "Copy", "Paste",
                                 "|", "Word Search", "|", "Excel"}));
}

}  // namespace
}  // namespace qm
