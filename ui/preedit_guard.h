// Keeps a conversion still pending in the input method in the box it was typed in.
//
// Qt 6.4's ibus input context commits a pending conversion twice when the focus
// moves to another box: once into the box that loses the focus (Qt's own commit),
// and once more when the engine's own commit comes back over the bus, by then
// delivered to whatever has the focus. A guard watches a window's text boxes and
// drops that second copy, or hands it to the box it was typed in when that box
// never got it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace renkomi::ui {

class PreeditGuard : public QObject {
  Q_OBJECT
 public:
  explicit PreeditGuard(QObject* parent = nullptr) : QObject(parent) {}

  // `box` is the widget that receives the input method's events: a line edit, or
  // an editable combo box (whose line edit hands it the focus).
  void Watch(QWidget* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // How long after a commit into one box the same text arriving at another box
  // counts as its stray copy.
  static constexpr int kStrayWindowMs = 1000;

  QPointer<QWidget> owner_;      // the box holding the pending conversion
  QPointer<QWidget> committed_;  // the box that took the last commit
  QString lastCommit_;
  QElapsedTimer sinceCommit_;
};

}  // namespace renkomi::ui
