#include "title_bar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace renkomi::ui {

namespace {

class TitleBarRule final : public QObject {
 public:
  TitleBarRule(QWidget& window, const QWidget* owner) : QObject(&window), window_(&window), owner_(owner) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
      // Undone once the window system has finished its own change.
      QMetaObject::invokeMethod(this, [this] { Enforce(); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Enforce() {
    if (window_ == nullptr || !window_->isVisible()) return;
    const Qt::WindowFlags flags = window_->windowFlags();
    const Qt::WindowStates state = window_->windowState();
    if ((state & Qt::WindowMinimized) != 0 && (flags & Qt::WindowMinimizeButtonHint) == 0 &&
        (owner_ == nullptr || !owner_->isMinimized())) {
      BringBack(*window_);
    } else if ((state & Qt::WindowMaximized) != 0 && (flags & Qt::WindowMaximizeButtonHint) == 0) {
      window_->setWindowState(state & ~Qt::WindowMaximized);
    }
  }

  QPointer<QWidget> window_;
  QPointer<const QWidget> owner_;
};

}  // namespace

void KeepToTitleBarButtons(QWidget& window, const QWidget* owner) { new TitleBarRule(window, owner); }

void BringBack(QWidget& window) {
  if (window.isMinimized()) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
      window.showNormal();
    } else {
      // Unmapped and mapped again. QWidget's own hiding, not a dialog's, which
      // would end the dialog's loop with an answer the player never gave.
      window.QWidget::setVisible(false);
      window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
      window.show();
    }
  }
  window.raise();
  window.activateWindow();
}

}  // namespace renkomi::ui
