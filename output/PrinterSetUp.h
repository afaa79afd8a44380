#pragma once

#include <QFont>

class QPagedPaintDevice;
class QPrinter;

namespace qm {

struct AppState;

// What the page geometry is derived from, in millimetres.
struct PrinterMetrics {
    double textHeight = 0;  // height of "A" in the print font
    double printableWidth = 0;
    double printableHeight = 0;
};

// The print font of the settings; the system's fixed-pitch font at the same size when the named
// font is not installed.
QFont PrintFont(const AppState& state);

// Measures the printer with the print font.
PrinterMetrics MeasurePrinter(QPagedPaintDevice& device, const QFont& font);

// The page geometry of a print run: PrintLineHeight (at least 1 mm, so that a tiny font cannot
// stop the layout), PrintLinesPerPage and PrintRightEdge.
void SetPageGeometry(AppState& state, const PrinterMetrics& metrics);

// The printable width of printer's page in millimetres, in orientation (1 portrait, 2 landscape).
double PrintableWidth(const QPrinter& printer, int orientation);

// Margins leave room when the right end of the print area (PrintRightEdge) lies right of its
// left end; otherwise every line would be cut to one character or printed off the page.
bool MarginsLeaveRoom(double printableWidth, int leftMerge, int rightMerge);
// Why such margins are refused, naming the page's printable width.
QString NoRoomMessage(double printableWidth, int leftMerge, int rightMerge);

// SetUpPrinter: applies orientation and font to the printer and sets the page geometry.
void SetUpPrinter(AppState& state, QPrinter& printer);

}  // namespace qm
