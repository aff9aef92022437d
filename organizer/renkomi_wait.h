// The small progress dialog shown while the organizer fills its word table.
#pragma once

#include <QDialog>

#include "layout.h"

namespace renkomi::ui {
class Gauge;
}

class QLabel;

class TfrmRenkomiWait : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmRenkomiWait(QWidget* parent = nullptr);

  void setVisible(bool visible) override;

  // Shows the progress in percent on the gauge at once, without the event loop;
  // figures above 100 show as 100.
  void SetProgress(int percent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The elements as the design lays them out, one row each, and their members.
  static const renkomi::ui::Element kLayout[];
  QLabel* Label1 = nullptr;
  QLabel* Panel1 = nullptr;
  renkomi::ui::Gauge* Gauge1 = nullptr;

  // Sets the gauge to 0 once per showing, when the dialog first paints. Not on
  // every paint: the dialog may be redrawn while the organizer is filling, and
  // that must not wipe the progress already shown.
  void FormPaint();
};
