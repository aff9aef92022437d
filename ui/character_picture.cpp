#include "character_picture.h"

#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

#include "look.h"

namespace renkomi::ui {

namespace {

int DevicePixels(int windowPixels, qreal ratio) {
  return static_cast<int>(std::lround(windowPixels * ratio));
}

}  // namespace

QPixmap TileAtRatio(const QImage& tile, qreal ratio) {
  if (tile.isNull()) return QPixmap();
  const int side = std::max(1, DevicePixels(kTileSize, ratio));
  QPixmap pixmap = QPixmap::fromImage(tile.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(static_cast<qreal>(side) / kTileSize);
  return pixmap;
}

bool TileFitsRatio(const QPixmap& tile, qreal ratio) {
  return tile.width() == std::max(1, DevicePixels(kTileSize, ratio));
}

QImage CharacterForRatio(qreal ratio) { return DrawingForRatio(QStringLiteral(":/renkomi/character.bmp"), ratio); }

Picture::Picture(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignLeft | Qt::AlignTop); }

void Picture::paintEvent(QPaintEvent* event) {
  if (isEnabled() || pixmap().isNull()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter(this).drawPixmap(0, 0, pixmap());
}

QPixmap ComposeCharacterPicture(const QImage& character, const QPixmap& tile, QSize size, QColor ground) {
  // Composed in device pixels, so that nothing is resampled on the way to the
  // screen: the tile's block pixels stay blocks, the drawing stays sharp.
  const qreal ratio = tile.isNull() ? 1.0 : tile.devicePixelRatio();
  const QSize device(DevicePixels(size.width(), ratio), DevicePixels(size.height(), ratio));
  QImage picture(device, QImage::Format_ARGB32_Premultiplied);
  picture.fill(ground);
  QPainter painter(&picture);
  if (!tile.isNull()) {
    QPixmap deviceTile = tile;
    deviceTile.setDevicePixelRatio(1.0);
    painter.drawTiledPixmap(picture.rect(), deviceTile);
  }
  if (!character.isNull()) {
    // Pure blue is the character's background: the tile shows through it. It is
    // made transparent before any scaling, so no blue mixes into the edges.
    QImage keyed = character.convertToFormat(QImage::Format_ARGB32);
    // Its pixels are placed one for one: an "@2x" file comes with a ratio of 2.
    keyed.setDevicePixelRatio(1.0);
    for (int y = 0; y < keyed.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
      for (int x = 0; x < keyed.width(); ++x) {
        if ((line[x] & 0x00FFFFFF) == 0x000000FF) line[x] = 0;
      }
    }
    // At ratio 1 squeezed by one row into the picture's height, pixel for pixel
    // as drawn; at other ratios the larger drawing is scaled smoothly to fit.
    const Qt::TransformationMode mode = ratio == 1.0 ? Qt::FastTransformation : Qt::SmoothTransformation;
    painter.drawImage(QPoint(0, 0), keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                        .scaled(device, Qt::IgnoreAspectRatio, mode));
  }
  painter.end();
  QPixmap result = QPixmap::fromImage(picture.convertToFormat(QImage::Format_RGB32));
  result.setDevicePixelRatio(ratio);
  return result;
}

}  // namespace renkomi::ui
