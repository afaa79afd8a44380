#include "KeyboardLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace qm::keyboard {
namespace {

Display* X11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// Whether the locked modifiers include any of mask.
bool Locked(unsigned int mask) {
    Display* display = X11Display();
    if (display == nullptr) return false;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return false;
    return (state.locked_mods & mask) != 0;
}

}  // namespace

bool CapsLockOn() { return Locked(LockMask); }

bool NumLockOn() {
    Display* display = X11Display();
    return display != nullptr && Locked(XkbKeysymToModifiers(display, XK_Num_Lock));
}

void ToggleCapsLock() {
    Display* display = X11Display();
    if (display == nullptr) return;
    const bool on = CapsLockOn();
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? 0 : LockMask);
    XFlush(display);
}

}  // namespace qm::keyboard
