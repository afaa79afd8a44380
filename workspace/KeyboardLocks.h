#pragma once

namespace qm::keyboard {

// The keyboard's lock keys: Caps Lock read and switched,
// Num Lock read, through XKB when the program runs on X11.
// Elsewhere (Wayland, offscreen) the state reads as off and switching does nothing.
bool CapsLockOn();
void ToggleCapsLock();

// Num Lock, read the same way.
bool NumLockOn();

}  // namespace qm::keyboard
