#include "DictionaryCommands.h"

#include <QAction>
#include <QDialog>
#include <QWidget>

#include "CommandGuard.h"
#include "Context.h"
#include "Controls.h"
#include "ConvertCommands.h"
#include "DocumentWindows.h"
#include "MissingWordsWindow.h"
#include "Services.h"
#include "DictionarySelect.h"
#include "DictionaryStore.h"
#include "ImportDictionary.h"
#include "WordDelete.h"
#include "WordRegistration.h"
#include "WordSearch.h"

namespace qm {

DictionaryCommands::DictionaryCommands(Context& context, QWidget& mainWindow)
    : QObject(&mainWindow), context_(context), mainWindow_(mainWindow) {
    setObjectName("DictionaryCommands");
}

Form2& DictionaryCommands::form2() {
    if (form2_ == nullptr) form2_ = new Form2(context_, mainWindow_);
    return *form2_;
}

Form3& DictionaryCommands::form3() {
    if (form3_ == nullptr) form3_ = new Form3(context_, mainWindow_);
    return *form3_;
}

Form4& DictionaryCommands::form4() {
    if (form4_ == nullptr) form4_ = new Form4(context_, mainWindow_);
    return *form4_;
}

ImportDictionary& DictionaryCommands::importDictionary() {
    if (import_ == nullptr) import_ = new ImportDictionary(context_, mainWindow_);
    return *import_;
}

MissingWordsWindow& DictionaryCommands::missingWords() {
    if (missingWords_ == nullptr) {
        missingWords_ = new MissingWordsWindow(context_, mainWindow_,
                                               [this](const std::string& word) { RegisterMissingWord(word); });
    }
    return *missingWords_;
}

void DictionaryCommands::MenuDicSelect_Click() { qm::MenuDicSelect_Click(context_, dicFileOpen_); }

void DictionaryCommands::MenuDicCreate_Click() { qm::MenuDicCreate_Click(context_, dicFileOpen_); }

void DictionaryCommands::mnuDicFile_Click(int index) { qm::mnuDicFile_Click(context_, index); }

void DictionaryCommands::MenuDicWord_Click() {
    if (!RequireLoadedDictionary(context_)) return;
    form2().Open();
    context_.services.ShowModal(form2());
}

void DictionaryCommands::MenuDicDelete_Click() {
    if (!RequireLoadedDictionary(context_)) return;
    form3().Open();
    context_.services.ShowModal(form3());
}

void DictionaryCommands::MenuDicFund_Click() {
    form4().Open();
    context_.services.ShowModal(form4());
}

void DictionaryCommands::MenuDicInport_Click() { importDictionary().Import(dicFileOpen_); }

void DictionaryCommands::MenuDicMissing_Click() { missingWords().Open(); }

void DictionaryCommands::RegisterMissingWord(const std::string& word) {
    if (!RequireLoadedDictionary(context_)) return;
    form2().Open(word);
    const QMetaObject::Connection converting = connect(&form2(), &Form2::wordAdded, this, [this] {
        if (context_.documents.HasOriginalFile()) ConvertProgram(context_);
    });
    context_.services.ShowModal(form2());
    disconnect(converting);
}

DictionaryCommands& ConnectDictionaryCommands(Context& context, QWidget& mainWindow) {
    auto* commands = new DictionaryCommands(context, mainWindow);
    Controls& c = context.controls;
    Services& services = context.services;
    const auto on = [commands, &services](QAction* item, void (DictionaryCommands::*command)()) {
        QObject::connect(item, &QAction::triggered, commands, Guarded(services, [commands, command] {
            (commands->*command)();
        }));
    };
    on(c.MenuDicSelect, &DictionaryCommands::MenuDicSelect_Click);
    on(c.MenuDicCreate, &DictionaryCommands::MenuDicCreate_Click);
    on(c.MenuDicInport, &DictionaryCommands::MenuDicInport_Click);
    on(c.MenuDicWord, &DictionaryCommands::MenuDicWord_Click);
    on(c.MenuDicDelete, &DictionaryCommands::MenuDicDelete_Click);
    on(c.MenuDicFund, &DictionaryCommands::MenuDicFund_Click);
    on(c.MenuDicMissing, &DictionaryCommands::MenuDicMissing_Click);
    for (QAction* item : c.mnuDicFile) {
        QObject::connect(item, &QAction::triggered, commands,
                         Guarded(services, [commands, item] { commands->mnuDicFile_Click(item->data().toInt()); }));
    }
    return *commands;
}

}  // namespace qm
