#include "platform/X11KeyboardState.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace tov::platform {

namespace {
Display* dpy(void* d) {
    return static_cast<Display*>(d);
}
} // namespace

X11KeyboardState::X11KeyboardState() {
    // Only a program shown through X has a keyboard to look after.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        return;
    }
    mask_ = XkbKeysymToModifiers(d, XK_Num_Lock);
    if (mask_ == 0) {
        XCloseDisplay(d);
        return;
    }
    display_ = d;
}

X11KeyboardState::~X11KeyboardState() {
    if (display_ != nullptr) {
        XCloseDisplay(dpy(display_));
    }
}

std::optional<bool> X11KeyboardState::numLock() {
    if (display_ == nullptr) {
        return std::nullopt;
    }
    XkbStateRec state{};
    if (XkbGetState(dpy(display_), XkbUseCoreKbd, &state) != Success) {
        return std::nullopt;
    }
    return (state.locked_mods & mask_) != 0;
}

void X11KeyboardState::setNumLock(bool on) {
    if (display_ == nullptr) {
        return;
    }
    const auto current = numLock();
    if (current && *current == on) {
        return;
    }
    XkbLockModifiers(dpy(display_), XkbUseCoreKbd, mask_, on ? mask_ : 0);
    XFlush(dpy(display_));
}

} // namespace tov::platform
