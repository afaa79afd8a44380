#include "NcLexer.h"

#include <Qsci/qsciscintilla.h>

#include <string>

namespace qm {
namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The end of a number starting at i: an optional sign, digits and a decimal point.
std::size_t NumberEnd(std::string_view text, std::size_t i) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    while (i < text.size() && (IsDigit(text[i]) || text[i] == '.'))
        ++i;
    return i;
}

bool StartsNumber(std::string_view text, std::size_t i) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i < text.size() && (IsDigit(text[i]) || text[i] == '.');
}

std::size_t CommentEnd(std::string_view text, std::size_t i) {
    const bool parenthesis = text[i] == '(';
    for (++i; i < text.size() && !IsLineEnd(text[i]); ++i) {
        if (parenthesis && text[i] == ')')
            return i + 1;
    }
    return i;
}

// "#" followed by a number, or by a name in angle brackets.
std::size_t VariableEnd(std::string_view text, std::size_t i) {
    ++i;
    if (i < text.size() && text[i] == '<') {
        while (i < text.size() && text[i] != '>' && !IsLineEnd(text[i]))
            ++i;
        return i < text.size() && text[i] == '>' ? i + 1 : i;
    }
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

char AddressStyle(char letter) {
    if (letter == 'G' || letter == 'g')
        return kNcGCode;
    if (letter == 'M' || letter == 'm')
        return kNcMCode;
    return kNcAddress;
}

}  // namespace

void StyleNcText(std::string_view text, char* styles) {
    std::size_t i = 0;
    const auto paint = [&](std::size_t end, char style) {
        std::fill(styles + i, styles + end, style);
        i = end;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '(' || c == ';') {
            paint(CommentEnd(text, i), kNcComment);
        } else if (c == '#') {
            paint(VariableEnd(text, i), kNcVariable);
        } else if (IsLetter(c)) {
            std::size_t wordEnd = i + 1;
            while (wordEnd < text.size() && IsLetter(text[wordEnd]))
                ++wordEnd;
            // A single letter with a number is an address word; longer words (IF, GOTO) are not.
            if (wordEnd == i + 1 && StartsNumber(text, wordEnd)) {
                paint(NumberEnd(text, wordEnd), AddressStyle(c));
            } else if (wordEnd == i + 1 && wordEnd < text.size() && text[wordEnd] == '#') {
                paint(wordEnd, AddressStyle(c));
            } else {
                paint(wordEnd, kNcDefault);
            }
        } else {
            paint(i + 1, kNcDefault);
        }
    }
}

NcLexer::NcLexer(const ReadingTheme& theme, const QFont& font, QObject* parent)
    : QsciLexerCustom(parent) {
    setDefaultFont(font);
    setDefaultPaper(theme.paper);
    setDefaultColor(theme.text);
    const QColor colours[kNcStyleCount] = {theme.text,    theme.gCode,   theme.mCode,
                                           theme.address, theme.comment, theme.variable};
    for (int style = 0; style < kNcStyleCount; ++style) {
        setFont(font, style);
        setPaper(theme.paper, style);
        setColor(colours[style], style);
    }
    QFont italic = font;
    italic.setItalic(true);
    setFont(italic, kNcComment);
}

QString NcLexer::description(int style) const {
    static const char* const names[kNcStyleCount] = {"Default", "G code",  "M code",
                                                     "Address", "Comment", "Variable"};
    return style >= 0 && style < kNcStyleCount ? QString::fromLatin1(names[style]) : QString();
}

void NcLexer::styleText(int start, int end) {
    if (editor() == nullptr || end <= start)
        return;
    const auto length = static_cast<unsigned long>(end - start);
    const auto* bytes = reinterpret_cast<const char*>(editor()->SendScintilla(
        QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), long(length)));
    if (bytes == nullptr)
        return;
    std::string styles(length, char(kNcDefault));
    StyleNcText(std::string_view(bytes, length), styles.data());
    startStyling(start);
    editor()->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, length, styles.data());
}

}  // namespace qm
