#include "Controls.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace qm {

Controls::Controls(QObject* parent) : QObject(parent), Timer1(new QTimer(this)) {
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    CreateFileMenu();
    CreateEditMenu();
    CreateDictionaryMenu();
    CreateDisplayMenu();
    CreateConvertMenu();
    CreateHelpMenu();
}

// The menus have no parent widget: they are deleted here.
Controls::~Controls() {
    for (QMenu* menu : MenuBar()) delete menu;
}

QAction* Controls::Item(QMenu* menu, const char* name, const QString& caption, const char* shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (shortcut != nullptr) action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    return action;
}

void Controls::Separator(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); }

void Controls::CreateFileMenu() {
    MenuFile = new QMenu(QStringLiteral("File(&F)"));
    MenuFile->setObjectName("MenuFile");
    MenuFile->setSeparatorsCollapsible(false);  // the bars around the recent list show when it is empty
    MenuFileNew = Item(MenuFile, "MenuFileNew", "New(&N)", "Ctrl+N");
    MenuFileOpen = Item(MenuFile, "MenuFileOpen", "Open(&O)", "Ctrl+O");
    MenuFileSave = Item(MenuFile, "MenuFileSave", "Save(&S)", "Ctrl+S");
    Separator(MenuFile, "dummy0");
    MenuFileExcel = Item(MenuFile, "MenuFileExcel", "Excel");
    Separator(MenuFile, "dummy1");
    MenuPrintSetup = Item(MenuFile, "MenuPrintSetup", "Print Setup");
    MenuFilePrint = Item(MenuFile, "MenuFilePrint", "Print");
    Separator(MenuFile, "dummy2");
    for (int n = 1; n <= 5; ++n) {
        QAction* item = Item(MenuFile, "mnuFileRecentFile", QStringLiteral("RecentFile%1").arg(n));
        item->setData(n);
        item->setVisible(false);
        mnuFileRecentFile[n - 1] = item;
    }
    Separator(MenuFile, "mnuBar");
    MenuFileEnd = Item(MenuFile, "MenuFileEnd", "End(&X)");
}

void Controls::CreateEditMenu() {
    MenuEdit = new QMenu(QStringLiteral("Edit(&E)"));
    MenuEdit->setObjectName("MenuEdit");
    MenuEditCut = Item(MenuEdit, "MenuEditCut", "Cut(&X)", "Ctrl+X");
    MenuEditCopy = Item(MenuEdit, "MenuEditCopy", "Copy(&C)", "Ctrl+C");
    MenuEditPaste = Item(MenuEdit, "MenuEditPaste", "Paste(&P)", "Ctrl+P");
    MenuEditAll = Item(MenuEdit, "MenuEditAll", "All select(&A)", "Ctrl+A");
    MenuEditAllCopy = Item(MenuEdit, "MenuEditAllCopy", "All Copy");
}

void Controls::CreateDictionaryMenu() {
    MenuDic = new QMenu(QStringLiteral("Dictionary(&D)"));
    MenuDic->setObjectName("MenuDic");
    MenuDic->setSeparatorsCollapsible(false);
    MenuDicSelect = Item(MenuDic, "MenuDicSelect", "Dictionary Select(&S)");
    MenuDicInport = Item(MenuDic, "MenuDicInport", "Dictionary Import(&I)");
    MenuDicCreate = Item(MenuDic, "MenuDicCreate", "Dictionary Create(&C)");
    Separator(MenuDic, "dummy5");
    MenuDicWord = Item(MenuDic, "MenuDicWord", "Word Registration(&W)");
    MenuDicDelete = Item(MenuDic, "MenuDicDelete", "Word Delete(&D)");
    MenuDicFund = Item(MenuDic, "MenuDicFund", "Word Search(&R)");
    MenuDicMissing = Item(MenuDic, "MenuDicMissing", QStringLiteral("&Missing Words\u2026"));
    Separator(MenuDic, "DUMMY3");
    for (int n = 1; n <= 5; ++n) {
        QAction* item = Item(MenuDic, "mnuDicFile", QStringLiteral("DicFile%1").arg(n));
        item->setData(n);
        item->setVisible(false);
        mnuDicFile[n - 1] = item;
    }
}

void Controls::CreateDisplayMenu() {
    MenuDisplay = new QMenu(QStringLiteral("Display(&V)"));
    MenuDisplay->setObjectName("MenuDisplay");
    MenuDisplayCascade = Item(MenuDisplay, "MenuDisplayCascade", "Cascade(&C)", "Ctrl+W");
    MenuDisplayVertical = Item(MenuDisplay, "MenuDisplayVertical", "Vertical(&V)", "Ctrl+V");
    MenuDisplayHorizontal = Item(MenuDisplay, "MenuDisplayHorizontal", "Horizontal(&H)", "Ctrl+H");
    for (QAction* item : {MenuDisplayCascade, MenuDisplayVertical, MenuDisplayHorizontal}) item->setCheckable(true);
    MenuDisplayVertical->setChecked(true);
}

void Controls::CreateConvertMenu() {
    MenuRun = new QMenu(QStringLiteral("Convert(&R)"));
    MenuRun->setObjectName("MenuRun");
    MenuRunStart = Item(MenuRun, "MenuRunStart", "Start (&S)", "Ctrl+R");
    Separator(MenuRun, "dummy4");
    MenuRunLine = Item(MenuRun, "MenuRunLine", "Real time Convert(&L)", "Ctrl+L");
    MenuRunLine->setCheckable(true);
    MenuRunLine->setChecked(true);
    Separator(MenuRun, "MnuConvBar");
    MenuRunOption = MenuRun->addMenu(QStringLiteral("Option"));
    MenuRunOption->setObjectName("MenuRunOption");
    MenuRunOptionSpace = Item(MenuRunOption, "MenuRunOptionSpace", "Additional Space");
    MenuRunOptionBig = Item(MenuRunOption, "MenuRunOptionBig", "Head character Big");
    MenuRunOptionCaps = Item(MenuRunOption, "MenuRunOptionCaps", "Caps Lock on at start");
    MenuRunOptionSpace->setCheckable(true);
    MenuRunOptionBig->setCheckable(true);
    MenuRunOptionCaps->setCheckable(true);
    MenuRunOptionCaps->setChecked(true);
}

void Controls::CreateHelpMenu() {
    mnuHelp = new QMenu(QStringLiteral("Help(&H)"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpContents = Item(mnuHelp, "mnuHelpContents", "Quillmark Help ");
    Separator(mnuHelp, "mnuHelpBar0");
    mnuHelpAbout = Item(mnuHelp, "mnuHelpAbout", "Version Information(&A)");
}

}  // namespace qm
