#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

#include "LineEnds.h"
#include "PageSurface.h"

namespace qm {

// What the layout reads of the print settings, in millimetres.
struct PageGeometry {
    double LeftMerge = 10;        // x of the left end of the print area
    double PrintRightEdge = 200;  // x of the right end
    double PrintLineHeight = 4;   // h: header rows, body start, bottom limit, row alignment
    int PrintLinesPerPage = 70;   // N: the page is full when y > (N - 1) * h
};

// Puts the program texts on pages: a header on every page (date, the source window's caption,
// "Page N", a rule), then the lines below it from y = 4h, cut at their line ends (LF, CR LF or
// CR) and wrapped where wider than their column. A text is consumed from its start as it is printed.
class PageLayout {
public:
    PageLayout(PageSurface& surface, const PageGeometry& geometry, std::int16_t& PrintPageNo, QString caption,
               QDate today);

    void PrintPageHeader();
    // The source text in the left column and the converted text in the right, row by row.
    void PrintSideBySide(const QString& source, const QString& converted);
    // One text in one column, or in two newspaper columns.
    void PrintOneText(const QString& text, int columns);

private:
    struct Cursor {
        const QString& text;
        qsizetype offset = 0;
        bool Empty() const { return offset >= text.size(); }
        LineEnd NextLineEnd() const;
        bool HoldsLineEnd() const { return NextLineEnd().length > 0; }
    };

    bool PageFull() const;
    void NewPage();
    void PrintAt(double x, const QString& text);
    void PrintRest(Cursor& cursor, double x);
    // Prints the next line of cursor at x, cut at its line end or where it gets wider than width
    // less the allowance. Returns whether the line was cut for width (it wraps), or nothing when
    // nothing was printed.
    std::optional<bool> ScanLine(Cursor& cursor, double x, double width, double allowance);
    // Length of the longest start of text[from, from + limit) no wider than room.
    qsizetype FittingLength(const QString& text, qsizetype from, qsizetype limit, double room) const;

    PageSurface& surface_;
    PageGeometry geometry_;
    std::int16_t& PrintPageNo_;
    QString caption_;
    QDate today_;
};

}  // namespace qm
