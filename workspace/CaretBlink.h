#pragma once

class QsciScintilla;

namespace qm {

// A blinking caret has its line drawn again at every blink, and drawing a line costs in
// proportion to its length: with the caret on a line of 190,000 characters the idle program
// kept a quarter of a core busy. On a line longer than kSteadyCaretLineLength the caret stays
// lit instead, so that nothing runs while nothing changes; it blinks again on shorter lines.
//
//   KeepCaretSteadyOnLongLines(editor);   // once, when the editor is set up
constexpr long kSteadyCaretLineLength = 4000;
void KeepCaretSteadyOnLongLines(QsciScintilla& editor);

}  // namespace qm
