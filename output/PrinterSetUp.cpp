#include "PrinterSetUp.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>

#include <cmath>

#include "AppState.h"
#include "InstalledFont.h"
#include "MarginNumber.h"

namespace qm {

QFont PrintFont(const AppState& state) {
    const int size = qMax(1, state.PrintFontSize);
    return InstalledOrFixedFont(state.PrintFontName, size, size);
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

double PrintableWidth(const QPrinter& printer, int orientation) {
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout.paintRect(QPageLayout::Millimeter).width();
}

bool MarginsLeaveRoom(double printableWidth, int leftMerge, int rightMerge) {
    return RoundHalfEven(printableWidth - rightMerge) > leftMerge;
}

QString NoRoomMessage(double printableWidth, int leftMerge, int rightMerge) {
    return QStringLiteral("The margins leave no room to print: the printable width of the page is %1 mm, "
                          "and the margins L %2 mm and R %3 mm take all of it.")
        .arg(qRound(printableWidth))
        .arg(leftMerge)
        .arg(rightMerge);
}

void SetUpPrinter(AppState& state, QPrinter& printer) {
    printer.setPageOrientation(state.PrinterOrientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    SetPageGeometry(state, MeasurePrinter(printer, PrintFont(state)));
}

}  // namespace qm
