#include "gauge.h"

#include <algorithm>

#include <QPainter>

namespace renkomi::ui {

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}

void Gauge::SetProgress(int percent) {
  const int clamped = std::clamp(percent, 0, 100);
  if (clamped == progress_) return;
  progress_ = clamped;
  update();
}

QString Gauge::Text() const { return QStringLiteral("%1%").arg(progress_); }

void Gauge::SetColours(QColor filled, QColor empty) {
  filled_ = filled;
  empty_ = empty;
  update();
}

void Gauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect bar = rect().adjusted(1, 1, -1, -1);
  const int filledWidth = bar.width() * progress_ / 100;
  painter.fillRect(QRect(bar.left(), bar.top(), filledWidth, bar.height()), filled_);
  painter.fillRect(QRect(bar.left() + filledWidth, bar.top(), bar.width() - filledWidth, bar.height()),
                   empty_);
  // A single-line border, inside the widget's own rectangle.
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(bar, Qt::AlignCenter, Text());
}

}  // namespace renkomi::ui
