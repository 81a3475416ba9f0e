#include "platform/x11keys.h"

#include <QGuiApplication>

#if defined(ORVANEL_HAVE_X11) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>

std::optional<bool> x11LockKeyState(LockKey key) {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return std::nullopt;
    const char *name = nullptr;
    switch (key) {
    case LockKey::Caps:
        name = "Caps Lock";
        break;
    case LockKey::Num:
        name = "Num Lock";
        break;
    case LockKey::Scroll:
        name = "Scroll Lock";
        break;
    }
    Display *display = x11->display();
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0)
        return std::nullopt;
    Bool on = 0;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != 0;
}
#else
std::optional<bool> x11LockKeyState(LockKey) {
    return std::nullopt;
}
#endif
