#include "PrintProgram.h"

#include <QDate>
#include <QPrinter>

#include "AppState.h"
#include "Context.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "PageLayout.h"
#include "PainterSurface.h"
#include "PrinterSetUp.h"
#include "Services.h"
#include "TextBridge.h"

namespace qm {

bool PrintProgram(Context& context, QPrinter& printer, const PrintChoice& choice) {
    AppState& state = context.state;
    SetUpPrinter(state, printer);
    PainterSurface surface(printer, PrintFont(state));
    if (!surface.isActive()) {
        const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        context.services.Message(name.isEmpty() ? QStringLiteral("Nothing was printed: no printer is set up.")
                                                : QStringLiteral("Nothing was printed: %1 did not accept the print job.").arg(name));
        return false;
    }
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
    return true;
}

}  // namespace qm
