#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "Controls.h"
#include "WindowFixture.h"

namespace qm {
namespace {

struct Row {
    int depth;
    QString caption, name, shortcut;
};

// Every item of the menu bar, top to bottom, with nesting, name and shortcut.
const Row kMenuTree[] = {
    {0, "File(&F)", "MenuFile", ""},
    {1, "New(&N)", "MenuFileNew", "Ctrl+N"}, {1, "Open(&O)", "MenuFileOpen", "Ctrl+O"},
    {1, "Save(&S)", "MenuFileSave", "Ctrl+S"}, {1, "-", "dummy0", ""}, {1, "Excel", "MenuFileExcel", ""},
    {1, "-", "dummy1", ""}, {1, "Print Setup", "MenuPrintSetup", ""}, {1, "Print", "MenuFilePrint", ""},
    {1, "-", "dummy2", ""}, {1, "RecentFile1", "mnuFileRecentFile", ""}, {1, "RecentFile2", "mnuFileRecentFile", ""},
    {1, "RecentFile3", "mnuFileRecentFile", ""}, {1, "RecentFile4", "mnuFileRecentFile", ""},
    {1, "RecentFile5", "mnuFileRecentFile", ""}, {1, "-", "mnuBar", ""}, {1, "End(&X)", "MenuFileEnd", ""},
    {0, "Edit(&E)", "MenuEdit", ""},
    {1, "Cut(&X)", "MenuEditCut", "Ctrl+X"}, {1, "Copy(&C)", "MenuEditCopy", "Ctrl+C"},
    {1, "Paste(&P)", "MenuEditPaste", "Ctrl+P"}, {1, "All select(&A)", "MenuEditAll", "Ctrl+A"},
    {1, "All Copy", "MenuEditAllCopy", ""}, {1, "-", "MenuEditFindBar", ""},
    {1, "Find(&F)", "MenuEditFind", "Ctrl+F"}, {1, "Find Next(&N)", "MenuEditFindNext", "F3"},
    {1, "Find Previous(&R)", "MenuEditFindPrevious", "Shift+F3"}, {1, "Go to Line(&G)", "MenuEditGoToLine", "Ctrl+G"},
    {0, "Dictionary(&D)", "MenuDic", ""},
    {1, "Dictionary Select(&S)", "MenuDicSelect", ""}, {1, "Dictionary Import(&I)", "MenuDicInport", ""},
    {1, "Dictionary Create(&C)", "MenuDicCreate", ""}, {1, "-", "dummy5", ""},
    {1, "Word Registration(&W)", "MenuDicWord", ""}, {1, "Word Delete(&D)", "MenuDicDelete", ""},
    {1, "Word Search(&R)", "MenuDicFund", ""}, {1, "&Missing Words…", "MenuDicMissing", ""},
    {1, "-", "DUMMY3", ""},
    {1, "DicFile1", "mnuDicFile", ""}, {1, "DicFile2", "mnuDicFile", ""}, {1, "DicFile3", "mnuDicFile", ""},
    {1, "DicFile4", "mnuDicFile", ""}, {1, "DicFile5", "mnuDicFile", ""},
    {0, "Display(&V)", "MenuDisplay", ""},
    {1, "Cascade(&C)", "MenuDisplayCascade", "Ctrl+W"}, {1, "Vertical(&V)", "MenuDisplayVertical", "Ctrl+V"},
    {1, "Horizontal(&H)", "MenuDisplayHorizontal", "Ctrl+H"}, {1, "-", "MenuDisplayReadingBar", ""},
    {1, "&Scroll together", "MenuDisplayScrollTogether", ""}, {1, "-", "MenuDisplayZoomBar", ""},
    {1, "Zoom In(&I)", "MenuDisplayZoomIn", "Ctrl++"}, {1, "Zoom Out(&O)", "MenuDisplayZoomOut", "Ctrl+-"},
    {1, "Normal Size(&N)", "MenuDisplayZoomNormal", "Ctrl+0"},
    {0, "Convert(&R)", "MenuRun", ""},
    {1, "Start (&S)", "MenuRunStart", "Ctrl+R"}, {1, "-", "dummy4", ""},
    {1, "Real time Convert(&L)", "MenuRunLine", "Ctrl+L"}, {1, "-", "MnuConvBar", ""},
    {1, "Option", "MenuRunOption", ""},
    {2, "Additional Space", "MenuRunOptionSpace", ""}, {2, "Head character Big", "MenuRunOptionBig", ""},
    {2, "Caps Lock on at start", "MenuRunOptionCaps", ""},
    {0, "Help(&H)", "mnuHelp", ""},
    {1, "Quillmark Help ", "mnuHelpContents", ""}, {1, "-", "mnuHelpBar0", ""},
    {1, "Version Information(&A)", "mnuHelpAbout", ""},
};

std::string Line(int depth, const QString& caption, const QString& name, const QString& shortcut) {
    return std::to_string(depth) + "|" + caption.toStdString() + "|" + name.toStdString() + "|" +
           shortcut.toStdString();
}

// The menu's items, submenus expanded after their item, as depth|caption|name|shortcut.
void Flatten(QMenu* menu, int depth, std::vector<std::string>& lines) {
    for (QAction* action : menu->actions()) {
        QMenu* sub = action->menu();
        lines.push_back(Line(depth, action->isSeparator() ? "-" : action->text(),
                             sub != nullptr ? sub->objectName() : action->objectName(),
                             action->shortcut().toString()));
        if (sub != nullptr) Flatten(sub, depth + 1, lines);
    }
}

using MenusTest = test::WindowFixture;

TEST_F(MenusTest, MenuTreeHasEveryCaptionNameAndShortcut) {
    std::vector<std::string> got;
    for (QMenu* menu : controls_.MenuBar()) {
        got.push_back(Line(0, menu->title(), menu->objectName(), QString()));
        Flatten(menu, 1, got);
    }
    std::vector<std::string> expected;
    for (const Row& row : kMenuTree) expected.push_back(Line(row.depth, row.caption, row.name, row.shortcut));
    EXPECT_EQ(got, expected);
}

TEST_F(MenusTest, CheckMarksAndHiddenItemsAtCreation) {
    EXPECT_TRUE(controls_.MenuRunLine->isChecked());
    EXPECT_TRUE(controls_.MenuDisplayVertical->isChecked());
    EXPECT_FALSE(controls_.MenuDisplayCascade->isChecked());
    EXPECT_FALSE(controls_.MenuRunOptionSpace->isChecked());
    for (QAction* item : controls_.mnuFileRecentFile) EXPECT_FALSE(item->isVisible());
    for (QAction* item : controls_.mnuDicFile) EXPECT_FALSE(item->isVisible());
}

TEST_F(MenusTest, ToolBarHasThirteenEntriesWithKeysAsToolTips) {
    QStringList keys;
    for (QAction* action : window_.toolBar().actions()) keys << (action->isSeparator() ? "|" : action->toolTip());
    EXPECT_EQ(keys, (QStringList{"New", "Open", "Save", "|", "Print", "|", "Cut", "Copy", "Paste", "|",
                                 "Word Search", "|", "Excel"}));
    for (QAction* action : window_.toolBar().actions()) EXPECT_FALSE(!action->isSeparator() && action->icon().isNull());
}

}  // namespace
}  // namespace qm
