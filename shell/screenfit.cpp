#include "shell/screenfit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Far beyond any screen, well inside int.
constexpr double coordinateLimit = 1e6;

double sane(double value, double low) {
    if (!std::isfinite(value))
        return low;
    return std::clamp(value, low, coordinateLimit);
}

double overlap(const QRectF &a, const QRectF &b) {
    const QRectF common = a.intersected(b);
    return common.isEmpty() ? 0.0 : common.width() * common.height();
}

double distance(const QRectF &a, const QRectF &b) {
    const double dx = std::max({0.0, b.left() - a.right(), a.left() - b.right()});
    const double dy = std::max({0.0, b.top() - a.bottom(), a.top() - b.bottom()});
    return std::hypot(dx, dy);
}

} // namespace

QRect keptOnScreens(const QRectF &wanted, const QList<QRect> &screenAreas) {
    const QRectF bounds(sane(wanted.x(), -coordinateLimit), sane(wanted.y(), -coordinateLimit),
                        sane(wanted.width(), 1), sane(wanted.height(), 1));
    if (screenAreas.isEmpty())
        return bounds.toRect();

    // The screen the window mostly lies on; failing that, the nearest.
    QRect area = screenAreas.first();
    double bestOverlap = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (const QRect &screen : screenAreas) {
        const double common = overlap(bounds, QRectF(screen));
        const double apart = distance(bounds, QRectF(screen));
        if (common > bestOverlap || (bestOverlap == 0 && common == 0 && apart < bestDistance)) {
            area = screen;
            bestOverlap = common;
            bestDistance = apart;
        }
    }

    const int width = std::min(int(std::lround(bounds.width())), area.width());
    const int height = std::min(int(std::lround(bounds.height())), area.height());
    const int left =
        std::clamp(int(std::lround(bounds.x())), area.left(), area.right() + 1 - width);
    const int top =
        std::clamp(int(std::lround(bounds.y())), area.top(), area.bottom() + 1 - height);
    return {left, top, width, height};
}
