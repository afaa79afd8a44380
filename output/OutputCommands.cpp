#include "OutputCommands.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "CommandGuard.h"
#include "Context.h"
#include "Controls.h"
#include "PrintSettingDialog.h"
#include "PrinterDialog.h"
#include "PrintProgram.h"
#include "SaveCommand.h"
#include "Services.h"
#include "SpreadsheetExport.h"

namespace qm {

OutputCommands::OutputCommands(Context& context, QWidget& mainWindow)
    : QObject(&mainWindow), context_(context), mainWindow_(mainWindow),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    Controls& controls = context.controls;
    Services& services = context.services;
    connect(controls.MenuFileSave, &QAction::triggered, this, Guarded(services, [this] { MenuFileSave_Click(context_); }));
    connect(controls.MenuPrintSetup, &QAction::triggered, this, Guarded(services, [this] { MenuPrintSetup_Click(); }));
    connect(controls.MenuFilePrint, &QAction::triggered, this, Guarded(services, [this] { MenuFilePrint_Click(); }));
    connect(controls.MenuFileExcel, &QAction::triggered, this,
            Guarded(services, [this] { MenuFileExcel_Click(context_, mainWindow_); }));
}

OutputCommands::~OutputCommands() = default;

PrintSettingDialog& OutputCommands::PrintSetting() {
    if (printSetting_.isNull()) printSetting_ = new PrintSettingDialog(context_, *printer_, &mainWindow_);
    return *printSetting_;
}

PrinterDialog& OutputCommands::Printer1() {
    if (printer1_.isNull()) {
        printer1_ = new PrinterDialog(&mainWindow_);
        printer1_->onPrint = [this](const PrintChoice& choice) {
            RunGuarded(context_.services, [&] { PrintOrAskForPdf(context_, *printer_, choice); });
        };
        printer1_->onPreview = [this](const PrintChoice& choice) { Preview(choice); };
    }
    return *printer1_;
}

void OutputCommands::MenuPrintSetup_Click() { PrintSetting().Open(); }

void OutputCommands::MenuFilePrint_Click() { context_.services.ShowModal(Printer1()); }

void OutputCommands::Preview(const PrintChoice& choice) {
    if (!SetUpPrinterWithRoom(context_, *printer_)) return;
    QPrintPreviewDialog preview(printer_.get(), &mainWindow_);
    preview.setObjectName("PrintPreview");
    // The preview's own Print button asks for a PDF file name itself when there is no printer.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, choice](QPrinter* printer) { PrintPages(context_, *printer, choice); });
    context_.services.ShowModal(preview);
}

}  // namespace qm
