#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QPrinter;
class QWidget;

namespace qm {

struct Context;
class PrintSettingDialog;
class PrinterDialog;

// The File menu's output commands (Save, Print Setup, Print) with the printer they share; made
// once beside the main window, whose menu items it connects.
class OutputCommands : public QObject {
    Q_OBJECT
public:
    OutputCommands(Context& context, QWidget& mainWindow);
    ~OutputCommands() override;

    void MenuPrintSetup_Click();
    void MenuFilePrint_Click();

    QPrinter& printer() { return *printer_; }
    // The dialogs, created on first use.
    PrintSettingDialog& PrintSetting();
    PrinterDialog& Printer1();

private:
    void Preview(const struct PrintChoice& choice);

    Context& context_;
    QWidget& mainWindow_;
    std::unique_ptr<QPrinter> printer_;
    QPointer<PrintSettingDialog> printSetting_;
    QPointer<PrinterDialog> printer1_;
};

}  // namespace qm
