#pragma once

#include <functional>

#include "Dictionary.h"

namespace qm {

struct Context;

// The word dialogs change the table only once a dictionary has been accepted: before that the
// table is empty and DicFileName may name a file that was refused, which a save would destroy.
// False, with a message, while none is loaded.
bool RequireLoadedDictionary(Context& context);

// Writes the table to DicFileName. When that fails the user is told the path and the reason and
// the table is read back from the file, so that table and file agree again. False on failure.
bool WriteDictionary(Context& context);

// Makes one change to the dictionary and writes it, never over changes it has not seen: another
// copy of the program, or a text editor, may have changed the file since it was read. Under an
// advisory lock on the file, a file that is no longer what the table was read from is read
// again (the user is told), change is made to what it holds now, and the table is written.
// change returns false to write nothing (having said why). False when nothing was written.
bool ChangeDictionary(Context& context, const std::function<bool(DictionaryTable&)>& change);

}  // namespace qm
