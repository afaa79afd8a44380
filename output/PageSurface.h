#pragma once

#include <QString>

namespace qm {

// Where the page layout prints: positions in millimetres from the top-left corner of the
// printable area, x to the right and y downwards.
class PageSurface {
public:
    virtual ~PageSurface() = default;

    virtual void SetPosition(double x, double y) = 0;
    virtual double CurrentY() const = 0;
    // Prints text at the current position, then moves down one line of the print font and back
    // to the left edge.
    virtual void PrintLine(const QString& text) = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual void SetLineWidth(int width) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;  // black
    virtual void NewPage() = 0;
};

}  // namespace qm
