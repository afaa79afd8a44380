#pragma once

namespace qm {

struct Context;

// Edit menu: each works on the text of the active document window and does nothing when no
// document window is active.
void MenuEditCut_Click(Context& context);
void MenuEditCopy_Click(Context& context);
void MenuEditPaste_Click(Context& context);
void MenuEditAll_Click(Context& context);
void MenuEditAllCopy_Click(Context& context);

}  // namespace qm
