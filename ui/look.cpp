#include "look.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace renkomi::ui {

QColor FromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

QFont GameFont(int pixelHeight, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

void CentreOnFirstShow(QWidget& window) {
  static const char* const kPlaced = "renkomiPlaced";
  if (window.property(kPlaced).toBool()) return;
  window.setProperty(kPlaced, true);
  CentreOnScreen(window);
}

void PaintCheckMark(QPainter& painter, const QRectF& glyph, const QColor& colour) {
  QPainterPath check;
  check.moveTo(glyph.left() + 3, glyph.top() + 9);
  check.lineTo(glyph.left() + 7, glyph.top() + 14);
  check.lineTo(glyph.left() + 15, glyph.top() + 4);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawPath(check);
  painter.restore();
}

QIcon CheckMarkIcon() {
  // The icon takes the drawing nearest the screen's resolution; every common
  // ratio gets its own, painted from the vector path.
  QIcon icon;
  for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
    const int side = static_cast<int>(std::lround(18 * ratio));
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintCheckMark(painter, QRectF(0, 0, 18, 18), kCheckMarkGreen);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QImage DrawingForRatio(const QString& path, qreal ratio) {
  QImage image;
  if (ratio > 1.0) {
    const int dot = static_cast<int>(path.lastIndexOf(QLatin1Char('.')));
    image.load(dot < 0 ? path + QStringLiteral("@2x") : path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
  }
  if (image.isNull()) image.load(path);
  return image;
}

QPixmap PictureAtRatio(const QString& path, QSize size, qreal ratio) {
  QImage image = DrawingForRatio(path, ratio);
  if (image.isNull()) return QPixmap();
  const QSize device(static_cast<int>(std::lround(size.width() * ratio)),
                     static_cast<int>(std::lround(size.height() * ratio)));
  if (image.size() != device) {
    // Scaled in full colour: an 8-bit palette does not mix.
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied).scaled(device, Qt::IgnoreAspectRatio,
                         image.width() < device.width() ? Qt::FastTransformation : Qt::SmoothTransformation);
  }
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

}  // namespace renkomi::ui
