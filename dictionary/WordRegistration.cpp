#include "WordRegistration.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>


#include "AppState.h"
#include "CommandGuard.h"
#include "Context.h"
#include "DictionaryFile.h"
#include "DictionarySlots.h"
#include "DictionaryStore.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "EditCommands.h"
#include "Services.h"
#include "TextBridge.h"
#include "WordLookup.h"

namespace qm {

Form2::Form2(Context& context, QWidget& mainWindow)
    : WordDialog(context, mainWindow, "Form2", QStringLiteral("Word Registration")),
      Label1(NewLabel("Label1", QStringLiteral("Word"))),
      Text1(NewTextBox("Text1")),
      Label2(NewLabel("Label2", QStringLiteral("Comment"))),
      Text2(NewTextBox("Text2")),
      Label3(NewLabel("Label3", QStringLiteral("Number"))),
      Label4(NewLabel("Label4", QString())),
      Command1(NewButton("Command1", QStringLiteral("ADD"))),
      Command2(NewButton("Command2", QStringLiteral("Close"))) {
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1, 1, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Text2, 1, 1, 1, 3);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Label4, 2, 1);
    grid->addWidget(Command1, 2, 2);
    grid->addWidget(Command2, 2, 3);
    Text1->setMinimumWidth(320);
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyEnter(); });
    connect(Text2, &QLineEdit::returnPressed, this, [this] { Text2_KeyEnter(); });
    connect(Command1, &QPushButton::clicked, this, Guarded(context_.services, [this] { Command1_Click(); }));
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void Form2::Open() { Open(ActiveSelection(context_)); }

void Form2::Open(const std::string& word) {
    context_.services.SetBusy(true, &mainWindow_);
    setWindowTitle(QStringLiteral("Word registration ") + context_.state.DicFileName);
    Command1->setEnabled(false);
    Text1->setEnabled(true);
    ShowCount();
    {
        const QSignalBlocker quiet(Text1);
        Text1->setText(ToQString(word));
    }
    Text1_Change();  // also when the text stayed the same
    Text1->setFocus();
}

void Form2::ShowCount() { Label4->setText(QString::number(EntryCount(context_.state.Dictionary))); }

void Form2::Text1_Change() {
    Text2->clear();
    Command1->setEnabled(false);
    const DictionaryTable& table = context_.state.Dictionary;
    const int found = FindWord(table, FromQString(Text1->text()));
    if (found < 0) return;
    Text2->setText(ToQString(table.entries[found].comment));
    Command1->setEnabled(true);
}

// Never disables: an erased comment may still be registered, as an empty one.
void Form2::Text2_Change() {
    if (!Text1->text().isEmpty() && !Text2->text().isEmpty()) Command1->setEnabled(true);
}

void Form2::Text1_KeyEnter() { Text2->setFocus(); }

void Form2::Text2_KeyEnter() {
    if (Text1->text().isEmpty()) Text1->setFocus();
    if (!Text2->text().isEmpty() && Command1->isEnabled()) Command1->setFocus();
}

namespace {

// The word's comment, or the word added at the end: the change registration makes, to the
// table as it is when written.
bool PutWord(Services& services, DictionaryTable& table, const std::string& word, const std::string& comment) {
    if (const int found = FindWord(table, word); found >= 0) {
        table.entries[found].comment = comment;
        table.entries[found].number = 0;
        return true;
    }
    if (table.Append({0, word, comment})) return true;
    services.Message(QStringLiteral("The dictionary already holds %1 words, the most it can hold: \"%2\" was not "
                                    "registered. Delete a word first.")
                         .arg(kDictionarySlots)
                         .arg(ToQString(word)));
    return false;
}

}  // namespace

bool Form2::Register(const std::string& word, const std::string& comment) {
    Services& services = context_.services;
    for (const auto& [text, what] : {std::pair{&word, "The word"}, std::pair{&comment, "The comment"}}) {
        if (Status storable = CheckStorable(*text, what); !storable.ok()) {
            services.Message(FromEngineText(storable.message()));
            return false;
        }
    }
    if (FindWord(context_.state.Dictionary, word) >= 0) {
        const MsgResult answer = services.MsgBox({QStringLiteral("すでに登録済みです。重ね書きをしますか？"), MsgButtons::YesNo,
                                                  MsgIcon::None, MsgDefault::First, QStringLiteral("単語登録確認")});
        if (answer != MsgResult::Yes) return false;
    }
    return ChangeDictionary(context_, [&](DictionaryTable& table) { return PutWord(services, table, word, comment); });
}

void Form2::Command1_Click() {
    if (!RequireLoadedDictionary(context_)) return;
    Services& services = context_.services;
    services.SetBusy(true);
    const std::string word = FromQString(Text1->text());
    const std::string comment = FromQString(Text2->text());
    if (!Register(word, comment)) {
        // Both boxes keep what was typed; after a failed write the table is the file's again.
        ShowCount();
        services.SetBusy(false);
        return;
    }
    Text1->clear();
    Text2->clear();
    Text1->setFocus();
    Command1->setEnabled(false);
    LoadDictionary(context_);  // the table takes the file's order
    ShowCount();
    services.SetBusy(false);
    emit wordAdded();
}

void Form2::Command2_Click() {
    HideDialog();
    context_.services.SetBusy(false, &mainWindow_);
}

}  // namespace qm
