#include "single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace renkomi::app {

SingleInstance::SingleInstance(const std::filesystem::path& lockFile) {
  // O_NOFOLLOW: in a shared temporary folder another user could plant a link
  // pointing at one of our own files. O_CLOEXEC: a child process must not keep
  // the game "running" after the game itself has gone.
  int fd;
  do {
    fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return;

  // A file someone else owns could be locked by them forever and keep the game
  // from starting: rather run without protection.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid() || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return;
  }

  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    fd_ = fd;
    state_ = State::Acquired;
    return;
  }
  state_ = errno == EWOULDBLOCK ? State::AlreadyRunning : State::Unavailable;
  ::close(fd);
}

SingleInstance::~SingleInstance() {
  // The file stays: removing it would let a copy starting right now lock a
  // fresh file while a third one still holds the old, unlinked one.
  if (fd_ >= 0) ::close(fd_);
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
