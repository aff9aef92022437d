// The engine's few file system calls in common: a file descriptor that is closed
// on every way out, telling whether the close itself succeeded (on some file
// systems a write error is only reported there); whether a path is a symbolic
// link; and reading a descriptor to its end.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <string>

namespace renkomi {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  bool Close() {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

inline bool IsSymbolicLink(const std::filesystem::path& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Appends everything left to read from `fd` to `data`; false on a read error or
// when `data` would grow beyond `limit` bytes.
inline bool ReadAll(int fd, std::string& data, std::size_t limit = std::string::npos) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.append(buffer, static_cast<std::size_t>(n));
    if (data.size() > limit) return false;
  }
}

}  // namespace renkomi
