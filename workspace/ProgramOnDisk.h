#pragma once

#include <QString>

namespace qm {

struct Context;

// The program file may change on disk while it is open: a machine or another editor writes it
// back. As a careful text editor does, the program notices before it writes over such a change,
// and offers to read an unedited program again.

// True when path may be written with the source text: it is not the program's file, or that
// file is still as it was read, or the user said to overwrite the change (Yes).
bool MayOverwriteProgramFile(Context& context, const QString& path);

// Remembers the program's file as it is now, after the source text was written to it.
void ProgramFileSaved(Context& context, const QString& path);

// When the program gets the focus: a source text without edits whose file changed on disk is
// offered to be read again, once for each change.
void OfferToReadChangedProgram(Context& context);

}  // namespace qm
