#pragma once

#include <string>

class QsciScintilla;

namespace qm {

struct Context;

// The text of the active document window, or nullptr when none is active.
QsciScintilla* ActiveText(Context& context);
// The selected text of the active document window, empty when there is none.
std::string ActiveSelection(Context& context);

// Edit menu: each works on the text of the active document window and does nothing when no
// document window is active.
void MenuEditCut_Click(Context& context);
void MenuEditCopy_Click(Context& context);
void MenuEditPaste_Click(Context& context);
void MenuEditAll_Click(Context& context);
void MenuEditAllCopy_Click(Context& context);

}  // namespace qm
