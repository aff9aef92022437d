// The title bar the game's design gives a window, held against the window
// system. Qt's own decorations on Wayland draw minimize and maximize buttons on
// every window, whatever its flags, and some window managers maximize on a
// double click: a window whose design has no such button is put back at once.
#pragma once

#include <functional>

class QWidget;

namespace renkomi::ui {

// From now on `window` is never left maximized when its flags give it no
// maximize button, nor minimized when they give it no minimize button, unless
// `owner` is minimized too (an owned window goes down with its owner). Its size
// stays free.
void KeepToTitleBarButtons(QWidget& window, const QWidget* owner = nullptr);

// Calls `minimized` each time `window` goes down minimized, once the window
// system's change is done; also on Wayland, where Qt takes the minimized state
// back at once and the widget itself never hears of it.
void WhenMinimized(QWidget& window, std::function<void()> minimized);

// Brings `window` back in front of the player: out of the minimized state,
// raised and active. A Wayland client cannot ask for a minimized window back:
// there it is mapped anew, without ending a modal dialog's own loop. Qt on
// Wayland forgets the minimized state at once: `minimized` says it was.
void BringBack(QWidget& window, bool minimized = false);

}  // namespace renkomi::ui
