#include "rtf/codec/twips.h"

#include <QGuiApplication>
#include <QScreen>

TwipsPerPixel TwipsPerPixel::ofScreen() {
    constexpr double twipsPerInch = 1440.0;
    const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return {};
    return {twipsPerInch / screen->logicalDotsPerInchX(),
            twipsPerInch / screen->logicalDotsPerInchY()};
}
