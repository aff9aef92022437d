// The game's application object. No failure may leave an event handler into Qt's
// event loop: it is caught at dispatch and shown in the error dialog once the
// handler has returned, and the program goes on.
#pragma once

#include <QApplication>
#include <QString>

namespace renkomi::ui {

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows `message` in the error dialog after the current handler has returned.
  // While one error dialog is waiting or open, further failures add no second one.
  void PostError(const QString& message);

 signals:
  // Emitted just before the error dialog opens (tests watch it).
  void errorShowing(const QString& message);

 private:
  bool errorPending_ = false;
};

}  // namespace renkomi::ui
