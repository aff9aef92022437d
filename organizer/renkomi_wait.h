// The small progress dialog shown while the organizer fills its word table.
#pragma once

#include <QDialog>

namespace renkomi::ui {
class Gauge;
}

class QLabel;

class TfrmRenkomiWait : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmRenkomiWait(QWidget* parent = nullptr);

  QLabel* Label1;
  QLabel* Panel1;
  renkomi::ui::Gauge* Gauge1;

  void setVisible(bool visible) override;

  // Shows the progress in percent on the gauge at once, without the event loop;
  // figures above 100 show as 100.
  void SetProgress(int percent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Sets the gauge to 0 once per showing, when the dialog first paints. Not on
  // every paint: the dialog may be redrawn while the organizer is filling, and
  // that must not wipe the progress already shown.
  void FormPaint();

};
