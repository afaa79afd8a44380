#include "NcLexer.h"

#include <algorithm>

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

void NcLexer::setEditor(QsciScintilla* editor) {
    if (QsciScintilla* old = this->editor())
        disconnect(old, &QsciScintillaBase::SCN_UPDATEUI, this, nullptr);
    QsciLexerCustom::setEditor(editor);
    gaps_.clear();
    if (editor != nullptr)
        connect(editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this] { StyleShownGaps(); });
}

int NcLexer::LineStart(int position) const {
    const long line = editor()->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                              static_cast<unsigned long>(position));
    return int(editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                       static_cast<unsigned long>(line)));
}

// The editor styles everything from `position` on again: what was left there is its own.
void NcLexer::ForgetGapsFrom(int position) {
    while (!gaps_.empty() && gaps_.back().first >= position)
        gaps_.pop_back();
    if (!gaps_.empty())
        gaps_.back().second = std::min(gaps_.back().second, position);
}

void NcLexer::styleText(int start, int end) {
    if (editor() == nullptr || end <= start)
        return;
    ForgetGapsFrom(start);
    if (end - start > kStyleAtOnce) {
        const int tail = LineStart(end - kStyledTail);
        if (tail > start) {
            gaps_.emplace_back(start, tail);
            start = tail;
        }
    }
    StyleRange(start, end);
}

void NcLexer::StyleRange(int start, int end) {
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

// The lines on the screen that were passed over are styled now.
void NcLexer::StyleShownGaps() {
    QsciScintilla* text = editor();
    if (text == nullptr || gaps_.empty())
        return;
    // An edit makes the editor style again from the edit on; what lay beyond is gone.
    ForgetGapsFrom(int(text->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED)));
    const long first = text->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
                                           static_cast<unsigned long>(text->SendScintilla(
                                               QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)));
    const long shown = text->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN) + 1;
    const int from = int(text->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                             static_cast<unsigned long>(first)));
    const long last = std::min(first + shown, long(text->lines()));
    const int to = last >= text->lines()
                       ? int(text->SendScintilla(QsciScintillaBase::SCI_GETLENGTH))
                       : int(text->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                 static_cast<unsigned long>(last)));
    for (std::size_t i = 0; i < gaps_.size(); ++i) {
        const auto [gapStart, gapEnd] = gaps_[i];
        if (gapEnd <= from || gapStart >= to)
            continue;
        const int start = std::max(gapStart, from), end = std::min(gapEnd, to);
        // Styling moves the editor's styled end back to `end`: it asks again for what follows.
        gaps_.resize(i);
        if (gapStart < start)
            gaps_.emplace_back(gapStart, start);
        StyleRange(start, end);
        return;
    }
}

}  // namespace qm
