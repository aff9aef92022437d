#include "dictionary_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "errors.h"

namespace renkomi {
namespace fs = std::filesystem;
namespace {

// Closes a descriptor on every way out.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close itself succeeded: on some file systems
  // a write error is only reported here.
  bool Close() {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

fs::path WithSuffix(const fs::path& path, const char* suffix) {
  fs::path result = path;
  result += suffix;
  return result;
}

bool Exists(const fs::path& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes the renames in the folder durable.
void SyncFolder(const fs::path& file) {
  fs::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid()) ::fsync(dir.Get());
}

// Writes one temporary file whole and flushes it to disk. Throws naming
// `dictionaryPath`, the file the player knows; the temporary is removed on failure.
void WriteTemporary(const fs::path& temporary, const fs::path& dictionaryPath,
                    const std::vector<std::string>& entries) {
  Fd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666));
  if (!fd.Valid()) throw CreateFileError(dictionaryPath.string());
  // The new file replaces the old one, so it keeps the old one's permissions.
  struct stat old{};
  if (::stat(dictionaryPath.c_str(), &old) == 0) ::fchmod(fd.Get(), old.st_mode & 07777);
  const bool ok = WriteAll(fd.Get(), JoinLines(entries)) && ::fsync(fd.Get()) == 0;
  if (!fd.Close() || !ok) {
    ::unlink(temporary.c_str());
    throw WriteError();
  }
}

}  // namespace

std::vector<std::string> CutLines(std::string_view data) {
  std::vector<std::string> entries;
  std::size_t pos = 0;
  while (pos < data.size() && data[pos] != '\0') {
    std::size_t end = pos;
    while (end < data.size() && data[end] != '\r' && data[end] != '\n' && data[end] != '\0') ++end;
    entries.emplace_back(data.substr(pos, end - pos));
    pos = end;
    if (pos < data.size() && data[pos] == '\r') ++pos;
    if (pos < data.size() && data[pos] == '\n') ++pos;
  }
  return entries;
}

std::string JoinLines(const std::vector<std::string>& entries) {
  std::size_t size = 0;
  for (const auto& e : entries) size += e.size() + 2;
  std::string data;
  data.reserve(size);
  for (const auto& e : entries) {
    data += e;
    data += "\r\n";
  }
  return data;
}

ReadResult ReadEntries(const fs::path& path, std::vector<std::string>& entries) {
  // O_NONBLOCK: a FIFO under a dictionary name must not hang the game; it is
  // refused below as not a plain file.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid()) {
    // ENOTDIR: the program folder itself is not a folder, so no file is there.
    if (errno == ENOENT || errno == ENOTDIR) {
      entries.clear();
      return ReadResult::kMissing;
    }
    throw ReadFileError(path.string());
  }
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) throw ReadFileError(path.string());
  std::string data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw ReadFileError(path.string());
    }
    data.append(buffer, static_cast<std::size_t>(n));
  }
  entries = CutLines(data);
  return ReadResult::kRead;
}

// The save goes through two temporary files and a third name that marks the
// moment both are complete:
//   <jukugo>.tmp, <yomi>.tmp   written and flushed; a kill here leaves the old pair
//   <yomi>.tmp -> <yomi>.ready the commit: from now on the new pair wins
//   <jukugo>.tmp -> <jukugo>, <yomi>.ready -> <yomi>
// RecoverPair reads the same names to finish or undo a save that was cut short.
void SavePair(const fs::path& jukugoPath, const std::vector<std::string>& jukugo,
              const fs::path& yomiPath, const std::vector<std::string>& yomi) {
  const fs::path jukugoTemp = WithSuffix(jukugoPath, ".tmp");
  const fs::path yomiTemp = WithSuffix(yomiPath, ".tmp");
  const fs::path yomiReady = WithSuffix(yomiPath, ".ready");

  WriteTemporary(jukugoTemp, jukugoPath, jukugo);
  try {
    WriteTemporary(yomiTemp, yomiPath, yomi);
  } catch (...) {
    ::unlink(jukugoTemp.c_str());
    throw;
  }
  if (::rename(yomiTemp.c_str(), yomiReady.c_str()) != 0) {
    ::unlink(jukugoTemp.c_str());
    ::unlink(yomiTemp.c_str());
    throw CreateFileError(yomiPath.string());
  }
  SyncFolder(yomiPath);
  // Committed. Should a rename below fail, the next load or save finishes it.
  if (::rename(jukugoTemp.c_str(), jukugoPath.c_str()) != 0)
    throw CreateFileError(jukugoPath.string());
  if (::rename(yomiReady.c_str(), yomiPath.c_str()) != 0) throw CreateFileError(yomiPath.string());
  SyncFolder(jukugoPath);
}

void RecoverPair(const fs::path& jukugoPath, const fs::path& yomiPath) {
  const fs::path jukugoTemp = WithSuffix(jukugoPath, ".tmp");
  const fs::path yomiTemp = WithSuffix(yomiPath, ".tmp");
  const fs::path yomiReady = WithSuffix(yomiPath, ".ready");

  if (Exists(yomiReady)) {
    // Both new files were complete before the commit; put them in place.
    if (Exists(jukugoTemp) && ::rename(jukugoTemp.c_str(), jukugoPath.c_str()) != 0)
      throw CreateFileError(jukugoPath.string());
    if (::rename(yomiReady.c_str(), yomiPath.c_str()) != 0)
      throw CreateFileError(yomiPath.string());
    ::unlink(yomiTemp.c_str());
    SyncFolder(yomiPath);
    return;
  }
  // Not committed: the pair in place is the old one, whole. Leftovers that cannot
  // be removed do no harm; the next save truncates them.
  ::unlink(jukugoTemp.c_str());
  ::unlink(yomiTemp.c_str());
}

}  // namespace renkomi
