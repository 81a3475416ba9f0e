#include "shell/windowarrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QList<QMdiSubWindow *> windows(QMdiArea &area, bool minimised) {
    QList<QMdiSubWindow *> found;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::StackingOrder))
        if (window->isVisible() && window->isMinimized() == minimised)
            found << window;
    return found;
}

void tile(QMdiArea &area, bool horizontal) {
    const QList<QMdiSubWindow *> tiles = windows(area, false);
    if (tiles.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int count = int(tiles.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = tiles[i];
        if (window->isMaximized())
            window->showNormal();
        QRect cell;
        if (horizontal) {
            const int top = space.height() * i / count;
            cell = QRect(0, top, space.width(), space.height() * (i + 1) / count - top);
        } else {
            const int left = space.width() * i / count;
            cell = QRect(left, 0, space.width() * (i + 1) / count - left, space.height());
        }
        window->setGeometry(cell);
    }
}

void arrangeIcons(QMdiArea &area) {
    const QRect space = area.viewport()->rect();
    int left = 0;
    int bottom = space.height();
    for (QMdiSubWindow *window : windows(area, true)) {
        const QSize size = window->size();
        if (left > 0 && left + size.width() > space.width()) {
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        left += size.width();
    }
}

} // namespace

void arrangeSubWindows(QMdiArea &area, int arrangement) {
    switch (arrangement) {
    case Arrangement::Cascade:
        area.cascadeSubWindows();
        break;
    case Arrangement::TileHorizontal:
        tile(area, true);
        break;
    case Arrangement::TileVertical:
        tile(area, false);
        break;
    case Arrangement::ArrangeIcons:
        arrangeIcons(area);
        break;
    default:
        break;
    }
}
