// The computer's picture: the character drawn over the window's 8 x 8 background
// tile, with the character's pure blue showing the tile, and kept to the tile grid
// so that the picture's own tile continues the window's. On a screen with more
// device pixels than window pixels both are drawn at the screen's own resolution.
#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSize>

namespace renkomi::ui {

inline constexpr int kTileSize = 8;

// The tile for a screen of `ratio` device pixels per window pixel. It is pixel
// art: every tile pixel becomes a block of device pixels, never a blur, and the
// tile covers a whole number of device pixels (8 x `ratio`, rounded), so that
// it repeats with the same period wherever it is drawn on the tile grid.
QPixmap TileAtRatio(const QImage& tile, qreal ratio);
// Whether `tile`, made by TileAtRatio, is the one for `ratio`.
bool TileFitsRatio(const QPixmap& tile, qreal ratio);

// The character's drawing for a screen of `ratio`: the one rendered at twice the
// size above ratio 1, so that the picture is never the small one enlarged.
QImage CharacterForRatio(qreal ratio);

// The picture of `size` window pixels, at the device pixel ratio of `tile`: the
// tile repeated (or `ground` without one), then the character squeezed into the
// whole of it with pure blue transparent.
QPixmap ComposeCharacterPicture(const QImage& character, const QPixmap& tile, QSize size, QColor ground);

// The element that shows a picture. A picture stays as drawn while its window
// waits for another one (the organizer disables the main window): greyed, the
// picture's tile would no longer continue the window's.
class Picture : public QLabel {
 public:
  // Drawn from its top-left corner, where the design places it.
  explicit Picture(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A coordinate snapped to the tile grid, toward zero.
inline constexpr int SnapToTile(int coordinate) { return kTileSize * (coordinate / kTileSize); }

}  // namespace renkomi::ui
