// One copy of the game per user, and one per program folder. The running copy
// holds an exclusive lock on a file named after the game in the user's runtime
// folder, and one on the program folder itself, so two copies never share the
// dictionaries whatever their environment. The kernel drops the locks however
// the process ends, so a crash or a kill never leaves a stale "already running".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace renkomi::app {

class SingleInstance {
 public:
  enum class State {
    Acquired,        // this copy holds the lock
    AlreadyRunning,  // another copy holds it
    Unavailable,     // no lock could be made
  };

  // Tries to take the lock at `lockFile` at once, without waiting; with a
  // `programFolder`, that folder's lock too. Another copy holding either means
  // AlreadyRunning; Acquired once at least one is held.
  explicit SingleInstance(const std::filesystem::path& lockFile,
                          const std::filesystem::path& programFolder = {});
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  State state() const { return state_; }

  // Where the lock named `name` lives: the user's runtime folder when
  // `runtimeDir` is an absolute path, else `tempDir` with the user id in the
  // file name, since the temporary folder is shared by every user.
  static std::filesystem::path LockPath(std::string_view name, std::string_view runtimeDir,
                                        const std::filesystem::path& tempDir, unsigned uid);
  // LockPath for this process: $XDG_RUNTIME_DIR, the temporary folder, getuid().
  static std::filesystem::path DefaultLockPath(std::string_view name);

  State FileState() const { return fileState_; }
  State FolderState() const { return folderState_; }

 private:
  int fd_ = -1;
  int folderFd_ = -1;
  State fileState_ = State::Unavailable;
  State folderState_ = State::Unavailable;
  State state_ = State::Unavailable;
};

}  // namespace renkomi::app
