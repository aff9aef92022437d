// The engine's few file system calls in common: a file descriptor that is closed
// on every way out, telling whether the close itself succeeded (on some file
// systems a write error is only reported there); a folder held open, so that the
// files in it are reached through the folder itself and never through its path
// again; whether a path is a symbolic link; and reading a descriptor to its end.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace renkomi {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Gives the descriptor up to a new owner, which closes it.
  int Release() { return std::exchange(fd_, -1); }
  bool Close() {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

// A folder opened once: if its path is later renamed, or a link to another folder
// is put in its place, the files are still read and written in this one. Opened
// as a path only (O_PATH), so a folder without read permission still works as it
// does through its path.
class Folder {
 public:
  // Open() fails when `path` is not a folder that can be reached.
  explicit Folder(std::filesystem::path path) : path_(std::move(path)) {}
  bool Open() {
    if (fd_.Valid()) return true;
    int fd;
    do {
      fd = ::open(path_.empty() ? "." : path_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    fd_ = Fd(fd);
    return fd_.Valid();
  }
  bool IsOpen() const { return fd_.Valid(); }
  int Get() const { return fd_.Get(); }
  const std::filesystem::path& Path() const { return path_; }
  // The full path of `name` in the folder, for the player's messages.
  std::filesystem::path PathOf(const std::string& name) const {
    std::filesystem::path full = path_;
    full /= "";  // ends in the separator
    full += name;
    return full;
  }
  // A readable descriptor of the folder, for flushing its entries or listing it.
  Fd OpenReadable() const { return Fd(::openat(fd_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)); }
  // The names of the folder's entries ("." and ".." too); false when it cannot be
  // listed.
  bool Names(std::vector<std::string>& names) const {
    Fd listing = OpenReadable();
    DIR* dir = listing.Valid() ? ::fdopendir(listing.Get()) : nullptr;
    if (dir == nullptr) return false;
    listing.Release();  // the listing owns it now
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    const bool listed = errno == 0;
    ::closedir(dir);
    return listed;
  }
  bool IsLinkIn(const std::string& name) const {
    struct stat st{};
    return ::fstatat(fd_.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
  }

 private:
  std::filesystem::path path_;
  Fd fd_;
};

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
