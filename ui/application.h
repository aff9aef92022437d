// The game's application object. No failure may leave an event handler into Qt's
// event loop: it is caught at dispatch and shown in the error dialog once the
// handler has returned, and the program goes on.
#pragma once

#include <functional>

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

 private:
  bool errorPending_ = false;
};

// Runs `work`, the body of an event handler; the one way a failure leaves a
// handler. Qt's own libraries are built without exceptions, so a failure must not
// unwind through them: it ends the work here and goes to the error dialog, which
// opens once the handler has returned. Returns whether the work finished.
bool Guarded(const std::function<void()>& work);

}  // namespace renkomi::ui
