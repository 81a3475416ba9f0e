#include "platform/units.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {
constexpr double twipsPerInch = 1440.0;

double dpi(bool horizontal) {
    const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return 96.0;
    return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}
} // namespace

double twipsPerPixelX() {
    return twipsPerInch / dpi(true);
}
double twipsPerPixelY() {
    return twipsPerInch / dpi(false);
}
int twipsToPixelsX(double twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}
int twipsToPixelsY(double twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixelY()));
}
double pixelsToTwipsX(int pixels) {
    return pixels * twipsPerPixelX();
}
double pixelsToTwipsY(int pixels) {
    return pixels * twipsPerPixelY();
}

void placeInTwips(QWidget *control, double left, double top, double width, double height) {
    control->setGeometry(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width),
                         twipsToPixelsY(height));
}
