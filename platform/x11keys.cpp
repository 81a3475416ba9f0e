#include "platform/x11keys.h"

#include <QGuiApplication>

#if defined(ORVANEL_HAVE_X11) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>

namespace {
// Where the keyboard keeps each lock key's light, asked of the server once per display:
// asking for the names at every refresh cost two round trips a key.
struct Indicators {
    Display *display = nullptr;
    std::optional<int> index[3];
};

std::optional<int> indicatorIndex(Display *display, const char *name) {
    const Atom atom = XInternAtom(display, name, True);
    int index = -1;
    if (atom == 0 || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) ||
        index < 0)
        return std::nullopt;
    return index;
}

const Indicators &indicatorsOf(Display *display) {
    static Indicators known;
    if (known.display != display) {
        known.display = display;
        known.index[0] = indicatorIndex(display, "Caps Lock");
        known.index[1] = indicatorIndex(display, "Num Lock");
        known.index[2] = indicatorIndex(display, "Scroll Lock");
    }
    return known;
}
} // namespace

std::optional<bool> x11LockKeyState(LockKey key) {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return std::nullopt;
    Display *display = x11->display();
    const std::optional<int> index = indicatorsOf(display).index[static_cast<int>(key)];
    unsigned int lit = 0;
    if (!index || XkbGetIndicatorState(display, XkbUseCoreKbd, &lit) != Success)
        return std::nullopt;
    return (lit & (1u << *index)) != 0;
}
#else
std::optional<bool> x11LockKeyState(LockKey) {
    return std::nullopt;
}
#endif
