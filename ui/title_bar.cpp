#include "title_bar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace renkomi::ui {

namespace {

// Qt on Wayland cannot learn when a minimized window comes back, so it takes
// the minimized state back at once, and the widget never hears of it: only its
// native window tells, as it goes down.
class MinimizeWatch final : public QObject {
 public:
  MinimizeWatch(QWidget& window, std::function<void()> minimized)
      : QObject(&window), window_(&window), minimized_(std::move(minimized)) {
    window.installEventFilter(this);
    Connect();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)) {
      Connect();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Connect() {
    QWindow* native = window_ == nullptr ? nullptr : window_->windowHandle();
    if (native == nullptr || native == connected_) return;
    connected_ = native;
    connect(native, &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
      // Called once the window system's change is done.
      if (state == Qt::WindowMinimized) QMetaObject::invokeMethod(this, minimized_, Qt::QueuedConnection);
    });
  }

  QPointer<QWidget> window_;
  QPointer<QWindow> connected_;
  std::function<void()> minimized_;
};

class TitleBarRule final : public QObject {
 public:
  TitleBarRule(QWidget& window, const QWidget* owner) : QObject(&window), window_(&window), owner_(owner) {
    window.installEventFilter(this);
    WhenMinimized(window, [this] { Minimized(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
      // Undone once the window system has finished its own change.
      QMetaObject::invokeMethod(this, [this] { Unmaximize(); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Minimized() {
    if (window_ == nullptr || !window_->isVisible() || (window_->windowFlags() & Qt::WindowMinimizeButtonHint) != 0) {
      return;
    }
    // An owned window goes down with its owner.
    if (owner_ != nullptr && owner_->isMinimized()) return;
    BringBack(*window_, true);
  }

  void Unmaximize() {
    if (window_ == nullptr || !window_->isVisible()) return;
    const Qt::WindowStates state = window_->windowState();
    if ((state & Qt::WindowMaximized) != 0 && (window_->windowFlags() & Qt::WindowMaximizeButtonHint) == 0) {
      window_->setWindowState(state & ~Qt::WindowMaximized);
    }
  }

  QPointer<QWidget> window_;
  QPointer<const QWidget> owner_;
};

}  // namespace

void WhenMinimized(QWidget& window, std::function<void()> minimized) {
  new MinimizeWatch(window, std::move(minimized));
}

void KeepToTitleBarButtons(QWidget& window, const QWidget* owner) { new TitleBarRule(window, owner); }

void BringBack(QWidget& window, bool minimized) {
  if (minimized || window.isMinimized()) {
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
