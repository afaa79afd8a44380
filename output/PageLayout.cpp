#include "PageLayout.h"

#include <utility>

#include "MarginNumber.h"

namespace qm {

PageLayout::PageLayout(PageSurface& surface, const PageGeometry& geometry, std::int16_t& PrintPageNo,
                       QString caption, QDate today)
    : surface_(surface), geometry_(geometry), PrintPageNo_(PrintPageNo), caption_(std::move(caption)), today_(today) {}

void PageLayout::PrintPageHeader() {
    const double h = geometry_.PrintLineHeight;
    surface_.SetLineWidth(3);
    surface_.SetPosition(geometry_.LeftMerge, h);
    surface_.PrintLine(today_.toString(QStringLiteral("yyyy.MM.dd")));
    surface_.SetPosition((geometry_.PrintRightEdge - surface_.TextWidth(caption_)) / 2 + geometry_.LeftMerge, h);
    surface_.PrintLine(caption_);
    const QString page = QStringLiteral("Page %1").arg(PrintPageNo_);
    surface_.SetPosition(geometry_.PrintRightEdge - surface_.TextWidth(page), h);
    surface_.PrintLine(page);
    surface_.DrawLine(geometry_.LeftMerge, 2.2 * h, geometry_.PrintRightEdge, 2.2 * h);
}

bool PageLayout::PageFull() const {
    return surface_.CurrentY() > (geometry_.PrintLinesPerPage - 1) * geometry_.PrintLineHeight;
}

void PageLayout::NewPage() {
    surface_.NewPage();
    ++PrintPageNo_;
    PrintPageHeader();
    surface_.SetPosition(geometry_.LeftMerge, 4 * geometry_.PrintLineHeight);
}

void PageLayout::PrintAt(double x, const QString& text) {
    surface_.SetPosition(x, surface_.CurrentY());
    surface_.PrintLine(text);
}

void PageLayout::PrintRest(Cursor& cursor, double x) {
    PrintAt(x, cursor.text.mid(cursor.offset));
    cursor.offset = cursor.text.size();
}

qsizetype PageLayout::FittingLength(const QString& text, qsizetype from, qsizetype limit, double room) const {
    // Widths grow with length, so the first start that is too wide can be found by halving.
    qsizetype fits = 0, tooWide = limit + 1;
    while (tooWide - fits > 1) {
        const qsizetype middle = (fits + tooWide) / 2;
        if (surface_.TextWidth(text.mid(from, middle)) > room) {
            tooWide = middle;
        } else {
            fits = middle;
        }
    }
    return fits;
}

LineEnd PageLayout::Cursor::NextLineEnd() const {
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
    return FindLineEnd(view, std::size_t(offset));
}

std::optional<bool> PageLayout::ScanLine(Cursor& cursor, double x, double width, double allowance) {
    const QString& text = cursor.text;
    const LineEnd lineEnd = cursor.NextLineEnd();
    const qsizetype length = qsizetype(lineEnd.at) - cursor.offset;
    const qsizetype fits = FittingLength(text, cursor.offset, length, width - allowance);
    if (fits < length) {
        // Too wide: print what fits, at least one character, so that every run ends.
        const qsizetype printed = qMax<qsizetype>(fits, 1);
        PrintAt(x, text.mid(cursor.offset, printed));
        cursor.offset += printed;
        return true;
    }
    if (lineEnd.length == 0) return std::nullopt;  // the rest fits and has no line end: printed later
    PrintAt(x, text.mid(cursor.offset, length));
    cursor.offset = qsizetype(lineEnd.at + lineEnd.length);
    return false;
}

void PageLayout::PrintSideBySide(const QString& source, const QString& converted) {
    const double h = geometry_.PrintLineHeight;
    const double width = RoundHalfEven((geometry_.PrintRightEdge - geometry_.LeftMerge) / 2 - 1);
    const double left = geometry_.LeftMerge, right = geometry_.LeftMerge + width;
    Cursor s{source}, k{converted};
    bool wrapLeft = false, wrapRight = false;
    surface_.SetPosition(left, 4 * h);
    while (!s.Empty() || !k.Empty()) {
        if (PageFull()) NewPage();
        // While the right column continues a wrapped line and the left does not, the left
        // skips its turn so that the rows stay aligned.
        if (wrapLeft || !wrapRight) {
            wrapLeft = ScanLine(s, left, width, 3).value_or(wrapLeft);
            surface_.SetPosition(left, surface_.CurrentY() - h);
        }
        wrapRight = ScanLine(k, right, width, 0).value_or(wrapRight);
        if (!s.HoldsLineEnd()) PrintRest(s, left);
        if (!k.HoldsLineEnd()) PrintRest(k, right);
    }
}

void PageLayout::PrintOneText(const QString& text, int columns) {
    const double h = geometry_.PrintLineHeight;
    const double width = columns == 2 ? RoundHalfEven((geometry_.PrintRightEdge - geometry_.LeftMerge) / 2 - 1)
                                      : geometry_.PrintRightEdge - geometry_.LeftMerge;
    Cursor t{text};
    int column = 1;
    double x = geometry_.LeftMerge;
    surface_.SetPosition(x, 4 * h);
    while (!t.Empty()) {
        if (columns == 2 && PageFull() && column == 1) {
            column = 2;
            x = RoundHalfEven(geometry_.PrintRightEdge / 2 + geometry_.LeftMerge + 1);
            surface_.SetPosition(x, 4 * h);
        }
        if (PageFull()) {
            NewPage();
            column = 1;
            x = geometry_.LeftMerge;
        }
        ScanLine(t, x, width, 10);
        if (!t.HoldsLineEnd()) PrintRest(t, x);
    }
}

}  // namespace qm
