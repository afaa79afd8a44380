#include "ImportDictionary.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "AppState.h"
#include "CommandGuard.h"
#include "Context.h"
#include "ConvertCommands.h"
#include "DicFileOpen.h"
#include "DictionaryFile.h"
#include "DictionarySlots.h"
#include "DictionaryStore.h"
#include "FileAccess.h"
#include "ImportMerge.h"
#include "ImportReader.h"
#include "Services.h"
#include "TextBridge.h"
#include "WordLookup.h"

namespace qm {

ImportDictionary::ImportDictionary(Context& context, QWidget& mainWindow)
    : WordDialog(context, mainWindow, "ImportDictionary", QStringLiteral("Import Dictionary")),
      Label1(NewLabel("Label1", QStringLiteral("Actual Dictionary"))),
      Picture1(NewDisplay("Picture1")),
      Label3(NewLabel("Label3", QStringLiteral("Word number"))),
      Picture2(NewDisplay("Picture2")),
      Label2(NewLabel("Label2", QStringLiteral("Inport Dictionary"))),
      Picture3(NewDisplay("Picture3")),
      Label4(NewLabel("Label4", QStringLiteral("Word number"))),
      Picture4(NewDisplay("Picture4")),
      Label5(NewLabel("Label5", QStringLiteral("Import number"))),
      Picture5(NewDisplay("Picture5")),
      Label6(NewLabel("Label6", QString())),
      Command1(NewButton("Command1", QStringLiteral("Save"))),
      Command2(NewButton("Command2", QStringLiteral("Cancel"))) {
    setModal(false);
    Arrange();
    connect(Command1, &QPushButton::clicked, this, Guarded(context_.services, [this] { Command1_Click(); }));
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void ImportDictionary::Arrange() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Picture1, 0, 1);
    grid->addWidget(Label3, 0, 2);
    grid->addWidget(Picture2, 0, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Picture3, 1, 1);
    grid->addWidget(Label4, 1, 2);
    grid->addWidget(Picture4, 1, 3);
    grid->addWidget(Label5, 2, 2);
    grid->addWidget(Picture5, 2, 3);
    grid->addWidget(Label6, 3, 0, 1, 4);
    grid->addWidget(Command1, 4, 2);
    grid->addWidget(Command2, 4, 3);
    Picture1->setMinimumWidth(320);
    Label6->setWordWrap(true);
}

bool ImportDictionary::MayStart() {
    if (!merging_) return RequireLoadedDictionary(context_);
    context_.services.Message(QStringLiteral("A dictionary import is still running. Wait until it has finished."));
    return false;
}

// The dictionary in use must still pass its check; then the chosen file is read whole.
bool ImportDictionary::ReadImportFile(const QString& path, std::string& text) {
    Services& services = context_.services;
    if (Status check = CheckDictionary(EnginePath(context_.state.DicFileName)); !check.ok()) {
        services.Message(FromEngineText(check.message()), QString::fromUtf8(kDictionaryCheckTitle));
        return false;
    }
    std::string bytes;
    if (Status read = ReadWholeFile(EnginePath(path), bytes); !read.ok()) {
        services.Message(FromEngineText(read.message()) + QStringLiteral("\r\nNothing was imported."));
        return false;
    }
    text = DecodeText(bytes, DetectEncoding(bytes));
    return true;
}

void ImportDictionary::Import(DicFileOpen& dialog) {
    if (!MayStart()) return;
    const std::optional<QString> path = dialog.ShowOpen(context_.services, context_.state.DicPathName);
    std::string text;
    if (!path || !ReadImportFile(*path, text)) return;
    ImportReader reader(std::move(text), path->toStdString());
    context_.services.SetBusy(true);
    merging_ = true;  // from here on the event loop runs other commands
    cancelled_ = false;
    changes_.clear();
    importInto_ = context_.state.DicFileName;
    ShowStart(*path);
    QCoreApplication::processEvents();
    const bool merged = Merge(reader);
    merging_ = false;
    if (cancelled_) {
        Restore();
        return;
    }
    if (!merged) return;
    ConvertProgram(context_);
    context_.services.SetBusy(false);
    Command1->setEnabled(true);
    Command1->setFocus();
}

void ImportDictionary::ShowStart(const QString& importPath) {
    Command1->setEnabled(false);
    Command2->setEnabled(true);
    Label6->clear();
    show();
    activateWindow();
    Picture1->setText(context_.state.DicFileName);
    Picture2->setText(QString::number(EntryCount(context_.state.Dictionary)));
    Picture3->setText(importPath);
    Picture4->clear();
    Picture5->clear();
    Command2->setFocus();
}

bool ImportDictionary::Merge(ImportReader& reader) {
    AppState& state = context_.state;
    // Another dictionary chosen while the merge yields: the rest must not go into that one.
    const auto changedAway = [&] {
        return Stop(QStringLiteral("The dictionary in use changed to %1 during the import: the rest of the file was "
                                   "not imported.")
                        .arg(state.DicFileName));
    };
    const QString kept = QStringLiteral("\nThe import stopped; the words merged before stay in the dictionary in use "
                                        "but are not saved.");
    int read = 0;
    int added = 0;
    DictionaryEntry entry;
    while (reader.Next(entry)) {
        if (cancelled_) return false;
        if (state.DicFileName != importInto_) return changedAway();
        Picture4->setText(QString::number(++read));
        const MergeOutcome outcome = MergeRecord(state.Dictionary, entry);
        if (outcome.step == MergeStep::Full) {
            return Stop(QStringLiteral("The dictionary is full (%1 words): \"%2\" and the words after it were not "
                                       "imported.")
                            .arg(kDictionarySlots)
                            .arg(ToQString(entry.word)) +
                        kept);
        }
        if (outcome.step == MergeStep::Differs && AskToReplace(entry, outcome.index)) {
            state.Dictionary.entries[outcome.index].comment = entry.comment;
            changes_.push_back({entry, true});
        }
        if (outcome.step == MergeStep::Added) {
            Picture5->setText(QString::number(++added));
            changes_.push_back({entry, false});
        }
        QCoreApplication::processEvents();
    }
    if (!reader.error().ok()) return Stop(FromEngineText(reader.error().message()) + kept);
    if (state.DicFileName != importInto_) return changedAway();
    return true;
}

bool ImportDictionary::AskToReplace(const DictionaryEntry& imported, int index) {
    const QString prompt = QStringLiteral("Word : ") + ToQString(imported.word) + QLatin1Char('\n') +
                           QStringLiteral("Old : ") + ToQString(context_.state.Dictionary.entries[index].comment) +
                           QLatin1Char('\n') + QStringLiteral("New : ") + ToQString(imported.comment) +
                           QStringLiteral("\n\nChange to New ?");
    return context_.services.MsgBox({prompt, MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Second,
                                     QStringLiteral("Comment select ")}) == MsgResult::Yes;
}

// The words merged so far stay in the table; "Save" stays disabled, "Cancel" closes.
bool ImportDictionary::Stop(const QString& why) {
    Label6->setText(why);
    context_.services.SetBusy(false);
    return false;
}

bool ImportDictionary::Remerge(DictionaryTable& table) const {
    for (const Change& change : changes_) {
        const MergeOutcome outcome = MergeRecord(table, change.entry);
        if (outcome.step == MergeStep::Full) {
            context_.services.Message(QStringLiteral("The dictionary is full (%1 words): the import was not saved.")
                                          .arg(kDictionarySlots));
            return false;
        }
        // A word someone else gave another comment meanwhile keeps it, unless the user chose
        // the imported one.
        if (change.replaced) table.entries[outcome.index].comment = change.entry.comment;
    }
    return true;
}

void ImportDictionary::Restore() {
    if (LoadDictionary(context_) == DictionaryLoad::Loaded) ConvertProgram(context_);
    changes_.clear();
}

void ImportDictionary::Command1_Click() {
    // A failure is told, and the table read back from the file.
    ChangeDictionary(context_, [this](DictionaryTable& table) { return Remerge(table); });
    changes_.clear();
    importInto_.clear();
    HideDialog();
}

// Nothing of the merge may reach the file, nor a later write of another command.
void ImportDictionary::Command2_Click() {
    HideDialog();
    context_.services.SetBusy(false);
    if (merging_) {
        cancelled_ = true;  // the merge stops at its next record and restores the table
        return;
    }
    if (!importInto_.isEmpty() && context_.state.DicFileName == importInto_) Restore();
    importInto_.clear();
}

}  // namespace qm
