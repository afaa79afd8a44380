#include "WordDelete.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppState.h"
#include "CommandGuard.h"
#include "Context.h"
#include "DictionarySlots.h"
#include "DictionaryStore.h"
#include "Services.h"
#include "TextBridge.h"
#include "WordLookup.h"

namespace qm {

Form3::Form3(Context& context, QWidget& mainWindow)
    : WordDialog(context, mainWindow, "Form3", QStringLiteral("Word Delete")),
      Label1(NewLabel("Label1", QStringLiteral("Word"))),
      Text1(NewTextBox("Text1")),
      Label2(NewLabel("Label2", QStringLiteral("Comment"))),
      Label4(NewLabel("Label4", QString())),
      Label3(NewLabel("Label3", QStringLiteral("Number"))),
      Label5(NewLabel("Label5", QString())),
      Command1(NewButton("Command1", QStringLiteral("Delete"))),
      Command2(NewButton("Command2", QStringLiteral("Close"))) {
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1, 1, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Label4, 1, 1, 1, 3);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Label5, 2, 1);
    grid->addWidget(Command1, 2, 2);
    grid->addWidget(Command2, 2, 3);
    Text1->setMinimumWidth(320);
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyEnter(); });
    connect(Command1, &QPushButton::clicked, this, Guarded(context_.services, [this] { Command1_Click(); }));
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void Form3::Open() {
    context_.services.SetBusy(true, &mainWindow_);
    setWindowTitle(QStringLiteral("Word delete ") + context_.state.DicFileName);
    Command1->setEnabled(false);
    Text1->setEnabled(true);
    ShowCount();
    Text1->clear();
    Text1_Change();
    Text1->setFocus();
}

void Form3::ShowCount() { Label5->setText(QString::number(EntryCount(context_.state.Dictionary))); }

void Form3::Text1_Change() {
    Label4->clear();
    Command1->setEnabled(false);
    const DictionaryTable& table = context_.state.Dictionary;
    const int found = FindWord(table, FromQString(Text1->text()));
    if (found < 0) return;
    Label4->setText(ToQString(table.entries[found].comment));
    Command1->setEnabled(true);
    matched_ = found;
}

void Form3::Text1_KeyEnter() {
    if (Command1->isEnabled()) Command1->setFocus();
}

void Form3::Command1_Click() {
    if (!RequireLoadedDictionary(context_) || !Command1->isEnabled()) return;
    Services& services = context_.services;
    services.SetBusy(true);
    // The word, not the position: the file read again may hold it elsewhere, or not at all.
    const std::string word = context_.state.Dictionary.entries[matched_].word;
    const bool deleted = ChangeDictionary(context_, [&word](DictionaryTable& table) {
        if (const int found = FindWord(table, word); found >= 0) {
            table.entries[found].word.clear();  // an entry without a word is left out of the file
            table.entries[found].comment.clear();
        }
        return true;
    });
    if (!deleted) {
        // The table is the file's again, the word included: let the box find it anew.
        Text1_Change();
        ShowCount();
        services.SetBusy(false);
        return;
    }
    Text1->clear();
    Label4->clear();
    Command1->setEnabled(false);
    LoadDictionary(context_);
    ShowCount();
    services.SetBusy(false);
    Text1->setFocus();
}

void Form3::Command2_Click() {
    HideDialog();
    context_.services.SetBusy(false, &mainWindow_);
}

}  // namespace qm
