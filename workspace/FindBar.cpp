#include "FindBar.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <Qsci/qsciscintilla.h>

#include "TextBridge.h"

namespace qm {
namespace {

using B = QsciScintillaBase;

// The match in [from, to) (backward when from > to), or -1.
long SearchRange(QsciScintilla& editor, std::string_view text, long from, long to) {
    editor.SendScintilla(B::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
    return editor.SendScintilla(B::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()),
                                text.data());
}

// A line that was out of sight comes into view a third of the way down, with the lines before
// it to read it by; one in sight stays where it is.
void BringIntoView(QsciScintilla& editor, long line, long firstShown) {
    const long shown = editor.SendScintilla(B::SCI_LINESONSCREEN);
    if (line >= firstShown && line < firstShown + shown) return;
    editor.SendScintilla(B::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(0L, line - shown / 3)));
}

long FirstShown(QsciScintilla& editor) { return editor.SendScintilla(B::SCI_GETFIRSTVISIBLELINE); }

}  // namespace

FindResult FindInEditor(QsciScintilla& editor, std::string_view text, bool forward, bool matchCase,
                        bool wrap) {
    if (text.empty())
        return FindResult::NotFound;
    editor.SendScintilla(B::SCI_SETSEARCHFLAGS,
                         matchCase ? static_cast<unsigned long>(B::SCFIND_MATCHCASE) : 0ul);
    const long length = editor.SendScintilla(B::SCI_GETLENGTH);
    const long start = forward ? editor.SendScintilla(B::SCI_GETSELECTIONEND)
                               : editor.SendScintilla(B::SCI_GETSELECTIONSTART);
    FindResult result = FindResult::Found;
    long found = SearchRange(editor, text, start, forward ? length : 0);
    if (found < 0 && wrap) {
        found = SearchRange(editor, text, forward ? 0 : length, start);
        result = FindResult::FoundAfterWrapping;
    }
    if (found < 0)
        return FindResult::NotFound;
    const long end = editor.SendScintilla(B::SCI_GETTARGETEND);
    const long firstShown = FirstShown(editor);
    editor.SendScintilla(B::SCI_SETSEL, static_cast<unsigned long>(found), end);
    BringIntoView(editor, editor.SendScintilla(B::SCI_LINEFROMPOSITION, static_cast<unsigned long>(found)), firstShown);
    return result;
}

void GoToLine(QsciScintilla& editor, long lineNumber) {
    const long lines = editor.SendScintilla(B::SCI_GETLINECOUNT);
    const long line = std::clamp(lineNumber - 1, 0l, lines - 1);
    const long firstShown = FirstShown(editor);
    editor.SendScintilla(B::SCI_GOTOLINE, static_cast<unsigned long>(line));
    BringIntoView(editor, line, firstShown);
}

FindBar::FindBar(std::function<QsciScintilla*()> target,
                 std::function<void(QsciScintilla&)> beforeMove, QWidget* parent)
    : QToolBar(QStringLiteral("Find"), parent),
      target_(std::move(target)),
      beforeMove_(std::move(beforeMove)),
      findField_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("Match case(&M)"), this)),
      wrapAround_(new QCheckBox(QStringLiteral("Wrap around(&W)"), this)),
      lineField_(new QLineEdit(this)),
      status_(new QLabel(this)) {
    setObjectName("FindBar");
    setMovable(false);
    findField_->setObjectName("FindText");
    findField_->setMinimumWidth(160);
    findField_->setClearButtonEnabled(true);
    lineField_->setObjectName("GoToLineNumber");
    lineField_->setValidator(new QIntValidator(1, 2147483647, lineField_));
    lineField_->setMaximumWidth(90);
    wrapAround_->setChecked(true);
    status_->setObjectName("FindStatus");
    addWidget(new QLabel(QStringLiteral("Find:"), this));
    addWidget(findField_);
    addAction(QStringLiteral("Previous"), this, [this] {
        FindNext(false);
    })->setObjectName("FindPreviousButton");
    addAction(QStringLiteral("Next"), this, [this] {
        FindNext(true);
    })->setObjectName("FindNextButton");
    addWidget(matchCase_);
    addWidget(wrapAround_);
    addSeparator();
    addWidget(new QLabel(QStringLiteral("Go to line:"), this));
    addWidget(lineField_);
    addSeparator();
    addWidget(status_);
    connect(findField_, &QLineEdit::returnPressed, this,
            [this] { FindNext(!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)); });
    connect(lineField_, &QLineEdit::returnPressed, this, [this] { GoToEnteredLine(); });
    hide();
}

QString FindBar::status() const {
    return status_->text();
}

void FindBar::StartFind() {
    show();
    findField_->setFocus();
    findField_->selectAll();
}

void FindBar::StartGoToLine() {
    show();
    if (QsciScintilla* editor = target_()) {
        const long caret = editor->SendScintilla(B::SCI_GETCURRENTPOS);
        lineField_->setText(QString::number(
            editor->SendScintilla(B::SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret)) + 1));
    }
    lineField_->setFocus();
    lineField_->selectAll();
}

void FindBar::FindNext(bool forward) {
    QsciScintilla* editor = target_();
    if (findField_->text().isEmpty() || editor == nullptr) {
        StartFind();
        return;
    }
    beforeMove_(*editor);
    const FindResult result = FindInEditor(*editor, FromQString(findField_->text()), forward,
                                           matchCase_->isChecked(), wrapAround_->isChecked());
    status_->setText(result == FindResult::NotFound             ? QStringLiteral("Not found")
                     : result == FindResult::FoundAfterWrapping ? QStringLiteral("Wrapped around")
                                                                : QString());
}

void FindBar::GoToEnteredLine() {
    QsciScintilla* editor = target_();
    bool ok = false;
    const long line = lineField_->text().toLong(&ok);
    if (editor == nullptr || !ok)
        return;
    beforeMove_(*editor);
    GoToLine(*editor, line);
    status_->clear();
    editor->setFocus();
}

// The window searched is taken before the bar hides: hiding hands the focus on to the next
// window, which would then count as the one searched.
void FindBar::Close() {
    QsciScintilla* editor = target_();
    hide();
    if (editor != nullptr)
        editor->setFocus();
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    QToolBar::keyPressEvent(event);
}

}  // namespace qm
