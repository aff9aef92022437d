#include "shape.h"

#include <algorithm>

#include <QPainter>

namespace renkomi::ui {

Shape::Shape(QWidget* parent) : QWidget(parent) {}

int Shape::CornerSize() const { return std::min(width(), height()) / 4; }

void Shape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  // Half-pixel inset so that the one-pixel pen lies wholly inside the widget.
  const QRectF edge = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = CornerSize() / 2.0;
  painter.drawRoundedRect(edge, radius, radius);
}

}  // namespace renkomi::ui
