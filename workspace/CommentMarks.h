#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "CommentSpans.h"

class QsciScintilla;

namespace qm {

struct AppState;

// Marks the comments the dictionary inserted in the converted window. Only the lines on screen
// are worked out, each by converting its source line again and marking it only when the result
// is the line shown, so that a program of any length scrolls as fast as a short one.
class CommentMarks : public QObject {
    Q_OBJECT
  public:
    // source: the source window's text, or nullptr while there is none.
    CommentMarks(AppState& state, std::function<QsciScintilla*()> source,
                 QObject* parent = nullptr);

    void Attach(QsciScintilla& converted);
    // Marks the lines on screen that are not marked yet.
    void MarkShownLines();

  private:
    // The lines on screen, [first, last).
    std::pair<long, long> ShownLines() const;
    void MarkLine(QsciScintilla& source, QsciScintilla& converted, long line);

    AppState& state_;
    std::function<QsciScintilla*()> source_;
    QPointer<QsciScintilla> converted_;
    CommentSpanFinder finder_;
    // The lines marked since the converted text last changed, with the texts they were marked
    // for: a line shown again is marked again only when either text changed.
    std::unordered_map<long, std::string> marked_;
    std::pair<long, long> shown_{-1, -1};  // the lines on screen when last marked
};

}  // namespace qm
