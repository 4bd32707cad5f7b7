#include "app/xkblockkeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>

namespace tessaly {

namespace {

std::optional<bool> NamedIndicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0)
        return std::nullopt;
    int index = 0;
    int on = 0;
    if (!XkbGetNamedIndicator(display, atom, &index, &on, nullptr, nullptr))
        return std::nullopt;
    return on != 0;
}

} // namespace

std::optional<LockKeyStates> XkbLockKeys() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    return LockKeyStates{NamedIndicator(display, "Caps Lock"), NamedIndicator(display, "Num Lock"),
                         NamedIndicator(display, "Scroll Lock")};
}

} // namespace tessaly
