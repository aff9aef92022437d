// The damage gauge: a horizontal bar filled from the left, with its value written
// as a percentage across the middle. Painted here rather than through a progress
// bar style, whose colours and text placement differ from style to style.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace renkomi::ui {

class Gauge : public QWidget {
  Q_OBJECT
 public:
  explicit Gauge(QWidget* parent = nullptr);

  int Progress() const { return progress_; }
  // Values outside 0..100 are held at the nearer end.
  void SetProgress(int percent);
  // The text on the bar, "12%".
  QString Text() const;

  void SetColours(QColor filled, QColor empty);
  QColor FilledColour() const { return filled_; }
  QColor EmptyColour() const { return empty_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int progress_ = 0;
  QColor filled_{Qt::red};
  QColor empty_{Qt::green};
};

}  // namespace renkomi::ui
