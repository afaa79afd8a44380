#pragma once

class QPrinter;

namespace qm {

struct Context;

// What the print dialog chose.
struct PrintChoice {
    enum class Data { Both, SourceOnly, ConvertedOnly } data = Data::Both;
    int columns = 1;  // for one text: one or two columns
};

// Whether printer has somewhere to print: a printer's name, or a PDF file name.
bool HasPrintDestination(const QPrinter& printer);

// SetUpPrinter, then margins that leave no room are reported; returns false then.
bool SetUpPrinterWithRoom(Context& context, QPrinter& printer);

// Prints the chosen texts of the document windows: sets up the printer, prints the first
// header, lays out the texts and ends the document. A printer without a destination and
// margins that leave no room are reported before the printer is started, so that it stays
// usable for the next print; a printer that cannot start is reported too. Returns false then.
bool PrintProgram(Context& context, QPrinter& printer, const PrintChoice& choice);

// The pages alone, on a device known to have a destination (the print preview). Margins that
// leave no room give no pages.
bool PrintPages(Context& context, QPrinter& printer, const PrintChoice& choice);

// The Print dialog's OK: prints on printer, or, when there is no printer, asks for a PDF file
// name (every time) and prints there.
void PrintOrAskForPdf(Context& context, QPrinter& printer, const PrintChoice& choice);

}  // namespace qm
