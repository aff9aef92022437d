#include "character_picture.h"

#include <QPainter>

namespace renkomi::ui {

QPixmap ComposeCharacterPicture(const QImage& character, const QPixmap& tile, QSize size, QColor ground) {
  QPixmap picture(size);
  picture.fill(ground);
  QPainter painter(&picture);
  if (!tile.isNull()) painter.drawTiledPixmap(picture.rect(), tile);
  if (!character.isNull()) {
    // Pure blue is the character's background: the tile shows through it.
    QImage keyed = character.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
      for (int x = 0; x < keyed.width(); ++x) {
        if ((line[x] & 0x00FFFFFF) == 0x000000FF) line[x] = 0;
      }
    }
    // Squeezed by one row into the picture's height, pixel for pixel as drawn.
    painter.drawImage(picture.rect(), keyed.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
  }
  painter.end();
  return picture;
}

}  // namespace renkomi::ui
