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
  // A close the form accepts hides it. The form may also refuse, or ask first in
  // dialogs of its own (a failed save), whose event loops run this check before
  // the answer: so the hiding itself is watched too. Minimizing hides the form
  // only as the window system's own event, and never leaves it hidden.
  const bool hidden = event->type() == QEvent::Hide && !event->spontaneous();
  if (watched == mainForm_ && (event->type() == QEvent::Close || hidden)) {
    // Looked at once the close or the hiding has been handled.
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
