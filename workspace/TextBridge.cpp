#include "TextBridge.h"

#include <Qsci/qsciscintilla.h>

#include "LineEnds.h"
#include "Utf8.h"

namespace qm {

std::string EditorText(QsciScintilla& editor) {
    const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    std::string text(std::size_t(length) + 1, '\0');
    editor.SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(length + 1), text.data());
    text.resize(std::size_t(length));
    return text;
}

std::string_view EditorView(QsciScintilla& editor) {
    const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const auto* text = reinterpret_cast<const char*>(editor.SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return text != nullptr ? std::string_view(text, std::size_t(length)) : std::string_view();
}

void ReplaceEditorRange(QsciScintilla& editor, std::size_t from, std::size_t to, std::string_view text) {
    editor.SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), long(to));
    editor.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<unsigned long>(text.size()), text.data());
    editor.SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
}

namespace {

int EolModeOf(LineEndKind kind) {
    switch (kind) {
        case LineEndKind::Lf: return QsciScintillaBase::SC_EOL_LF;
        case LineEndKind::Cr: return QsciScintillaBase::SC_EOL_CR;
        case LineEndKind::CrLf: break;
    }
    return QsciScintillaBase::SC_EOL_CRLF;
}

}  // namespace

LineEndKind EditorLineEnd(QsciScintilla& editor) {
    switch (editor.SendScintilla(QsciScintillaBase::SCI_GETEOLMODE)) {
        case QsciScintillaBase::SC_EOL_LF: return LineEndKind::Lf;
        case QsciScintillaBase::SC_EOL_CR: return LineEndKind::Cr;
        default: return LineEndKind::CrLf;
    }
}

void SetEditorText(QsciScintilla& editor, std::string_view text) {
    // Clear and append rather than SCI_SETTEXT, which would stop at a NUL character.
    editor.SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    // Enter and pasted text then give the line end the text already uses, so that an LF
    // program is saved with LF throughout.
    editor.SendScintilla(QsciScintillaBase::SCI_SETEOLMODE, static_cast<unsigned long>(EolModeOf(MostFrequentLineEnd(text))));
    // A new text: undo must not bring back the one it replaced, and nothing of it is edited yet.
    editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor.SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
}

QString ToQString(std::string_view text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = NextChar(text, pos);
        if (c < 0x10000) {
            out.append(QChar(char16_t(c)));
        } else {
            out.append(QChar(QChar::highSurrogate(c)));
            out.append(QChar(QChar::lowSurrogate(c)));
        }
    }
    return out;
}

std::string FromQString(const QString& text) {
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace qm
