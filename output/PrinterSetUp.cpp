#include "PrinterSetUp.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>

#include <cmath>

#include "AppState.h"
#include "MarginNumber.h"

namespace qm {

QFont PrintFont(const AppState& state) {
    QFont font(state.PrintFontName);
    font.setPointSize(qMax(1, state.PrintFontSize));
    return font;
}

PrinterMetrics MeasurePrinter(QPagedPaintDevice& device, const QFont& font) {
    const double millimetresPerDot = 25.4 / device.logicalDpiY();
    const QFontMetricsF metrics(font, &device);
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Millimeter);
    return {metrics.height() * millimetresPerDot, area.width(), area.height()};
}

void SetPageGeometry(AppState& state, const PrinterMetrics& metrics) {
    state.PrintLineHeight = qMax(1, int(RoundHalfEven(metrics.textHeight)));
    state.PrintLinesPerPage = int(std::floor(metrics.printableHeight / state.PrintLineHeight));
    state.PrintRightEdge = int(RoundHalfEven(metrics.printableWidth - state.RightMerge));
}

void SetUpPrinter(AppState& state, QPrinter& printer) {
    printer.setPageOrientation(state.PrinterOrientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    SetPageGeometry(state, MeasurePrinter(printer, PrintFont(state)));
}

}  // namespace qm
