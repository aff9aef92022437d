#include "look.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QVariant>
#include <QWidget>

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
  QPixmap pixmap(18, 18);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  PaintCheckMark(painter, QRectF(0, 0, 18, 18), kCheckMarkGreen);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace renkomi::ui
