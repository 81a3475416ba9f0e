#pragma once

class QMdiArea;

// The arrangements of the child windows of a multiple-document window.
namespace Arrangement {
inline constexpr int Cascade = 0;
inline constexpr int TileHorizontal = 1;
inline constexpr int TileVertical = 2;
inline constexpr int ArrangeIcons = 3;
} // namespace Arrangement

// Arranges the area's child windows: cascaded, tiled one above the other (horizontal),
// side by side (vertical), or, for arrange icons, the minimised ones lined up along the
// bottom edge. Tiling lines the icons up too and keeps their rows free; where the tiles
// would be too thin to use, it cascades instead. Cascading leaves minimised windows
// where they are.
void arrangeSubWindows(QMdiArea &area, int arrangement);
