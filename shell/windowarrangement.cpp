#include "shell/windowarrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace {

// Tiles thinner than this hold a title bar and hardly a line of text: past that many
// windows they are cascaded instead.
constexpr int minimumTileHeight = 100;
constexpr int minimumTileWidth = 160;

QList<QMdiSubWindow *> windows(QMdiArea &area, bool minimised) {
    QList<QMdiSubWindow *> found;
    for (QMdiSubWindow *window : area.subWindowList(QMdiArea::StackingOrder))
        if (window->isVisible() && window->isMinimized() == minimised)
            found << window;
    return found;
}

// Lines the minimised windows up along the bottom edge; returns the top of their rows
// (the area's height when there are none).
int arrangeIcons(QMdiArea &area) {
    const QRect space = area.viewport()->rect();
    int left = 0;
    int bottom = space.height();
    int top = space.height();
    for (QMdiSubWindow *window : windows(area, true)) {
        const QSize size = window->size();
        if (left > 0 && left + size.width() > space.width()) {
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        top = std::min(top, bottom - size.height());
        left += size.width();
    }
    return top;
}

void tile(QMdiArea &area, bool horizontal) {
    const QList<QMdiSubWindow *> tiles = windows(area, false);
    if (tiles.isEmpty())
        return;
    // The icons of minimised windows keep their rows free below the tiles.
    QRect space = area.viewport()->rect();
    space.setBottom(std::max(space.top(), arrangeIcons(area) - 1));
    const int count = int(tiles.size());
    if ((horizontal ? space.height() / count < minimumTileHeight
                    : space.width() / count < minimumTileWidth)) {
        area.cascadeSubWindows();
        return;
    }
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
