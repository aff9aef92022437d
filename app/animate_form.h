// The main window's minimize and restore companion: it plays the desktop's
// "window-minimized" and "window-unminimized" sounds as the main window is
// minimized and restored. The window manager draws the animations itself, from and
// to the window's own rectangle, and the game has no hidden application window, so
// the component only listens to the main window's state changes.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <stdexcept>
#include <string>

#include "sound.h"

namespace renkomi::app {

class AppShell;

class EAnimateFormError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kMinimizeSound = "window-minimized";
inline constexpr const char* kRestoreSound = "window-unminimized";

class TAnimateForm : public QObject {
  Q_OBJECT
 public:
  // `owner` must be a top-level window, and the application must not have a main
  // form yet: the component belongs to the first window only.
  TAnimateForm(QObject* owner, renkomi::ui::Sound& sound, const AppShell& shell);
  ~TAnimateForm() override;
  TAnimateForm(const TAnimateForm&) = delete;
  TAnimateForm& operator=(const TAnimateForm&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> form_;
  renkomi::ui::Sound& sound_;
};

}  // namespace renkomi::app
