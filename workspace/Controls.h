#pragma once

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QTimer;

namespace qm {

class DocumentWindow;

// The main window's menus, their items and the timer Timer1: made once, named as the program
// names them, and shared by the menu bar, the toolbar, the context menus and the commands.
class Controls : public QObject {
    Q_OBJECT
public:
    explicit Controls(QObject* parent = nullptr);
    ~Controls() override;

    QMenu* MenuFile;
    QAction* MenuFileNew;
    QAction* MenuFileOpen;
    QAction* MenuFileSave;
    QAction* MenuFileExcel;
    QAction* MenuPrintSetup;
    QAction* MenuFilePrint;
    std::array<QAction*, 5> mnuFileRecentFile;
    QAction* MenuFileEnd;

    QMenu* MenuEdit;
    QAction* MenuEditCut;
    QAction* MenuEditCopy;
    QAction* MenuEditPaste;
    QAction* MenuEditAll;
    QAction* MenuEditAllCopy;

    QMenu* MenuDic;
    QAction* MenuDicSelect;
    QAction* MenuDicInport;
    QAction* MenuDicCreate;
    QAction* MenuDicWord;
    QAction* MenuDicDelete;
    QAction* MenuDicFund;
    QAction* MenuDicMissing;
    std::array<QAction*, 5> mnuDicFile;

    QMenu* MenuDisplay;
    QAction* MenuDisplayCascade;
    QAction* MenuDisplayVertical;
    QAction* MenuDisplayHorizontal;

    QMenu* MenuRun;
    QAction* MenuRunStart;
    QAction* MenuRunLine;
    QMenu* MenuRunOption;
    QAction* MenuRunOptionSpace;
    QAction* MenuRunOptionBig;
    QAction* MenuRunOptionCaps;

    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* mnuHelpAbout;

    QTimer* Timer1;

    // The menus of the menu bar, left to right.
    std::array<QMenu*, 6> MenuBar() const { return {MenuFile, MenuEdit, MenuDic, MenuDisplay, MenuRun, mnuHelp}; }

signals:
    // A conversion has put its result into the converted window.
    void Converted();
    // The source text changed: typed, pasted, undone, or assigned by the program.
    void SourceEdited();
    // A program file was read into the source window.
    void ProgramOpened();
    // A document window was made, in its frame, before it shows (again after it was closed).
    void DocumentCreated(qm::DocumentWindow* window);

private:
    QAction* Item(QMenu* menu, const char* name, const QString& caption, const char* shortcut = nullptr);
    void Separator(QMenu* menu, const char* name);
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateDictionaryMenu();
    void CreateDisplayMenu();
    void CreateConvertMenu();
    void CreateHelpMenu();
};

}  // namespace qm
