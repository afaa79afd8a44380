#pragma once

namespace qm::capslock {

// The keyboard's Caps Lock, read and switched through XKB when the program runs on X11.
// Elsewhere (Wayland, offscreen) the state reads as off and switching does nothing.
bool IsOn();
void Toggle();

}  // namespace qm::capslock
