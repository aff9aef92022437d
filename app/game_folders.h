// Where the game keeps what: the program folder with the player's dictionaries
// (and the single-instance lock on it), and the folder of the help file and the
// sounds. The game copied into a folder of its own by run.sh has both in the
// executable's folder; the game installed by its Debian package has its
// executable in a games or bin folder, the help and the sounds in share/renkomi
// beside that folder, and the player's own folder for the dictionaries.
#pragma once

#include <filesystem>
#include <string_view>

namespace renkomi::app {

struct GameFolders {
  std::filesystem::path program;  // the dictionaries, the folder lock
  std::filesystem::path data;     // renkomiwin32.hlp and media/
  bool installed = false;         // installed by the package: `program` is the player's
};

// The rule, from the executable's folder and the environment's XDG_DATA_HOME and
// HOME (empty when unset):
// - a folder that holds the help file renkomiwin32.hlp is a program folder: both
//   folders are that folder (run.sh's install, which keeps working as it did);
// - else a folder named games or bin with share/renkomi beside it is an installed
//   game (/usr/games with /usr/share/renkomi, or the same under any root): the
//   data folder is that share/renkomi, the program folder the player's
//   $XDG_DATA_HOME/renkomi, ~/.local/share/renkomi by default (a relative
//   XDG_DATA_HOME counts as unset), the same folder run.sh installs into;
// - else (a build folder) both are the executable's folder.
// An installed game without HOME and XDG_DATA_HOME has an empty program folder.
GameFolders LocateGameFolders(const std::filesystem::path& executableFolder, std::string_view xdgDataHome,
                              std::string_view home);

}  // namespace renkomi::app
