#include "PrintProgram.h"

#include <QDate>
#include <QFileInfo>
#include <QPrinter>

#include "AppState.h"
#include "Context.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "PageLayout.h"
#include "PainterSurface.h"
#include "PrinterSetUp.h"
#include "Services.h"
#include "Settings.h"
#include "TextBridge.h"

namespace qm {
namespace {

constexpr const char* kPdfFilter = "PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*";

bool LeavesRoom(const AppState& state) { return state.PrintRightEdge > state.LeftMerge; }

void LayOut(Context& context, PageSurface& surface, const PrintChoice& choice) {
    AppState& state = context.state;
    SourceWindow& sourceWindow = context.documents.OriginalFile();
    const QString source = ToQString(EditorText(sourceWindow.Text1()));
    const QString converted = ToQString(EditorText(context.documents.Form1().Text1()));
    const PageGeometry geometry{double(state.LeftMerge), double(state.PrintRightEdge), double(state.PrintLineHeight),
                                state.PrintLinesPerPage};
    PageLayout layout(surface, geometry, state.PrintPageNo, sourceWindow.windowTitle(), QDate::currentDate());
    state.PrintPageNo = 1;
    layout.PrintPageHeader();
    switch (choice.data) {
        case PrintChoice::Data::Both:
            layout.PrintSideBySide(source, converted);
            break;
        case PrintChoice::Data::SourceOnly:
            layout.PrintOneText(source, choice.columns);
            break;
        case PrintChoice::Data::ConvertedOnly:
            layout.PrintOneText(converted, choice.columns);
            break;
    }
}

}  // namespace

bool HasPrintDestination(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat ? !printer.printerName().isEmpty()
                                                            : !printer.outputFileName().isEmpty();
}

bool PrintPages(Context& context, QPrinter& printer, const PrintChoice& choice) {
    AppState& state = context.state;
    SetUpPrinter(state, printer);
    if (!LeavesRoom(state)) return false;
    PainterSurface surface(printer, PrintFont(state));
    if (!surface.isActive()) {
        const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        context.services.Message(QStringLiteral("Nothing was printed: %1 did not accept the print job.").arg(name));
        return false;
    }
    LayOut(context, surface, choice);
    return true;
}

bool SetUpPrinterWithRoom(Context& context, QPrinter& printer) {
    AppState& state = context.state;
    SetUpPrinter(state, printer);
    if (LeavesRoom(state)) return true;
    context.services.Message(
        NoRoomMessage(PrintableWidth(printer, state.PrinterOrientation), state.LeftMerge, state.RightMerge));
    return false;
}

bool PrintProgram(Context& context, QPrinter& printer, const PrintChoice& choice) {
    // Started without a destination, Qt's PDF engine would stay active for good and refuse
    // every later file name.
    if (!HasPrintDestination(printer)) {
        context.services.Message(QStringLiteral("Nothing was printed: no printer is set up."));
        return false;
    }
    return SetUpPrinterWithRoom(context, printer) && PrintPages(context, printer, choice);
}

void PrintOrAskForPdf(Context& context, QPrinter& printer, const PrintChoice& choice) {
    if (HasPrintDestination(printer)) {
        PrintProgram(context, printer, choice);
        return;
    }
    const AppState& state = context.state;
    const QString name = QFileInfo(state.ProgramFileName).baseName() + QStringLiteral(".pdf");
    const std::optional<QString> path = context.services.SaveFileDialog(
        {QString::fromLatin1(kPdfFilter), DialogStartFolder(state.SavePathName), name, QStringLiteral("Print to PDF File")});
    if (!path) return;
    // A printer of its own, so that the next print asks again.
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(printer.pageLayout());
    pdf.setOutputFileName(*path);
    PrintProgram(context, pdf, choice);
}

}  // namespace qm
