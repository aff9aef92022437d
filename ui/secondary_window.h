// The game's secondary windows (the organizer, its progress dialog, the word
// entry dialog, the About box, the message dialogs and the help) belong to the
// main window on the desktop: the window manager keeps each one above it,
// minimizes and restores them together, and gives none of them a taskbar entry
// of its own.
#pragma once

class QWidget;

namespace renkomi::ui {

// Makes the top-level `window` a secondary window of `owner`'s window, from its
// next showing on. It needs no widget parenting: the organizer disables the main
// window while it is open, and a widget child would be disabled with it.
void MakeSecondaryWindow(QWidget& window, QWidget& owner);

}  // namespace renkomi::ui
