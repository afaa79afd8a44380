#include "WordHover.h"

#include <QToolTip>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "CommentSpans.h"
#include "ProperCase.h"
#include "TextBridge.h"

namespace qm {

using B = QsciScintillaBase;

QString HoverText(const DictionaryTable& table, std::string_view line, std::size_t offset) {
    const std::optional<int> entry = EntryCovering(table, line, offset);
    if (!entry)
        return {};
    const DictionaryEntry& found = table.entries[std::size_t(*entry)];
    return ToQString(found.word) + QStringLiteral(": ") + ToQString(ProperCase(found.comment));
}

void WordHover::Attach(QsciScintilla& source) {
    source.SendScintilla(B::SCI_SETMOUSEDWELLTIME, static_cast<unsigned long>(kDwellMs));
    connect(&source, &QsciScintillaBase::SCN_DWELLSTART, this,
            [this, &source](int position, int x, int y) {
                const QString text = TextAt(source, position);
                if (!text.isEmpty())
                    QToolTip::showText(source.viewport()->mapToGlobal(QPoint(x, y)), text, &source);
            });
    connect(&source, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
}

QString WordHover::TextAt(QsciScintilla& source, long position) const {
    if (position < 0 || !state_.DictionaryLoaded)
        return {};
    const long line =
        source.SendScintilla(B::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    const long start =
        source.SendScintilla(B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long end =
        source.SendScintilla(B::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    if (position >= end)
        return {};
    const auto* bytes = reinterpret_cast<const char*>(source.SendScintilla(
        B::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    if (bytes == nullptr)
        return {};
    return HoverText(state_.Dictionary, std::string_view(bytes, std::size_t(end - start)),
                     std::size_t(position - start));
}

}  // namespace qm
