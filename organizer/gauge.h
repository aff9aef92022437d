// A horizontal progress gauge from 0 to 100 with the percentage written in its
// centre. It repaints itself the moment its value changes, because it is watched
// while the program does long work without returning to the event loop.
#pragma once

#include <QColor>
#include <QWidget>

class TGauge : public QWidget {
  Q_OBJECT
 public:
  explicit TGauge(QWidget* parent = nullptr);

  // Values outside 0..100 are shown as 0 or 100.
  void SetProgress(int percent);
  int Progress() const { return progress_; }

  void SetForeColor(const QColor& colour) { foreColor_ = colour; }
  void SetBackColor(const QColor& colour) { backColor_ = colour; }

 signals:
  // Every value asked for, before clamping, whether or not the gauge changed.
  void progressSet(int percent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int progress_ = 0;
  QColor foreColor_{0x00, 0x00, 0x80};  // navy bar
  QColor backColor_{Qt::white};
};
