#include "animate_form.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

#include "app_shell.h"

namespace renkomi::app {

namespace {

QWidget* RequireForm(QObject* owner) {
  auto* widget = qobject_cast<QWidget*>(owner);
  if (widget == nullptr || !widget->isWindow()) {
    throw EAnimateFormError("Owner must be a form");
  }
  return widget;
}

}  // namespace

TAnimateForm::TAnimateForm(QObject* owner, renkomi::ui::Sound& sound, const AppShell& shell)
    : QObject(owner), form_(RequireForm(owner)), sound_(sound) {
  if (shell.HasMainForm()) {
    throw EAnimateFormError("AnimateForm muse be placed in a main form");
  }
  form_->installEventFilter(this);
}

TAnimateForm::~TAnimateForm() {
  // Hands the form back its event handling as it was before us.
  if (form_ != nullptr) form_->removeEventFilter(this);
}

bool TAnimateForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::WindowStateChange) {
    const bool wasMinimized =
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) != 0;
    const bool isMinimized = (form_->windowState() & Qt::WindowMinimized) != 0;
    // Only the step into or out of the minimized state sounds: maximizing or
    // going full screen is no minimize or restore.
    if (!wasMinimized && isMinimized) {
      sound_.PlayThemeSound(kMinimizeSound);
    } else if (wasMinimized && !isMinimized) {
      sound_.PlayThemeSound(kRestoreSound);
    }
  }
  // The window's own handling always runs too.
  return QObject::eventFilter(watched, event);
}

}  // namespace renkomi::app
