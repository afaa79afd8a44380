#include "CapsLock.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace qm::capslock {
namespace {

Display* X11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace

bool IsOn() {
    Display* display = X11Display();
    if (display == nullptr) return false;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return false;
    return (state.locked_mods & LockMask) != 0;
}

void Toggle() {
    Display* display = X11Display();
    if (display == nullptr) return;
    const bool on = IsOn();
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? 0 : LockMask);
    XFlush(display);
}

}  // namespace qm::capslock
