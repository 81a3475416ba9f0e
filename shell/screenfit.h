#pragma once

#include <QList>
#include <QRect>
#include <QRectF>

// Where a window with the wanted bounds (in pixels, as stored, however far off) may
// appear: on the screen area it mostly lies on, or the nearest one when it lies on
// none; shrunk to that area when larger, and moved inside it. With no screen area
// known the bounds are only brought into the range of pixel coordinates.
QRect keptOnScreens(const QRectF &wanted, const QList<QRect> &screenAreas);
