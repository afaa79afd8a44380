#include "CommentMarks.h"

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "EditorLook.h"

namespace qm {
namespace {

using B = QsciScintillaBase;

struct LineRange {
    long start = 0, end = 0;
};

// Line `line` with its line end, as bytes [start, end) of the text.
LineRange RangeOf(QsciScintilla& editor, long line) {
    const long start =
        editor.SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long next =
        editor.SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1));
    return {start, next >= start ? next : editor.SendScintilla(B::SCI_GETLENGTH)};
}

std::string_view TextOf(QsciScintilla& editor, const LineRange& range) {
    const auto* bytes = reinterpret_cast<const char*>(editor.SendScintilla(
        B::SCI_GETRANGEPOINTER, static_cast<unsigned long>(range.start), range.end - range.start));
    return bytes != nullptr ? std::string_view(bytes, std::size_t(range.end - range.start))
                            : std::string_view();
}

constexpr std::size_t kMostRemembered = 20000;

}  // namespace

CommentMarks::CommentMarks(AppState& state, std::function<QsciScintilla*()> source, QObject* parent)
    : QObject(parent), state_(state), source_(std::move(source)) {}

void CommentMarks::Attach(QsciScintilla& converted) {
    converted_ = &converted;
    marked_.clear();
    connect(&converted, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & B::SC_UPDATE_CONTENT)
            marked_.clear();
        if (updated & (B::SC_UPDATE_CONTENT | B::SC_UPDATE_V_SCROLL))
            MarkShownLines();
    });
    // A resize, a new arrangement or a new zoom shows other lines without scrolling.
    connect(&converted, &QsciScintillaBase::SCN_PAINTED, this, [this] {
        if (ShownLines() != shown_)
            MarkShownLines();
    });
}

std::pair<long, long> CommentMarks::ShownLines() const {
    QsciScintilla& converted = *converted_;
    const long first = converted.SendScintilla(B::SCI_GETFIRSTVISIBLELINE);
    const long last = std::min(first + converted.SendScintilla(B::SCI_LINESONSCREEN) + 1,
                               converted.SendScintilla(B::SCI_GETLINECOUNT));
    return {first, last};
}

void CommentMarks::MarkShownLines() {
    QsciScintilla* source = source_();
    if (converted_.isNull() || source == nullptr)
        return;
    finder_.Use(state_.Dictionary, state_.SpaceAdd);
    if (marked_.size() > kMostRemembered)
        marked_.clear();
    QsciScintilla& converted = *converted_;
    shown_ = ShownLines();
    const auto [first, last] = shown_;
    converted.SendScintilla(B::SCI_SETINDICATORCURRENT,
                            static_cast<unsigned long>(kInsertedCommentIndicator));
    for (long line = first; line < last; ++line)
        MarkLine(*source, converted, line);
}

void CommentMarks::MarkLine(QsciScintilla& source, QsciScintilla& converted, long line) {
    const LineRange target = RangeOf(converted, line);
    const bool hasSource = line < source.SendScintilla(B::SCI_GETLINECOUNT);
    const std::string_view sourceText =
        hasSource ? TextOf(source, RangeOf(source, line)) : std::string_view();
    const std::string_view convertedText = TextOf(converted, target);
    std::string key;
    key.reserve(sourceText.size() + convertedText.size() + 2);
    key.append(hasSource ? "1" : "0").append(sourceText).append(1, '\0').append(convertedText);
    auto [known, added] = marked_.try_emplace(line, key);
    if (!added && known->second == key)
        return;
    known->second = std::move(key);

    converted.SendScintilla(B::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(target.start),
                            target.end - target.start);
    if (!hasSource)
        return;
    const auto spans = finder_.Spans(sourceText, convertedText);
    if (!spans)
        return;
    for (const ByteSpan& span : *spans) {
        converted.SendScintilla(B::SCI_INDICATORFILLRANGE,
                                static_cast<unsigned long>(target.start + long(span.from)),
                                long(span.to - span.from));
    }
}

}  // namespace qm
