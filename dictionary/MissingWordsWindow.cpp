#include "MissingWordsWindow.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include <Qsci/qsciscintilla.h>

#include <algorithm>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "MissingWordsModel.h"
#include "MissingWordsNote.h"
#include "TextBridge.h"

namespace qm {
namespace {

// Shows line (from 0) in the middle of the editor's view, the cursor at its start.
void ShowLine(QsciScintilla& editor, long line) {
    line = std::clamp(line, 0L, std::max(0L, long(editor.lines()) - 1));
    editor.setCursorPosition(int(line), 0);
    const long visible = editor.SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, line);
    const long onScreen = editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
                         std::max(0L, visible - onScreen / 2));
}

// Selects the word where the last conversion found it, when the text there is still the word.
void SelectWord(QsciScintilla& editor, const CodeWordTally& tally) {
    const std::string_view text = EditorView(editor);
    if (tally.firstOffset > text.size() ||
        text.substr(tally.firstOffset, tally.word.size()) != tally.word)
        return;
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, tally.firstOffset,
                         long(tally.firstOffset + tally.word.size()));
}

}  // namespace

MissingWordsWindow::MissingWordsWindow(Context& context, QWidget& mainWindow,
                                       std::function<void(const std::string&)> registerWord)
    : WordDialog(context, mainWindow, "MissingWords", QStringLiteral("Missing Words")),
      Label1(NewLabel("Label1", QString())),
      List1(new QTreeView(this)),
      Command1(NewButton("Command1", QStringLiteral("&Register\u2026"))),
      Command2(NewButton("Command2", QStringLiteral("Close"))),
      registerWord_(std::move(registerWord)),
      model_(new MissingWordsModel(this)) {
    setModal(false);
    List1->setObjectName("List1");
    List1->setModel(model_);
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setAllColumnsShowFocus(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->header()->setStretchLastSection(false);
    List1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    List1->installEventFilter(this);
    connect(List1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Command1->setEnabled(CurrentRow() >= 0); });
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 3);
    grid->addWidget(List1, 1, 0, 1, 3);
    grid->addWidget(Command1, 2, 1);
    grid->addWidget(Command2, 2, 2);
    grid->setColumnStretch(0, 1);
    resize(360, 420);
    connect(List1, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& at) { GoToFirstLine(at.row()); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(&context_.controls, &Controls::Converted, this, [this] {
        if (isVisible())
            Refresh();
    });
}

void MissingWordsWindow::Open() {
    Refresh();
    show();
    raise();
    activateWindow();
    List1->setFocus();
}

void MissingWordsWindow::Refresh() {
    const int row = CurrentRow();
    const std::string word = row >= 0 ? model_->At(row).word : std::string();
    model_->SetWords(context_.state.MissingWords);
    int again = model_->RowOf(word);
    if (again < 0 && row >= 0)
        again = std::min(row, model_->rowCount() - 1);
    SetCurrentRow(again < 0 ? 0 : again);
    ShowCurrentState();
}

void MissingWordsWindow::ShowCurrentState() {
    const QString dictionary = QFileInfo(context_.state.DicFileName).fileName();
    QString note = MissingWordsNote(std::size_t(model_->rowCount()));
    if (!dictionary.isEmpty())
        note += QStringLiteral(" \u2014 ") + dictionary;
    Label1->setText(note);
    Command1->setEnabled(CurrentRow() >= 0);
}

int MissingWordsWindow::CurrentRow() const {
    const QModelIndex current = List1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MissingWordsWindow::SetCurrentRow(int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    List1->setCurrentIndex(model_->index(row, 0));
}

void MissingWordsWindow::GoToFirstLine(int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    const CodeWordTally& tally = model_->At(row);
    DocumentWindows& documents = context_.documents;
    const long line = long(tally.firstLine) - 1;
    if (documents.HasOriginalFile()) {
        QsciScintilla& source = documents.OriginalFile().Text1();
        ShowLine(source, line);
        SelectWord(source, tally);
    }
    if (documents.HasForm1())
        ShowLine(documents.Form1().Text1(), line);
}

void MissingWordsWindow::Command1_Click() {
    const int row = CurrentRow();
    if (row < 0)
        return;
    const std::string word = model_->At(row).word;  // the list may change while registering
    registerWord_(word);
}

void MissingWordsWindow::Command2_Click() {
    HideDialog();
}

bool MissingWordsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            GoToFirstLine(CurrentRow());
            return true;
        }
    }
    return WordDialog::eventFilter(watched, event);
}

}  // namespace qm
