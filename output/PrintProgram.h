#pragma once

class QPrinter;

namespace qm {

struct Context;

// What the print dialog chose.
struct PrintChoice {
    enum class Data { Both, SourceOnly, ConvertedOnly } data = Data::Both;
    int columns = 1;  // for one text: one or two columns
};

// Prints the chosen texts of the document windows: sets up the printer, prints the first
// header, lays out the texts and ends the document. A printer that cannot start is reported;
// returns false then.
bool PrintProgram(Context& context, QPrinter& printer, const PrintChoice& choice);

}  // namespace qm
