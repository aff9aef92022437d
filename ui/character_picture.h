// The computer's picture: the character drawn over the window's 8 x 8 background
// tile, with the character's pure blue showing the tile, and kept to the tile grid
// so that the picture's own tile continues the window's.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>

namespace renkomi::ui {

inline constexpr int kTileSize = 8;

// The picture of `size`: the tile repeated (or `ground` without one), then the
// character squeezed into the whole of it with pure blue transparent.
QPixmap ComposeCharacterPicture(const QImage& character, const QPixmap& tile, QSize size, QColor ground);

// A coordinate snapped to the tile grid, toward zero.
inline constexpr int SnapToTile(int coordinate) { return kTileSize * (coordinate / kTileSize); }

}  // namespace renkomi::ui
