#include "single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace renkomi::app {

namespace {

using State = SingleInstance::State;

// flock without waiting: Acquired, AlreadyRunning, or Unavailable.
State TryLock(int fd) {
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) return State::Acquired;
  return errno == EWOULDBLOCK ? State::AlreadyRunning : State::Unavailable;
}

// The lock file: held open and locked in `fd` when Acquired.
State LockFile(const std::filesystem::path& lockFile, int& fd) {
  // O_NOFOLLOW: in a shared temporary folder another user could plant a link
  // pointing at one of our own files. O_CLOEXEC: a child process must not keep
  // the game "running" after the game itself has gone.
  // O_NONBLOCK: a FIFO planted at the name must not hang the start.
  do {
    fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return State::Unavailable;

  // A file someone else owns could be locked by them forever and keep the game
  // from starting: it is not used; the program folder's lock still protects.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid() || !S_ISREG(info.st_mode)) {
    ::close(fd);
    fd = -1;
    return State::Unavailable;
  }
  const State state = TryLock(fd);
  if (state != State::Acquired) {
    ::close(fd);
    fd = -1;
  }
  return state;
}

// The program folder itself, locked through a descriptor of the folder: it needs
// no file, no write permission and no environment, and every path to the folder
// meets the same lock.
State LockFolder(const std::filesystem::path& folder, int& fd) {
  do {
    fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return State::Unavailable;
  const State state = TryLock(fd);
  if (state != State::Acquired) {
    ::close(fd);
    fd = -1;
  }
  return state;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& lockFile,
                               const std::filesystem::path& programFolder) {
  if (!programFolder.empty()) folderState_ = LockFolder(programFolder, folderFd_);
  if (folderState_ != State::AlreadyRunning) fileState_ = LockFile(lockFile, fd_);
  if (folderState_ == State::AlreadyRunning || fileState_ == State::AlreadyRunning) {
    state_ = State::AlreadyRunning;
  } else if (folderState_ == State::Acquired || fileState_ == State::Acquired) {
    state_ = State::Acquired;
  }
  if (state_ != State::Acquired) {
    if (fd_ >= 0) ::close(fd_);
    if (folderFd_ >= 0) ::close(folderFd_);
    fd_ = folderFd_ = -1;
  }
}

SingleInstance::~SingleInstance() {
  // The file stays: removing it would let a copy starting right now lock a
  // fresh file while a third one still holds the old, unlinked one.
  if (fd_ >= 0) ::close(fd_);
  if (folderFd_ >= 0) ::close(folderFd_);
}

std::filesystem::path SingleInstance::LockPath(std::string_view name, std::string_view runtimeDir,
                                               const std::filesystem::path& tempDir,
                                               unsigned uid) {
  const std::filesystem::path runtime(runtimeDir);
  if (!runtimeDir.empty() && runtime.is_absolute()) {
    return runtime / (std::string(name) + ".lock");
  }
  return tempDir / (std::string(name) + "-" + std::to_string(uid) + ".lock");
}

std::filesystem::path SingleInstance::DefaultLockPath(std::string_view name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  if (error) temp = "/tmp";
  return LockPath(name, runtime != nullptr ? runtime : "", temp, ::getuid());
}

}  // namespace renkomi::app
