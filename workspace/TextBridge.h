#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "LineEnds.h"

class QsciScintilla;

namespace qm {

// The editors hold the program's own text form (UTF-8, with bytes that could not be decoded
// kept as raw-byte characters), so a program goes from file to editor to file unchanged.

// The editor's whole text.
std::string EditorText(QsciScintilla& editor);
// The editor's whole text without copying it; valid until the text next changes.
std::string_view EditorView(QsciScintilla& editor);
// Replaces bytes [from, to) of the editor's text as one undo step.
void ReplaceEditorRange(QsciScintilla& editor, std::size_t from, std::size_t to, std::string_view text);
// Replaces the editor's whole text in one assignment, which starts a fresh undo history and
// leaves the text unmodified. New lines then take the line end the text uses most (CR LF for
// an empty text).
void SetEditorText(QsciScintilla& editor, std::string_view text);
// The line end Enter gives in the editor.
LineEndKind EditorLineEnd(QsciScintilla& editor);

// Text for the clipboard and dialogs: raw-byte characters become lone UTF-16 surrogates, so
// that FromQString restores them.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

}  // namespace qm
