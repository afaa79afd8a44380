#include "SyncScroll.h"

#include <QEvent>
#include <QScrollBar>

#include <Qsci/qsciscintilla.h>

namespace qm {
namespace {

using B = QsciScintillaBase;

long FirstLine(QsciScintilla& editor) {
    return editor.SendScintilla(B::SCI_GETFIRSTVISIBLELINE);
}

long CaretLine(QsciScintilla& editor) {
    return editor.SendScintilla(
        B::SCI_LINEFROMPOSITION,
        static_cast<unsigned long>(editor.SendScintilla(B::SCI_GETCURRENTPOS)));
}

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
            return true;
        default:
            return false;
    }
}

}  // namespace

SyncScroll::SyncScroll(std::function<bool()> enabled, QObject* parent)
    : QObject(parent), enabled_(std::move(enabled)) {}

void SyncScroll::Attach(QsciScintilla& editor, Side side) {
    editors_[side] = &editor;
    for (QObject* part : {static_cast<QObject*>(&editor), static_cast<QObject*>(editor.viewport()),
                          static_cast<QObject*>(editor.verticalScrollBar())}) {
        part->installEventFilter(this);
    }
    connect(editor.verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this, side] { Scrolled(side); });
    connect(&editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this, side](int updated) {
        if (updated & B::SC_UPDATE_V_SCROLL)
            Scrolled(side);
        if (updated & (B::SC_UPDATE_SELECTION | B::SC_UPDATE_CONTENT))
            CaretMoved(side);
    });
    if (side == kConverted)
        Align();
}

void SyncScroll::Lead(QsciScintilla& editor) {
    if (editors_[kConverted] == &editor)
        leader_ = kConverted;
    if (editors_[kSource] == &editor)
        leader_ = kSource;
}

bool SyncScroll::Ready() const {
    return !busy_ && !editors_[kSource].isNull() && !editors_[kConverted].isNull() && enabled_();
}

void SyncScroll::Align() {
    if (!Ready())
        return;
    AlignCaretLine(leader_);
    AlignFirstLine(leader_);
}

bool SyncScroll::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInput(event->type())) {
        for (Side side : {kSource, kConverted}) {
            QsciScintilla* editor = editors_[side];
            if (editor != nullptr && (watched == editor || watched == editor->viewport() ||
                                      watched == editor->verticalScrollBar())) {
                leader_ = side;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// A window that moved by itself while the other leads is put back; the leader is followed.
void SyncScroll::Scrolled(Side side) {
    if (Ready())
        AlignFirstLine(leader_ == side ? side : leader_);
}

void SyncScroll::CaretMoved(Side side) {
    if (!Ready())
        return;
    const Side from = leader_ == side ? side : leader_;
    AlignCaretLine(from);
    AlignFirstLine(from);
}

void SyncScroll::AlignFirstLine(Side from) {
    QsciScintilla& to = *editors_[1 - from];
    const long line = FirstLine(*editors_[from]);
    if (FirstLine(to) == line)
        return;
    busy_ = true;
    to.SendScintilla(B::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(line));
    busy_ = false;
}

// The follower's caret goes to the start of the same line, unless it is on that line already
// (so that a selection there stays); it does not scroll, AlignFirstLine does.
void SyncScroll::AlignCaretLine(Side from) {
    QsciScintilla& to = *editors_[1 - from];
    const long line = CaretLine(*editors_[from]);
    if (CaretLine(to) == line || line >= to.SendScintilla(B::SCI_GETLINECOUNT))
        return;
    busy_ = true;
    const long position =
        to.SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    to.SendScintilla(B::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(position));
    busy_ = false;
}

}  // namespace qm
