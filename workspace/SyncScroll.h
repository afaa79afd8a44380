#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

class QsciScintilla;

namespace qm {

// Keeps the converted window line for line beside the source window: the same first visible
// line and the same current line, whichever window the user scrolls or moves in (scroll bar,
// wheel, keys, clicks, search results).
//
// The window the user last worked in leads. When the other window moves by itself (its text was
// replaced by a conversion, or it could not scroll as far), it is put back beside the leader
// rather than pulling the leader along.
class SyncScroll : public QObject {
    Q_OBJECT
  public:
    enum Side { kSource = 0, kConverted = 1 };

    // enabled: whether the windows are to move together (Display > Scroll together).
    explicit SyncScroll(std::function<bool()> enabled, QObject* parent = nullptr);

    void Attach(QsciScintilla& editor, Side side);
    // Makes an editor the leader, as a search or Go to line in it does before moving.
    void Lead(QsciScintilla& editor);
    // Puts the follower beside the leader now.
    void Align();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Scrolled(Side side);
    void CaretMoved(Side side);
    void AlignFirstLine(Side from);
    void AlignCaretLine(Side from);
    bool Ready() const;

    std::function<bool()> enabled_;
    std::array<QPointer<QsciScintilla>, 2> editors_;
    Side leader_ = kSource;
    bool busy_ = false;
};

}  // namespace qm
