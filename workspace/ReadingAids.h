#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMainWindow;
class QsciScintilla;

namespace qm {

struct Context;
class CommentMarks;
class DocumentWindow;
class FindBar;
class SyncScroll;
class WordHover;

// What helps a reader follow a program beside its conversion: the two windows scrolling
// together, line numbers and the current line in both, colours in the source window, the
// inserted comments marked, the comment of a word under the mouse, Find and Go to Line, and
// zooming both windows at once. It adds its items to the Edit and Display menus.
class ReadingAids : public QObject {
    Q_OBJECT
  public:
    ReadingAids(QMainWindow& window, Context& context);
    ~ReadingAids() override;

    // Sets up a document window when it is created.
    void Attach(DocumentWindow& window);

    // Edit menu.
    QAction* MenuEditFind;
    QAction* MenuEditFindNext;
    QAction* MenuEditFindPrevious;
    QAction* MenuEditGoToLine;
    // Display menu.
    QAction* MenuDisplayScrollTogether;
    QAction* MenuDisplayZoomIn;
    QAction* MenuDisplayZoomOut;
    QAction* MenuDisplayZoomNormal;

    FindBar& findBar() { return *findBar_; }
    SyncScroll& sync() { return *sync_; }
    CommentMarks& commentMarks() { return *marks_; }
    WordHover& hover() { return *hover_; }

  private:
    void CreateMenuItems();
    void ConnectMenuItems();
    void ScrollTogether_Click();
    void Zoom(int message);
    void ZoomChanged(QsciScintilla& editor);
    // The document window text to find in: the one that had the focus last.
    QsciScintilla* FindTarget();

    Context& context_;
    SyncScroll* sync_;
    CommentMarks* marks_;
    WordHover* hover_;
    FindBar* findBar_;
    QPointer<QsciScintilla> lastFocused_;
    int zoom_ = 0;
};

}  // namespace qm
