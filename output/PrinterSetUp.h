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

// The print font of the settings.
QFont PrintFont(const AppState& state);

// Measures the printer with the print font.
PrinterMetrics MeasurePrinter(QPagedPaintDevice& device, const QFont& font);

// The page geometry of a print run: PrintLineHeight (at least 1 mm, so that a tiny font cannot
// stop the layout), PrintLinesPerPage and PrintRightEdge.
void SetPageGeometry(AppState& state, const PrinterMetrics& metrics);

// SetUpPrinter: applies orientation and font to the printer and sets the page geometry.
void SetUpPrinter(AppState& state, QPrinter& printer);

}  // namespace qm
