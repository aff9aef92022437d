#include "app_shell.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

namespace renkomi::app {

void AppShell::SetMainForm(QWidget& form) {
  if (HasMainForm()) return;
  mainForm_ = &form;
  // Qt's own rule ends the loop when the last window closes; the game ends when
  // its main form closes, even with the organizer still up.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  form.installEventFilter(this);
}

bool AppShell::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainForm_ && event->type() == QEvent::Close) {
    // The form may still refuse to close (a failed save keeps it open), so look
    // again once the close has been handled.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (mainForm_ != nullptr && mainForm_->isHidden()) QCoreApplication::quit();
        },
        Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace renkomi::app
