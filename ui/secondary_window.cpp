#include "secondary_window.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <vector>

#include "title_bar.h"

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace renkomi::ui {

namespace {

#if QT_CONFIG(xcb)
xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp == nullptr ? nullptr
                                 : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 == nullptr ? nullptr : x11->connection();
}
#endif

void SetOwner(QWidget& window, QWidget& owner) {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr) return;
  const auto ownerId = static_cast<xcb_window_t>(owner.winId());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerId);
  xcb_flush(connection);
#else
  Q_UNUSED(window);
  Q_UNUSED(owner);
#endif
}

// Before the window is mapped, the window manager reads its owner and its state
// from its properties, which may then be set by the program. Qt writes the owner
// of dialogs only, and adds its own states to the ones it finds; the window
// manager drops the state when the window is withdrawn: both are set at every
// showing. One round trip to the X server: a dialog must come at once.
void SetOwnerAndSkipTaskbar(QWidget& window, QWidget& owner) {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr) return;
  static constexpr char kState[] = "_NET_WM_STATE";
  static constexpr char kSkip[] = "_NET_WM_STATE_SKIP_TASKBAR";
  const xcb_intern_atom_cookie_t stateCookie =
      xcb_intern_atom(connection, 0, sizeof kState - 1, kState);
  const xcb_intern_atom_cookie_t skipCookie = xcb_intern_atom(connection, 0, sizeof kSkip - 1, kSkip);
  const auto id = static_cast<xcb_window_t>(window.winId());
  const auto ownerId = static_cast<xcb_window_t>(owner.winId());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR,
                      XCB_ATOM_WINDOW, 32, 1, &ownerId);
  xcb_intern_atom_reply_t* state = xcb_intern_atom_reply(connection, stateCookie, nullptr);
  xcb_intern_atom_reply_t* skip = xcb_intern_atom_reply(connection, skipCookie, nullptr);
  if (state != nullptr && skip != nullptr) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state->atom, XCB_ATOM_ATOM, 32, 1,
                        &skip->atom);
  }
  free(state);
  free(skip);
  xcb_flush(connection);
#else
  Q_UNUSED(window);
  Q_UNUSED(owner);
#endif
}

bool WindowSystemMinimizesOwnedWindows() {
  // An X11 window manager minimizes and restores the windows that name an owner
  // with it; a Wayland compositor is not asked to.
  return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Watches an owner window for its secondary windows: their minimizing with it
// where the window system leaves it to the program, and the owner's activation
// while it waits for one of them.
class OwnerWatch final : public QObject {
 public:
  explicit OwnerWatch(QWidget& owner) : QObject(&owner), owner_(&owner) {
    owner.installEventFilter(this);
    WhenMinimized(owner, [this] { HideWithOwner(); });
  }

  static OwnerWatch& Of(QWidget& owner) {
    for (QObject* child : owner.children()) {
      if (auto* watch = dynamic_cast<OwnerWatch*>(child)) return *watch;
    }
    return *new OwnerWatch(owner);
  }

  void Add(QWidget& window, OwnerWaits waits) {
    // Message dialogs come and go.
    std::erase_if(windows_, [](const Secondary& secondary) { return secondary.window == nullptr; });
    windows_.push_back({QPointer<QWidget>(&window), waits == OwnerWaits::Yes});
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != owner_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
      case QEvent::WindowActivate:
        // On Wayland the owner's activation is the only sign that it is back.
        ShowWithOwner();
        if (Waiting()) QueueBringBack();
        break;
      case QEvent::MouseButtonPress:
      case QEvent::NonClientAreaMouseButtonPress:
        if (Waiting()) QueueBringBack();
        break;
      case QEvent::WindowStateChange: {
        const bool was = (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) != 0;
        // Qt on Wayland takes the minimized state back at once, while the
        // window stays down: there the owner's activation shows them again.
        if (was && !owner_->isMinimized() && WindowSystemMinimizesOwnedWindows()) {
          ShowWithOwner();
          if (Waiting()) QueueBringBack();
        }
        break;
      }
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  struct Secondary {
    QPointer<QWidget> window;
    bool waited;
  };

  // The owner cannot be used while it is disabled or a modal dialog is up.
  bool Waiting() const {
    return owner_ != nullptr && (!owner_->isEnabled() || QApplication::activeModalWidget() != nullptr);
  }

  // Once the event that asked for it is done: the window system is still
  // activating the owner while it is delivered.
  void QueueBringBack() {
    QMetaObject::invokeMethod(this, [this] { BringBackWaited(); }, Qt::QueuedConnection);
  }

  void BringBackWaited() {
    if (!Waiting()) return;
    for (const Secondary& secondary : windows_) {
      if (secondary.waited && secondary.window != nullptr && secondary.window->isVisible()) {
        BringBack(*secondary.window);
      }
    }
    // The modal dialog last, so that it ends up in front, where the keys go.
    if (QWidget* modal = QApplication::activeModalWidget()) BringBack(*modal);
  }

  void HideWithOwner() {
    if (WindowSystemMinimizesOwnedWindows()) return;
    for (const Secondary& secondary : windows_) {
      QWidget* window = secondary.window;
      // A modal dialog's hiding would end it: it stays, to be acted on.
      if (window != nullptr && window->isVisible() && !window->isModal()) {
        window->hide();
        hiddenWithOwner_.push_back(window);
      }
    }
  }

  void ShowWithOwner() {
    for (const QPointer<QWidget>& window : hiddenWithOwner_) {
      if (window != nullptr) window->show();
    }
    hiddenWithOwner_.clear();
  }

  QPointer<QWidget> owner_;
  std::vector<Secondary> windows_;
  std::vector<QPointer<QWidget>> hiddenWithOwner_;
};

class SecondaryWindow final : public QObject {
 public:
  SecondaryWindow(QWidget& window, QWidget& owner) : QObject(&window), owner_(&owner) {
    window.installEventFilter(this);
    KeepToTitleBarButtons(window, owner.window());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The show event comes before the window is mapped; a spontaneous one is the
    // desktop restoring a window that is mapped already.
    auto* window = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && !event->spontaneous() && window != nullptr &&
        window->isWindow() && owner_ != nullptr) {
      QWidget* owner = owner_->window();
      owner->winId();
      window->winId();
      if (window->windowHandle() != nullptr && owner->windowHandle() != nullptr) {
        window->windowHandle()->setTransientParent(owner->windowHandle());
      }
      SetOwnerAndSkipTaskbar(*window, *owner);
      // Qt's own showing clears the owner of a window that is no dialog: it is
      // given again once the window is up, and the window manager follows.
      QMetaObject::invokeMethod(
          this,
          [this, shown = QPointer<QWidget>(window)] {
            if (shown != nullptr && owner_ != nullptr && shown->isVisible()) {
              SetOwner(*shown, *owner_->window());
            }
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QPointer<QWidget> owner_;
};

}  // namespace

void MakeSecondaryWindow(QWidget& window, QWidget& owner, OwnerWaits waits) {
  new SecondaryWindow(window, owner);
  OwnerWatch::Of(*owner.window()).Add(window, waits);
}

}  // namespace renkomi::ui
