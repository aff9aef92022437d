// The game's gauge: a horizontal bar from 0 to 100, filled from the left, with
// its value written as a percentage across the middle. The damage gauge of the
// main window and the progress gauge of the organizer's wait dialog are both this
// widget, configured by their owner. Painted here rather than through a progress
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

  // The figure in the empty part's colour over the bar and the bar's over the
  // rest, so that it reads on both; otherwise in the text colour throughout.
  void SetSplitText(bool split) { splitText_ = split; }
  // Repaints the moment the value changes, for a gauge watched while the program
  // works without returning to the event loop.
  void SetRepaintAtOnce(bool atOnce) { repaintAtOnce_ = atOnce; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int progress_ = 0;
  QColor filled_{Qt::red};
  QColor empty_{Qt::green};
  bool splitText_ = false;
  bool repaintAtOnce_ = false;
};

}  // namespace renkomi::ui
