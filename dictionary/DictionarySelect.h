#pragma once

#include <QString>

namespace qm {

struct Context;
class DicFileOpen;

// Dictionary menu: choose a dictionary file, create an empty one, reopen a recent one. Each loads
// the dictionary (which records it for the current program type) and converts the program again.
void MenuDicSelect_Click(Context& context, DicFileOpen& dialog);
void MenuDicCreate_Click(Context& context, DicFileOpen& dialog);
void mnuDicFile_Click(Context& context, int index);  // index 1 to 5

// Puts a path at the top of the recent-dictionary list, shifting the others down; a path already
// listed is listed again.
void AddRecentDictionary(Context& context, const QString& path);

}  // namespace qm
