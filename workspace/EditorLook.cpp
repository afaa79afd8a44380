#include "EditorLook.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <string>

#include "ReadingTheme.h"

namespace qm {
namespace {

long Rgb(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

constexpr unsigned long kSelectionAlpha = 110;

void Send(QsciScintilla& editor, unsigned int message, unsigned long w, long l = 0) {
    editor.SendScintilla(message, w, l);
}

}  // namespace

void ApplyEditorLook(QsciScintilla& editor, const ReadingTheme& theme) {
    using B = QsciScintillaBase;
    editor.setPaper(theme.paper);
    editor.setColor(theme.text);
    Send(editor, B::SCI_SETCARETFORE, static_cast<unsigned long>(Rgb(theme.text)));
    Send(editor, B::SCI_SETCARETLINEVISIBLE, 1);
    Send(editor, B::SCI_SETCARETLINEVISIBLEALWAYS, 1);
    Send(editor, B::SCI_SETCARETLINEBACK, static_cast<unsigned long>(Rgb(theme.currentLine)));
    Send(editor, B::SCI_SETMARGINTYPEN, kLineNumberMargin, B::SC_MARGIN_NUMBER);
    Send(editor, B::SCI_STYLESETFORE, B::STYLE_LINENUMBER, Rgb(theme.lineNumbers));
    Send(editor, B::SCI_STYLESETBACK, B::STYLE_LINENUMBER, Rgb(theme.lineNumberPaper));
    Send(editor, B::SCI_SETENDATLASTLINE, 0);
    Send(editor, B::SCI_INDICSETSTYLE, kInsertedCommentIndicator, B::INDIC_STRAIGHTBOX);
    Send(editor, B::SCI_INDICSETFORE, kInsertedCommentIndicator, Rgb(theme.insertedComment));
    Send(editor, B::SCI_INDICSETALPHA, kInsertedCommentIndicator, 255);
    Send(editor, B::SCI_INDICSETOUTLINEALPHA, kInsertedCommentIndicator, 255);
    Send(editor, B::SCI_INDICSETUNDER, kInsertedCommentIndicator, 1);
    // The selection is laid over the text half-transparent: drawn as the text's background, the
    // inserted-comment tint would cover it, and a match found inside a comment would not show.
    Send(editor, B::SCI_SETSELALPHA, kSelectionAlpha);
    // The text keeps its own colour under the selection: the palette's selected-text colour
    // (white on most themes) is unreadable once the selection is see-through over a light tint.
    Send(editor, B::SCI_SETSELFORE, 0, 0);
    FitLineNumbers(editor);
}

void FitLineNumbers(QsciScintilla& editor) {
    using B = QsciScintillaBase;
    const long lines = editor.SendScintilla(B::SCI_GETLINECOUNT);
    const std::string digits(std::max<std::size_t>(3, std::to_string(lines).size()) + 1, '9');
    const long width = editor.SendScintilla(
        B::SCI_TEXTWIDTH, static_cast<unsigned long>(B::STYLE_LINENUMBER), digits.c_str());
    if (editor.SendScintilla(B::SCI_GETMARGINWIDTHN,
                             static_cast<unsigned long>(kLineNumberMargin)) != width) {
        Send(editor, B::SCI_SETMARGINWIDTHN, kLineNumberMargin, width);
    }
}

}  // namespace qm
