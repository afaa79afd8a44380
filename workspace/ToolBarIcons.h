#pragma once

#include <QIcon>

namespace qm {

// Picture 1 to 9 of the toolbar: new, open, save, print, cut, copy, paste, word search and
// spreadsheet, from the desktop's icon theme, or drawn here where the theme has none.
QIcon ToolBarIcon(int picture);

}  // namespace qm
