#pragma once

#include <QString>

namespace qm {

struct Context;

// File > Save: offers to save the edited source text, then the converted text, each in its own
// save dialog. What is written is what the windows hold, in the program's encoding.
void MenuFileSave_Click(Context& context);

// The name offered for the converted text: the program's name with its extension replaced by
// ".txt" ("/nc/O1234.MIN" -> "/nc/O1234.txt", "PART.NC" -> "PART.txt", "PART" -> "PART.txt").
QString ConvertedFileName(const QString& ProgramFileName);

}  // namespace qm
