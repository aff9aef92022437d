// The installed game's first start: the shared and the large dictionary made in
// the player's program folder from Debian's edict, before the choice panel
// shows, with a progress bar when the making takes a while.
#pragma once

#include <filesystem>

namespace renkomi::app {

// Does nothing when `programFolder` has a shared dictionary or `source` is not
// there: the game then starts as ever, with the five built-in words for a
// missing shared dictionary. A dictionary that is there is never written over. A
// failure is shown in the error dialog, and the game goes on without the
// dictionaries it could not make.
void MakeFirstDictionaries(const std::filesystem::path& programFolder, const std::filesystem::path& source);

}  // namespace renkomi::app
