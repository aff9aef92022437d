#include "secondary_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

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

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  const xcb_atom_t atom = reply == nullptr ? xcb_atom_t{XCB_ATOM_NONE} : reply->atom;
  free(reply);
  return atom;
}

std::vector<xcb_atom_t> WindowStates(xcb_connection_t* connection, xcb_window_t window,
                                     xcb_atom_t property) {
  std::vector<xcb_atom_t> states;
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 64);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
  if (reply != nullptr && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    states.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
  }
  free(reply);
  return states;
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
// of dialogs only, and the window manager drops the state when the window is
// withdrawn: both are set at every showing.
void SetOwnerAndSkipTaskbar(QWidget& window, QWidget& owner) {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = X11Connection();
  if (connection == nullptr) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const auto ownerId = static_cast<xcb_window_t>(owner.winId());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR,
                      XCB_ATOM_WINDOW, 32, 1, &ownerId);
  const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
  const xcb_atom_t skip = Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
  if (state == xcb_atom_t{XCB_ATOM_NONE} || skip == xcb_atom_t{XCB_ATOM_NONE}) return;
  std::vector<xcb_atom_t> states = WindowStates(connection, id, state);
  if (std::find(states.begin(), states.end(), skip) == states.end()) {
    states.push_back(skip);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
  }
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
