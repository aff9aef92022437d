#include "secondary_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

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

class SecondaryWindow final : public QObject {
 public:
  SecondaryWindow(QWidget& window, QWidget& owner) : QObject(&window), owner_(&owner) {
    window.installEventFilter(this);
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

void MakeSecondaryWindow(QWidget& window, QWidget& owner) { new SecondaryWindow(window, owner); }

}  // namespace renkomi::ui
