#pragma once

namespace qm {

struct Context;

// The word dialogs change the table only once a dictionary has been accepted: before that the
// table is empty and DicFileName may name a file that was refused, which a save would destroy.
// False, with a message, while none is loaded.
bool RequireLoadedDictionary(Context& context);

// Writes the table to DicFileName. When that fails the user is told the path and the reason and
// the table is read back from the file, so that table and file agree again. False on failure.
bool WriteDictionary(Context& context);

}  // namespace qm
