#include "ReadingAids.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMenu>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "CaretBlink.h"
#include "CommentMarks.h"
#include "Context.h"
#include "Controls.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "EditCommands.h"
#include "EditorAccessibility.h"
#include "EditorLook.h"
#include "FindBar.h"
#include "InstalledFont.h"
#include "NcLexer.h"
#include "ReadingTheme.h"
#include "SyncScroll.h"
#include "WordHover.h"

namespace qm {
namespace {

using B = QsciScintillaBase;

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption,
                  QList<QKeySequence> keys = {}) {
    auto* item = new QAction(caption, menu);
    item->setObjectName(name);
    item->setShortcuts(keys);
    menu->addAction(item);
    return item;
}

}  // namespace

ReadingAids::ReadingAids(QMainWindow& window, Context& context)
    : QObject(&window),
      context_(context),
      sync_(new SyncScroll([this] { return context_.state.ScrollTogether; }, this)),
      marks_(new CommentMarks(
          context.state,
          [this]() -> QsciScintilla* {
              return context_.documents.HasOriginalFile()
                         ? &context_.documents.OriginalFile().Text1()
                         : nullptr;
          },
          this)),
      hover_(new WordHover(context.state, this)),
      findBar_(new FindBar([this] { return FindTarget(); },
                           [this](QsciScintilla& editor) { sync_->Lead(editor); }, &window)) {
    window.addToolBar(Qt::BottomToolBarArea, findBar_);
    CreateMenuItems();
    ConnectMenuItems();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (auto* editor = qobject_cast<QsciScintilla*>(now);
            editor != nullptr && qobject_cast<DocumentWindow*>(editor->parent())) {
            lastFocused_ = editor;
        }
    });
}

ReadingAids::~ReadingAids() = default;

void ReadingAids::CreateMenuItems() {
    QMenu* edit = context_.controls.MenuEdit;
    edit->addSeparator()->setObjectName("MenuEditFindBar");
    MenuEditFind = MenuItem(edit, "MenuEditFind", QStringLiteral("Find(&F)"),
                            {QKeySequence(QStringLiteral("Ctrl+F"))});
    MenuEditFindNext = MenuItem(edit, "MenuEditFindNext", QStringLiteral("Find Next(&N)"),
                                {QKeySequence(Qt::Key_F3)});
    MenuEditFindPrevious =
        MenuItem(edit, "MenuEditFindPrevious", QStringLiteral("Find Previous(&R)"),
                 {QKeySequence(Qt::SHIFT | Qt::Key_F3)});
    MenuEditGoToLine = MenuItem(edit, "MenuEditGoToLine", QStringLiteral("Go to Line(&G)"),
                                {QKeySequence(QStringLiteral("Ctrl+G"))});

    QMenu* display = context_.controls.MenuDisplay;
    display->addSeparator()->setObjectName("MenuDisplayReadingBar");
    MenuDisplayScrollTogether =
        MenuItem(display, "MenuDisplayScrollTogether", QStringLiteral("&Scroll together"));
    MenuDisplayScrollTogether->setCheckable(true);
    MenuDisplayScrollTogether->setChecked(context_.state.ScrollTogether);
    display->addSeparator()->setObjectName("MenuDisplayZoomBar");
    MenuDisplayZoomIn =
        MenuItem(display, "MenuDisplayZoomIn", QStringLiteral("Zoom In(&I)"),
                 {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    MenuDisplayZoomOut = MenuItem(display, "MenuDisplayZoomOut", QStringLiteral("Zoom Out(&O)"),
                                  {QKeySequence(QStringLiteral("Ctrl+-"))});
    MenuDisplayZoomNormal =
        MenuItem(display, "MenuDisplayZoomNormal", QStringLiteral("Normal Size(&N)"),
                 {QKeySequence(QStringLiteral("Ctrl+0"))});
}

void ReadingAids::ConnectMenuItems() {
    connect(MenuEditFind, &QAction::triggered, findBar_, &FindBar::StartFind);
    connect(MenuEditFindNext, &QAction::triggered, this, [this] { findBar_->FindNext(true); });
    connect(MenuEditFindPrevious, &QAction::triggered, this, [this] { findBar_->FindNext(false); });
    connect(MenuEditGoToLine, &QAction::triggered, findBar_, &FindBar::StartGoToLine);
    connect(MenuDisplayScrollTogether, &QAction::triggered, this,
            [this] { ScrollTogether_Click(); });
    connect(MenuDisplayZoomIn, &QAction::triggered, this, [this] { Zoom(B::SCI_ZOOMIN); });
    connect(MenuDisplayZoomOut, &QAction::triggered, this, [this] { Zoom(B::SCI_ZOOMOUT); });
    connect(MenuDisplayZoomNormal, &QAction::triggered, this, [this] { Zoom(B::SCI_SETZOOM); });
    // The setting may change after the menus were made (start-up reads it).
    connect(context_.controls.MenuDisplay, &QMenu::aboutToShow, this,
            [this] { MenuDisplayScrollTogether->setChecked(context_.state.ScrollTogether); });
}

void ReadingAids::Attach(DocumentWindow& window) {
    QsciScintilla& editor = window.Text1();
    UseLightAccessibility(editor);
    const ReadingTheme theme = ReadingTheme::For(editor.palette());
    auto* source = qobject_cast<SourceWindow*>(&window);
    if (source != nullptr) {
        editor.setLexer(
            new NcLexer(theme, FixedPitchFont(), &editor));
        hover_->Attach(editor);
        connect(source, &SourceWindow::textChanging, this,
                [this, &editor] { sync_->Lead(editor); });
    }
    ApplyEditorLook(editor, theme);
    KeepCaretSteadyOnLongLines(editor);
    editor.SendScintilla(B::SCI_SETZOOM, static_cast<unsigned long>(zoom_));
    connect(&editor, &QsciScintillaBase::SCN_ZOOM, this, [this, &editor] { ZoomChanged(editor); });
    connect(&editor, &QsciScintillaBase::SCN_UPDATEUI, this, [&editor](int updated) {
        if (updated & B::SC_UPDATE_CONTENT)
            FitLineNumbers(editor);
    });
    if (source == nullptr)
        marks_->Attach(editor);
    sync_->Attach(editor, source != nullptr ? SyncScroll::kSource : SyncScroll::kConverted);
}

void ReadingAids::ScrollTogether_Click() {
    context_.state.ScrollTogether = !context_.state.ScrollTogether;
    MenuDisplayScrollTogether->setChecked(context_.state.ScrollTogether);
    sync_->Align();
}

// Zooms one window; the other follows through ZoomChanged.
void ReadingAids::Zoom(int message) {
    QsciScintilla* editor = FindTarget();
    if (editor == nullptr)
        return;
    editor->SendScintilla(static_cast<unsigned int>(message), 0ul);
}

void ReadingAids::ZoomChanged(QsciScintilla& editor) {
    zoom_ = int(editor.SendScintilla(B::SCI_GETZOOM));
    FitLineNumbers(editor);
    DocumentWindows& documents = context_.documents;
    for (bool source : {true, false}) {
        if (!(source ? documents.HasOriginalFile() : documents.HasForm1()))
            continue;
        QsciScintilla& other =
            source ? documents.OriginalFile().Text1() : documents.Form1().Text1();
        if (&other != &editor && other.SendScintilla(B::SCI_GETZOOM) != zoom_) {
            other.SendScintilla(B::SCI_SETZOOM, static_cast<unsigned long>(zoom_));
        }
    }
}

QsciScintilla* ReadingAids::FindTarget() {
    if (!lastFocused_.isNull())
        return lastFocused_;
    if (QsciScintilla* active = ActiveText(context_))
        return active;
    return context_.documents.HasOriginalFile() ? &context_.documents.OriginalFile().Text1()
                                                : nullptr;
}

}  // namespace qm
