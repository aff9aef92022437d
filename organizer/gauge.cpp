#include "gauge.h"

#include <algorithm>

#include <QPainter>

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
  // Paints every pixel itself, so a repaint never has to draw the parent first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::SetProgress(int percent) {
  emit progressSet(percent);
  const int shown = std::clamp(percent, 0, 100);
  if (shown == progress_) return;
  progress_ = shown;
  repaint();
}

void TGauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  painter.fillRect(inside, backColor_);
  const int barWidth = inside.width() * progress_ / 100;
  const QRect bar(inside.left(), inside.top(), barWidth, inside.height());
  painter.fillRect(bar, foreColor_);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(frame);

  // The figure reads over both parts: dark on the empty part, light on the bar.
  const QString text = QStringLiteral("%1%").arg(progress_);
  painter.save();
  painter.setClipRect(inside.adjusted(barWidth, 0, 0, 0));
  painter.setPen(foreColor_);
  painter.drawText(inside, Qt::AlignCenter, text);
  painter.restore();
  painter.setClipRect(bar);
  painter.setPen(backColor_);
  painter.drawText(inside, Qt::AlignCenter, text);
}
