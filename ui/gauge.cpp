#include "gauge.h"

#include <algorithm>

#include <QAccessible>
#include <QPainter>

namespace renkomi::ui {

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
  // Paints every pixel itself, so a repaint never has to draw the parent first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Gauge::SetProgress(int percent) {
  const int clamped = std::clamp(percent, 0, 100);
  if (clamped == progress_) return;
  progress_ = clamped;
  QAccessibleValueChangeEvent changed(this, progress_);
  QAccessible::updateAccessibility(&changed);
  if (repaintAtOnce_) {
    repaint();
  } else {
    update();
  }
}

QString Gauge::Text() const { return QStringLiteral("%1%").arg(progress_); }

void Gauge::SetColours(QColor filled, QColor empty) {
  filled_ = filled;
  empty_ = empty;
  update();
}

void Gauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  const int filledWidth = inside.width() * progress_ / 100;
  const QRect bar(inside.left(), inside.top(), filledWidth, inside.height());
  painter.fillRect(inside, empty_);
  painter.fillRect(bar, filled_);
  // A single-line border, inside the widget's own rectangle.
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setFont(font());
  if (!splitText_) {
    painter.drawText(inside, Qt::AlignCenter, Text());
    return;
  }
  painter.save();
  painter.setClipRect(inside.adjusted(filledWidth, 0, 0, 0));
  painter.setPen(filled_);
  painter.drawText(inside, Qt::AlignCenter, Text());
  painter.restore();
  painter.setClipRect(bar);
  painter.setPen(empty_);
  painter.drawText(inside, Qt::AlignCenter, Text());
}

}  // namespace renkomi::ui
