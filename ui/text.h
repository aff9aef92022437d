// The window boundary for text: the windows hold Unicode, the game holds CP932.
// Every conversion between the two goes through here.
#pragma once

#include <QString>
#include <string>

namespace renkomi::ui {

// What the player typed, as the game's CP932 bytes; a character CP932 cannot hold
// becomes '?', which no word rule accepts.
std::string ToGame(const QString& text);
// Game text for showing in a window.
QString FromGame(const std::string& text);

}  // namespace renkomi::ui
