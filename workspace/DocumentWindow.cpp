#include "DocumentWindow.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QVBoxLayout>

#include <Qsci/qsciscintilla.h>

#include "InstalledFont.h"

namespace qm {
namespace {

void SetUpEditor(QsciScintilla& editor) {
    editor.setObjectName("Text1");
    editor.setUtf8(true);
    editor.setEolMode(QsciScintilla::EolWindows);
    editor.setFont(FixedPitchFont());
    editor.setMarginWidth(1, 0);
    editor.setWrapMode(QsciScintilla::WrapNone);
    editor.setContextMenuPolicy(Qt::CustomContextMenu);
}

}  // namespace

DocumentWindow::DocumentWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), text1_(new QsciScintilla(this)) {
    setObjectName(objectName);
    setWindowTitle(caption);
    SetUpEditor(*text1_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);  // ten twips, rounded to a pixel
    layout->addWidget(text1_);
    connect(text1_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit contextMenuRequested(text1_->mapToGlobal(at)); });
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

// The editor's notifications after an insertion or deletion cost time in proportion to the
// whole text (the editor works out character offsets from the start for them), a quarter of a
// second per key stroke in a million-line program. The converted window needs none; the source
// window listens to the notifications sent before a change, which are cheap.
ConvertedWindow::ConvertedWindow(QWidget* parent)
    : DocumentWindow(QStringLiteral("Form1"), QStringLiteral("After"), parent) {
    Text1().SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0ul);
}

SourceWindow::SourceWindow(QWidget* parent)
    : DocumentWindow(QStringLiteral("OriginalFile"), QStringLiteral("New"), parent) {
    constexpr unsigned long kBeforeChange = QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;
    Text1().SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, kBeforeChange);
    connect(&Text1(), &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int, int, int, int, int, int, int) {
                if (static_cast<unsigned long>(type) & kBeforeChange) emit textChanging();
            });
}

// The window's frame in the main window passes its close on to the window, which may refuse.
void SourceWindow::closeEvent(QCloseEvent* event) {
    if (mayClose && !mayClose()) {
        event->ignore();
    } else {
        event->accept();
    }
}

}  // namespace qm
