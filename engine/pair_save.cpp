#include "pair_save.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "dictionary_files.h"
#include "errors.h"
#include "file_io.h"

namespace renkomi {
namespace fs = std::filesystem;
namespace {

fs::path WithSuffix(const fs::path& path, const std::string& suffix) {
  fs::path result = path;
  result += suffix;
  return result;
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

fs::path FolderOf(const fs::path& file) {
  fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// Makes the renames in the folder durable.
void SyncFolder(const fs::path& file) {
  Fd dir(::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid()) ::fsync(dir.Get());
}

// Names of the files a save makes beside the dictionary file `file`:
//   <file>.tmp-<random>     the new content, written and flushed before the commit
//   <yomi>.commit-<random>  the commit marker while it is being written
//   <yomi>.commit           the commit marker: names both temporaries and their content
std::string TemporaryPrefix(const fs::path& file) { return file.filename().string() + ".tmp-"; }
std::string MarkerPrefix(const fs::path& yomiPath) { return yomiPath.filename().string() + ".commit-"; }
fs::path MarkerPath(const fs::path& yomiPath) { return WithSuffix(yomiPath, ".commit"); }

std::string RandomSuffix() {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[10];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  if (got < sizeof bytes) {
    // No randomness at hand: the process id and the clock still differ between saves,
    // and creation is exclusive anyway.
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto mix = stamp ^ (static_cast<unsigned long long>(::getpid()) << 40);
    for (std::size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(mix >> (8 * (i % 8)));
  }
  std::string suffix;
  for (const unsigned char b : bytes) suffix += letters[b % (sizeof letters - 1)];
  return suffix;
}

// A file of our own under a new name beginning with `prefix` in `folder`: created
// exclusively and never through a link, so nothing planted at the name can be
// written through. Returns the descriptor and sets `path`; -1 when it cannot be made.
int CreateExclusive(const fs::path& folder, const std::string& prefix, fs::path& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder / (prefix + RandomSuffix());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// FNV-1a: tells a temporary file of this save from anything else under its name.
std::uint64_t Fingerprint(std::string_view data) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (const unsigned char b : data) {
    hash ^= b;
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::string Describe(std::string_view data) {
  char text[64];
  std::snprintf(text, sizeof text, "%zu\t%016llx", data.size(),
                static_cast<unsigned long long>(Fingerprint(data)));
  return text;
}

// Reads a whole plain file that is not a link; false when there is none.
bool ReadPlainFile(const fs::path& path, std::string& data, std::size_t limit) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd.Valid()) return false;
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<std::uint64_t>(st.st_size) > limit) return false;
  data.clear();
  return ReadAll(fd.Get(), data, limit);
}

// Writes one temporary file whole and flushes it to disk. Throws naming
// `dictionaryPath`, the file the player knows; the temporary is removed on failure.
fs::path WriteTemporary(const fs::path& dictionaryPath, std::string_view content) {
  fs::path temporary;
  Fd fd(CreateExclusive(FolderOf(dictionaryPath), TemporaryPrefix(dictionaryPath), temporary));
  if (!fd.Valid()) throw CreateFileError(dictionaryPath.string());
  // The new file replaces the old one, so it keeps the old one's permissions; only
  // the file just made is changed, through its own descriptor.
  struct stat old{};
  if (::lstat(dictionaryPath.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    ::fchmod(fd.Get(), old.st_mode & 0777);
  const bool ok = WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
  if (!fd.Close() || !ok) {
    ::unlink(temporary.c_str());
    throw WriteError();
  }
  return temporary;
}

// Removes what saves cut short left beside the pair: temporaries and unfinished
// markers. Only names a save makes are touched; a link there is removed itself,
// never followed.
void RemoveLeftovers(const fs::path& jukugoPath, const fs::path& yomiPath) {
  const std::string prefixes[] = {TemporaryPrefix(jukugoPath), TemporaryPrefix(yomiPath),
                                  MarkerPrefix(yomiPath)};
  std::error_code ec;
  for (fs::directory_iterator it(FolderOf(yomiPath), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    for (const std::string& prefix : prefixes) {
      if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
        struct stat st{};
        if (::lstat(it->path().c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(it->path().c_str());
        break;
      }
    }
  }
}

constexpr std::string_view kMarkerHeading = "renkomi save 1";

}  // namespace

std::string CommitMarker(const std::string& jukugoTemporary, std::string_view jukugoData,
                         const std::string& yomiTemporary, std::string_view yomiData) {
  return std::string(kMarkerHeading) + "\n" + jukugoTemporary + "\t" + Describe(jukugoData) + "\n" +
         yomiTemporary + "\t" + Describe(yomiData) + "\n";
}

// A save never writes into the dictionary files themselves:
//   1. each file's new content goes to a temporary file of its own, created
//      exclusively under a name no other save uses, and is flushed to disk;
//   2. the commit: a marker naming both temporaries, with the size and fingerprint
//      of their content, is put in place under <yomi>.commit by a rename;
//   3. both temporaries are renamed over the dictionary files, then the marker goes.
// A kill before 2 leaves the old pair; after it, RecoverPair finishes the save.
void SavePair(const fs::path& jukugoPath, const std::vector<std::string>& jukugo,
              const fs::path& yomiPath, const std::vector<std::string>& yomi) {
  const std::string jukugoData = JoinCheckedLines(jukugoPath, jukugo);
  SaveJoinedPair(jukugoPath, jukugoData, yomiPath, JoinCheckedLines(yomiPath, yomi));
}

void SaveJoinedPair(const fs::path& jukugoPath, std::string_view jukugoData, const fs::path& yomiPath,
                    std::string_view yomiData) {
  // A link is neither followed nor replaced.
  for (const fs::path* path : {&jukugoPath, &yomiPath})
    if (IsSymbolicLink(*path)) throw SymbolicLinkError(path->string());

  const fs::path jukugoTemp = WriteTemporary(jukugoPath, jukugoData);
  fs::path yomiTemp;
  fs::path markerTemp;
  const auto discard = [&] {
    for (const fs::path& path : {jukugoTemp, yomiTemp, markerTemp})
      if (!path.empty()) ::unlink(path.c_str());
  };
  try {
    yomiTemp = WriteTemporary(yomiPath, yomiData);
    const std::string marker = CommitMarker(jukugoTemp.filename().string(), jukugoData,
                                            yomiTemp.filename().string(), yomiData);
    Fd fd(CreateExclusive(FolderOf(yomiPath), MarkerPrefix(yomiPath), markerTemp));
    if (!fd.Valid()) throw CreateFileError(MarkerPath(yomiPath).string());
    const bool ok = WriteAll(fd.Get(), marker) && ::fsync(fd.Get()) == 0;
    if (!fd.Close() || !ok) throw WriteError();
  } catch (...) {
    discard();
    throw;
  }
  const fs::path markerPath = MarkerPath(yomiPath);
  if (::rename(markerTemp.c_str(), markerPath.c_str()) != 0) {
    // Whatever stands at the marker's name is in the way; it is named.
    discard();
    throw CreateFileError(markerPath.string());
  }
  SyncFolder(yomiPath);
  // Committed. Should a rename below fail, the next load or save finishes it.
  if (::rename(jukugoTemp.c_str(), jukugoPath.c_str()) != 0) throw CreateFileError(jukugoPath.string());
  if (::rename(yomiTemp.c_str(), yomiPath.c_str()) != 0) throw CreateFileError(yomiPath.string());
  SyncFolder(jukugoPath);
  ::unlink(markerPath.c_str());
  SyncFolder(yomiPath);
}

namespace {

// One file of a committed save, as its marker names it.
struct MarkedFile {
  fs::path temporary;
  std::string description;  // size and fingerprint of its content
};

// Reads a commit marker; false when it is not one a save of this pair wrote.
bool ReadMarker(const fs::path& markerPath, const fs::path& jukugoPath, const fs::path& yomiPath,
                MarkedFile& jukugo, MarkedFile& yomi) {
  std::string text;
  if (!ReadPlainFile(markerPath, text, 4096)) return false;
  std::vector<std::string> lines = CutLines(text);
  if (lines.size() != 3 || lines[0] != kMarkerHeading) return false;
  const auto parse = [&](const std::string& line, const fs::path& file, MarkedFile& out) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return false;
    const std::string name = line.substr(0, tab);
    const std::string prefix = TemporaryPrefix(file);
    // Only a temporary of this very file, in this very folder.
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.find('/') != std::string::npos)
      return false;
    out.temporary = FolderOf(file) / name;
    out.description = line.substr(tab + 1);
    return true;
  };
  return parse(lines[1], jukugoPath, jukugo) && parse(lines[2], yomiPath, yomi);
}

// Where a committed file stands: its temporary still waits (kWaiting), it is
// already in place (kInPlace), or neither holds the content the marker names.
enum class Progress { kWaiting, kInPlace, kUnknown };

Progress ProgressOf(const MarkedFile& file, const fs::path& dictionaryPath) {
  std::string data;
  constexpr std::size_t kLimit = std::size_t{1} << 31;
  if (ReadPlainFile(file.temporary, data, kLimit))
    return Describe(data) == file.description ? Progress::kWaiting : Progress::kUnknown;
  if (ReadPlainFile(dictionaryPath, data, kLimit) && Describe(data) == file.description)
    return Progress::kInPlace;
  return Progress::kUnknown;
}

}  // namespace

void RecoverPair(const fs::path& jukugoPath, const fs::path& yomiPath) {
  const fs::path markerPath = MarkerPath(yomiPath);
  struct stat st{};
  if (::lstat(markerPath.c_str(), &st) == 0) {
    MarkedFile jukugo;
    MarkedFile yomi;
    if (S_ISREG(st.st_mode) && ReadMarker(markerPath, jukugoPath, yomiPath, jukugo, yomi)) {
      const Progress jukugoProgress = ProgressOf(jukugo, jukugoPath);
      const Progress yomiProgress = ProgressOf(yomi, yomiPath);
      // The marker is trusted only when both files it names are this save's own.
      if (jukugoProgress != Progress::kUnknown && yomiProgress != Progress::kUnknown) {
        if (jukugoProgress == Progress::kWaiting &&
            ::rename(jukugo.temporary.c_str(), jukugoPath.c_str()) != 0)
          throw CreateFileError(jukugoPath.string());
        if (yomiProgress == Progress::kWaiting && ::rename(yomi.temporary.c_str(), yomiPath.c_str()) != 0)
          throw CreateFileError(yomiPath.string());
        SyncFolder(yomiPath);
      }
    }
    // A marker that is not a save's own is dropped; a folder under its name is left
    // for the player, and the next save names it.
    if (!S_ISDIR(st.st_mode)) ::unlink(markerPath.c_str());
  }
  // Leftovers of saves that never committed: the pair in place is the old one, whole.
  RemoveLeftovers(jukugoPath, yomiPath);
}

}  // namespace renkomi
