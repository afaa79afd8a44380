#pragma once

#include <QObject>

#include <string>

#include "DicFileOpen.h"

class QWidget;

namespace qm {

struct Context;
class Form2;
class Form3;
class Form4;
class ImportDictionary;
class MissingWordsWindow;

// The Dictionary menu's commands and dialogs. Each dialog is made the first time it is used,
// parented to the main window, and kept; every opening starts it afresh.
class DictionaryCommands : public QObject {
    Q_OBJECT
public:
    DictionaryCommands(Context& context, QWidget& mainWindow);

    void MenuDicSelect_Click();
    void MenuDicCreate_Click();
    void mnuDicFile_Click(int index);
    void MenuDicWord_Click();
    void MenuDicDelete_Click();
    void MenuDicFund_Click();
    void MenuDicInport_Click();
    void MenuDicMissing_Click();
    // Word registration opened for a missing word; each word added converts the program again.
    void RegisterMissingWord(const std::string& word);

    Form2& form2();
    Form3& form3();
    Form4& form4();
    ImportDictionary& importDictionary();
    MissingWordsWindow& missingWords();
    DicFileOpen& dicFileOpen() { return dicFileOpen_; }

private:
    Context& context_;
    QWidget& mainWindow_;
    DicFileOpen dicFileOpen_;
    Form2* form2_ = nullptr;
    Form3* form3_ = nullptr;
    Form4* form4_ = nullptr;
    ImportDictionary* import_ = nullptr;
    MissingWordsWindow* missingWords_ = nullptr;
};

// Connects the Dictionary menu items, and with them the toolbar's "Word Search", to their
// commands, which live as long as the main window.
DictionaryCommands& ConnectDictionaryCommands(Context& context, QWidget& mainWindow);

}  // namespace qm
