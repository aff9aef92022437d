// The window boundary for text: the windows hold Unicode, the game holds CP932.
// Every conversion between the two goes through here.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace renkomi::ui {

// What the player typed, as the game's CP932 bytes; a character CP932 cannot hold
// becomes the control byte SUB, which no word rule accepts and no dictionary stores.
std::string ToGame(const QString& text);
// Game text for showing in a window.
QString FromGame(const std::string& text);
// A path of the file system for showing and for Qt's file functions.
QString FromFileSystem(const std::filesystem::path& path);
// A file name's bytes for showing: UTF-8 as this system writes names, else CP932
// as names copied from other systems come.
QString FromFileName(const std::string& bytes);

}  // namespace renkomi::ui
