#include "game_folders.h"

#include <system_error>

namespace renkomi::app {

namespace fs = std::filesystem;

GameFolders LocateGameFolders(const fs::path& executableFolder, std::string_view xdgDataHome,
                              std::string_view home) {
  std::error_code ec;
  const GameFolders oneFolder{executableFolder, executableFolder, false};
  if (fs::exists(executableFolder / "renkomiwin32.hlp", ec)) return oneFolder;
  const fs::path name = executableFolder.filename();
  const fs::path shared = executableFolder.parent_path() / "share" / "renkomi";
  if ((name != "games" && name != "bin") || !fs::is_directory(shared, ec)) return oneFolder;

  fs::path dataHome;
  if (!xdgDataHome.empty() && fs::path(xdgDataHome).is_absolute()) {
    dataHome = xdgDataHome;
  } else if (!home.empty()) {
    dataHome = fs::path(home) / ".local" / "share";
  }
  return {dataHome.empty() ? fs::path() : dataHome / "renkomi", shared, true};
}

}  // namespace renkomi::app
