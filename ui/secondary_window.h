// The game's secondary windows (the organizer, its progress dialog, the word
// entry dialog, the About box, the message dialogs and the help) belong to the
// main window on the desktop: the window manager keeps each one above it,
// minimizes and restores them together, and gives none of them a taskbar entry
// of its own. Where the window system does not minimize owned windows with
// their owner (Wayland), the game hides and shows them itself; and no window
// state leaves the player before a waiting, disabled main window with nothing
// to act on: activating, clicking or restoring it brings back the window it
// waits for.
#pragma once

class QWidget;

namespace renkomi::ui {

// Whether the owner waits for the window while it is open, as the main window
// waits, disabled, for the organizer and its progress dialog. A modal dialog is
// waited for anyway.
enum class OwnerWaits { No, Yes };

// Makes the top-level `window` a secondary window of `owner`'s window, from its
// next showing on. It needs no widget parenting: the organizer disables the main
// window while it is open, and a widget child would be disabled with it.
void MakeSecondaryWindow(QWidget& window, QWidget& owner, OwnerWaits waits = OwnerWaits::No);

}  // namespace renkomi::ui
