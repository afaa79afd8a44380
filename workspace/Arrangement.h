#pragma once

namespace qm {

struct Context;

// Display menu: arrange the document windows and check the chosen arrangement alone.
void MenuDisplayCascade_Click(Context& context);
void MenuDisplayVertical_Click(Context& context);    // side by side
void MenuDisplayHorizontal_Click(Context& context);  // one above another

// The main window was resized: arrange again as the checked item says.
void ReapplyArrangement(Context& context);

}  // namespace qm
