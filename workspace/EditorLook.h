#pragma once

class QsciScintilla;

namespace qm {

struct ReadingTheme;

inline constexpr int kLineNumberMargin = 0;
inline constexpr int kInsertedCommentIndicator = 8;  // the first indicator free for containers

// What both document windows show alike: line numbers in the left margin, the caret's line
// highlighted (also while the other window has the focus), the theme's paper and text, the
// inserted-comment marking, and room to scroll the last line up to the top, so that the two
// windows can always show the same first line.
void ApplyEditorLook(QsciScintilla& editor, const ReadingTheme& theme);

// Makes the line-number margin as wide as the last line's number needs (three digits at
// least) at the current zoom.
void FitLineNumbers(QsciScintilla& editor);

}  // namespace qm
