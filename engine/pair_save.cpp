#include "pair_save.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <utility>

#include "dictionary_files.h"
#include "errors.h"

namespace renkomi {
namespace fs = std::filesystem;
namespace {

// The create error for `name`, with the reason the last system call gave.
Error CreateError(const Folder& folder, const std::string& name) {
  const int error = errno;
  return CreateFileError(folder.PathOf(name).string(), error);
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

FlushCall flushCall = &::fsync;

int Flush(int fd) {
  int result;
  do {
    result = flushCall(fd);
  } while (result != 0 && errno == EINTR);
  return result;
}

// Makes the names made and renamed in the folder durable; the errno of a failure,
// 0 when all went well.
int SyncFolder(const Folder& folder) {
  const Fd dir = folder.OpenReadable();
  // A folder the player may write but not read cannot be flushed; saved as before.
  if (!dir.Valid()) return 0;
  return Flush(dir.Get()) == 0 ? 0 : errno;
}

// Names of the files a save makes beside the dictionary file `file`:
//   <file>.tmp-<random>     the new content, written and flushed before the commit
//   <yomi>.commit-<random>  the commit marker while it is being written
//   <yomi>.commit           the commit marker: names both temporaries and their content
// <random> is always kSuffixLength lower-case letters and digits: nothing else is
// ever taken for a save's own.
constexpr std::size_t kSuffixLength = 10;
constexpr char kSuffixLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
std::string TemporaryPrefix(const std::string& file) { return file + ".tmp-"; }
std::string MarkerPrefix(const std::string& yomi) { return yomi + ".commit-"; }
std::string MarkerName(const std::string& yomi) { return yomi + ".commit"; }

bool IsSaveName(const std::string& name, const std::string& prefix) {
  return name.size() == prefix.size() + kSuffixLength && name.compare(0, prefix.size(), prefix) == 0 &&
         std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
         });
}

std::string RandomSuffix() {
  unsigned char bytes[kSuffixLength];
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
  for (const unsigned char b : bytes) suffix += kSuffixLetters[b % (sizeof kSuffixLetters - 1)];
  return suffix;
}

// A file of our own under a new name beginning with `prefix` in `folder`: created
// exclusively and never through a link, so nothing planted at the name can be
// written through. Returns the descriptor and sets `name`; -1 when it cannot be made.
int CreateExclusive(const Folder& folder, const std::string& prefix, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = prefix + RandomSuffix();
    const int fd = ::openat(folder.Get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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
bool ReadPlainFile(const Folder& folder, const std::string& name, std::string& data, std::size_t limit) {
  Fd fd(::openat(folder.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd.Valid()) return false;
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<std::uint64_t>(st.st_size) > limit) return false;
  data.clear();
  return ReadAll(fd.Get(), data, limit);
}

// Writes content to `fd`, flushes it to disk and closes it; the errno of the first
// failure, 0 when all went well. `stamp`, when given, is the file's as written.
int WriteAndClose(Fd& fd, std::string_view content, FileStamp* stamp = nullptr) {
  int error = 0;
  if (!WriteAll(fd.Get(), content) || Flush(fd.Get()) != 0) error = errno;
  struct stat st{};
  if (error == 0 && stamp != nullptr && ::fstat(fd.Get(), &st) == 0)
    *stamp = FileStamp{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  if (!fd.Close() && error == 0) error = errno;
  return error;
}

// Writes one temporary file whole and flushes it to disk. Throws naming
// the dictionary file `name`, the file the player knows; the temporary is removed
// on failure. Returns the temporary's name.
std::string WriteTemporary(const Folder& folder, const std::string& name, std::string_view content,
                           FileStamp* stamp) {
  std::string temporary;
  Fd fd(CreateExclusive(folder, TemporaryPrefix(name), temporary));
  if (!fd.Valid()) throw CreateError(folder, name);
  // The new file replaces the old one, so it keeps the old one's permissions; only
  // the file just made is changed, through its own descriptor.
  struct stat old{};
  if (::fstatat(folder.Get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode))
    ::fchmod(fd.Get(), old.st_mode & 0777);
  if (const int error = WriteAndClose(fd, content, stamp); error != 0) {
    ::unlinkat(folder.Get(), temporary.c_str(), 0);
    throw WriteError(folder.PathOf(name).string(), error);
  }
  return temporary;
}

// Removes what saves cut short left beside the pair: temporaries and unfinished
// markers, by their exact names only. A link there is removed itself, never followed.
void RemoveLeftovers(const Folder& folder, const std::string& jukugo, const std::string& yomi) {
  const std::string prefixes[] = {TemporaryPrefix(jukugo), TemporaryPrefix(yomi), MarkerPrefix(yomi)};
  std::vector<std::string> names;
  folder.Names(names);  // what could be listed: a folder that cannot be read keeps its files
  std::vector<std::string> leftovers;
  for (const std::string& name : names) {
    for (const std::string& prefix : prefixes)
      if (IsSaveName(name, prefix)) leftovers.push_back(name);
  }
  for (const std::string& name : leftovers) {
    struct stat st{};
    if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode))
      ::unlinkat(folder.Get(), name.c_str(), 0);
  }
}

constexpr std::string_view kMarkerHeading = "renkomi save 1";

// Puts the temporary `temporary` in place of `name`. With `placed`, swaps the two
// names in one step where the file system can: the file that stood at the name at
// that instant is then kept open in `placed`, so that nothing another program put
// there or wrote into it is lost unseen. -1 with errno when it cannot be done.
int PutInPlace(const Folder& folder, const std::string& temporary, const std::string& name, PlacedFile* placed) {
  if (placed == nullptr) return ::renameat(folder.Get(), temporary.c_str(), folder.Get(), name.c_str());
  struct stat there{};
  const bool plainFile =
      ::fstatat(folder.Get(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(there.st_mode);
  if (plainFile &&
      ::renameat2(folder.Get(), temporary.c_str(), folder.Get(), name.c_str(), RENAME_EXCHANGE) == 0) {
    placed->replaced = Fd(::openat(folder.Get(), temporary.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    ::unlinkat(folder.Get(), temporary.c_str(), 0);
    return 0;
  }
  // A file system that cannot swap names (or nothing there to swap): the file at
  // the name is held just before the rename.
  placed->replaced = Fd(::openat(folder.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  return ::renameat(folder.Get(), temporary.c_str(), folder.Get(), name.c_str());
}

// The change time the rename gave the file the save wrote, taken through the
// save's own descriptor; a file written to since it was stamped keeps its first
// stamp, so that the change shows at the next save.
void StampRenamed(const Fd& own, FileStamp& written) {
  struct stat st{};
  if (!own.Valid() || ::fstat(own.Get(), &st) != 0) return;
  if (st.st_ino == written.inode && st.st_size == written.size && st.st_mtim.tv_sec == written.modified.tv_sec &&
      st.st_mtim.tv_nsec == written.modified.tv_nsec)
    written.changed = st.st_ctim;
}

// The dictionary's name, for the player: the jukugo file's name without ".jdc".
std::string DictionaryNameOf(const std::string& jukugoName) {
  constexpr std::string_view kExtension = ".jdc";
  return jukugoName.ends_with(kExtension) ? jukugoName.substr(0, jukugoName.size() - kExtension.size()) : jukugoName;
}

// Opens the folder of the path forms; a folder that is not there cannot take the files.
Folder OpenFolderOf(const fs::path& file) {
  Folder folder(file.parent_path());
  if (!folder.Open()) {
    const int error = errno;
    throw CreateFileError(file.string(), error);
  }
  return folder;
}

// A save's own files beside the pair, and the stamps of the two it wrote.
struct SaveFiles {
  std::string jukugoTemp;
  std::string yomiTemp;
  std::string markerTemp;
  FileStamp jukugoWritten;
  FileStamp yomiWritten;
};

// Removes a save's own files while nothing names them yet.
void Discard(const Folder& folder, const SaveFiles& files) {
  for (const std::string* name : {&files.jukugoTemp, &files.yomiTemp, &files.markerTemp})
    if (!name->empty()) ::unlinkat(folder.Get(), name->c_str(), 0);
}

// A step of its own: what the save refuses, it refuses before writing a byte.
void RefuseBeforeWriting(const Folder& folder, const std::string& jukugoName, std::string_view jukugoData,
                         const std::string& yomiName, std::string_view yomiData) {
  // A link is neither followed nor replaced.
  for (const std::string* name : {&jukugoName, &yomiName})
    if (folder.IsLinkIn(*name)) throw SymbolicLinkError(folder.PathOf(*name).string());
  // The game never writes a dictionary it would then refuse to load.
  for (const auto& [name, data] : {std::pair{&jukugoName, jukugoData}, std::pair{&yomiName, yomiData}}) {
    if (data.size() > kMaxDictionaryFileBytes)
      throw DictionaryFullError(DictionaryNameOf(jukugoName), folder.PathOf(*name).string(), data.size(),
                                kMaxDictionaryFileBytes);
  }
}

// A step of its own: a kill anywhere in it leaves the old pair, as nothing names its files yet.
SaveFiles WriteUncommitted(const Folder& folder, const std::string& jukugoName, std::string_view jukugoData,
                           const std::string& yomiName, std::string_view yomiData) {
  SaveFiles files;
  files.jukugoTemp = WriteTemporary(folder, jukugoName, jukugoData, &files.jukugoWritten);
  const std::string markerName = MarkerName(yomiName);
  try {
    files.yomiTemp = WriteTemporary(folder, yomiName, yomiData, &files.yomiWritten);
    const std::string marker = CommitMarker(files.jukugoTemp, jukugoData, files.yomiTemp, yomiData);
    Fd fd(CreateExclusive(folder, MarkerPrefix(yomiName), files.markerTemp));
    if (!fd.Valid()) throw CreateError(folder, markerName);
    if (const int error = WriteAndClose(fd, marker); error != 0)
      throw WriteError(folder.PathOf(markerName).string(), error);
    // The temporaries' names too must be on disk before a marker names them.
    if (const int error = SyncFolder(folder); error != 0) throw WriteError(folder.Path().string(), error);
  } catch (...) {
    Discard(folder, files);
    throw;
  }
  return files;
}

// A step of its own: the one rename after which the next load finishes the save instead of undoing it.
void Commit(const Folder& folder, const SaveFiles& files, const std::string& markerName) {
  if (::renameat(folder.Get(), files.markerTemp.c_str(), folder.Get(), markerName.c_str()) != 0) {
    // Whatever stands at the marker's name is in the way; it is named.
    const int error = errno;
    Discard(folder, files);
    throw CreateFileError(folder.PathOf(markerName).string(), error);
  }
  // Committed once this flush is through. Should it or a step below fail, the
  // next load or save finishes the save.
  if (const int error = SyncFolder(folder); error != 0) throw WriteError(folder.Path().string(), error);
}

// A step of its own: from here on a failure is no longer undone, only finished by the next load.
void PutBothInPlace(const Folder& folder, const SaveFiles& files, const std::string& jukugoName,
                    const std::string& yomiName, PlacedPair* placed) {
  if (PutInPlace(folder, files.jukugoTemp, jukugoName, placed != nullptr ? &placed->jukugo : nullptr) != 0)
    throw CreateError(folder, jukugoName);
  if (PutInPlace(folder, files.yomiTemp, yomiName, placed != nullptr ? &placed->yomi : nullptr) != 0)
    throw CreateError(folder, yomiName);
}

// A step of its own: the marker may go only once both renames are on disk.
void DropMarker(const Folder& folder, const std::string& markerName) {
  if (const int error = SyncFolder(folder); error != 0) throw WriteError(folder.Path().string(), error);
  ::unlinkat(folder.Get(), markerName.c_str(), 0);
  // A marker found again after a crash finds the pair in place and only goes.
  SyncFolder(folder);
}

}  // namespace

FlushCall SetFlushCall(FlushCall flush) { return std::exchange(flushCall, flush != nullptr ? flush : &::fsync); }

PairLock::PairLock(const Folder& folder, const std::string& jukugoName) {
  // A save takes milliseconds; a file held this long is held by something stuck.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    Fd fd(::openat(folder.Get(), jukugoName.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat held{};
    // Nothing to hold (a new dictionary, a link the save refuses): the save's own
    // steps report what is in the way.
    if (!fd.Valid() || ::fstat(fd.Get(), &held) != 0 || !S_ISREG(held.st_mode)) return;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      // A file system without locks is used as before.
      if (errno != EWOULDBLOCK) return;
      if (std::chrono::steady_clock::now() > deadline) throw PairBusyError(folder.PathOf(jukugoName).string());
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    // The save we waited for replaced the file: the lock must be on the one in place.
    struct stat now{};
    if (::fstatat(folder.Get(), jukugoName.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == held.st_dev &&
        now.st_ino == held.st_ino) {
      held_.push_back(std::move(fd));
      return;
    }
  }
}

void PairLock::Hold(Fd fd) {
  // Nobody else knows the file yet, so this never waits.
  if (fd.Valid() && ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) held_.push_back(std::move(fd));
}

void PairLock::LetGoOfReplaced(const Folder& folder, const std::string& jukugoName) {
  struct stat now{};
  if (::fstatat(folder.Get(), jukugoName.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) return;
  std::erase_if(held_, [&now](const Fd& fd) {
    struct stat st{};
    return ::fstat(fd.Get(), &st) == 0 && (st.st_dev != now.st_dev || st.st_ino != now.st_ino);
  });
}

std::string CommitMarker(const std::string& jukugoTemporary, std::string_view jukugoData,
                         const std::string& yomiTemporary, std::string_view yomiData) {
  return std::string(kMarkerHeading) + "\n" + jukugoTemporary + "\t" + Describe(jukugoData) + "\n" +
         yomiTemporary + "\t" + Describe(yomiData) + "\n";
}

void SavePair(const fs::path& jukugoPath, const std::vector<std::string>& jukugo,
              const fs::path& yomiPath, const std::vector<std::string>& yomi) {
  const std::string jukugoData = JoinCheckedLines(jukugoPath, jukugo);
  SaveJoinedPair(jukugoPath, jukugoData, yomiPath, JoinCheckedLines(yomiPath, yomi));
}

void SaveJoinedPair(const fs::path& jukugoPath, std::string_view jukugoData, const fs::path& yomiPath,
                    std::string_view yomiData) {
  const Folder folder = OpenFolderOf(jukugoPath);
  PairLock lock(folder, jukugoPath.filename().string());
  SaveJoinedPair(folder, jukugoPath.filename().string(), jukugoData, yomiPath.filename().string(), yomiData,
                 lock);
}

// A save never writes into the dictionary files themselves:
//   1. each file's new content goes to a temporary file of its own, created
//      exclusively under a name no other save uses, and is flushed to disk;
//   2. the commit: a marker naming both temporaries, with the size and fingerprint
//      of their content, is put in place under <yomi>.commit by a rename;
//   3. both temporaries are renamed over the dictionary files, then the marker goes.
// A kill before 2 leaves the old pair; after it, RecoverPair finishes the save.
// Every step goes through the folder held open, never through its path.
void SaveJoinedPair(const Folder& folder, const std::string& jukugoName, std::string_view jukugoData,
                    const std::string& yomiName, std::string_view yomiData, PairLock& lock, PlacedPair* placed) {
  RefuseBeforeWriting(folder, jukugoName, jukugoData, yomiName, yomiData);
  SaveFiles files = WriteUncommitted(folder, jukugoName, jukugoData, yomiName, yomiData);
  // Whoever opens the jukugo file's name from the rename on meets the lock too.
  lock.Hold(Fd(::openat(folder.Get(), files.jukugoTemp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)));
  const Fd jukugoOwn(::openat(folder.Get(), files.jukugoTemp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  const Fd yomiOwn(::openat(folder.Get(), files.yomiTemp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  const std::string markerName = MarkerName(yomiName);
  Commit(folder, files, markerName);
  PutBothInPlace(folder, files, jukugoName, yomiName, placed);
  if (placed != nullptr) {
    lock.LetGoOfReplaced(folder, jukugoName);
    StampRenamed(jukugoOwn, files.jukugoWritten);
    StampRenamed(yomiOwn, files.yomiWritten);
    placed->jukugo.written = files.jukugoWritten;
    placed->yomi.written = files.yomiWritten;
  }
  DropMarker(folder, markerName);
}

namespace {

// One file of a committed save, as its marker names it.
struct MarkedFile {
  std::string temporary;    // its name within the folder
  std::string description;  // size and fingerprint of its content
};

// Reads a commit marker; false when it is not one a save of this pair wrote.
bool ReadMarker(const Folder& folder, const std::string& markerName, const std::string& jukugoName,
                const std::string& yomiName, MarkedFile& jukugo, MarkedFile& yomi) {
  std::string text;
  if (!ReadPlainFile(folder, markerName, text, 4096)) return false;
  std::vector<std::string> lines = CutLines(text);
  if (lines.size() != 3 || lines[0] != kMarkerHeading) return false;
  const auto parse = [&](const std::string& line, const std::string& file, MarkedFile& out) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return false;
    // Only a temporary of this very file, by the exact name a save gives it.
    out.temporary = line.substr(0, tab);
    out.description = line.substr(tab + 1);
    return IsSaveName(out.temporary, TemporaryPrefix(file));
  };
  return parse(lines[1], jukugoName, jukugo) && parse(lines[2], yomiName, yomi);
}

// Whether the file `name` holds exactly the content a marker describes. Judged by
// its size first and read only when that matches, however large: the load limit
// guards the word lists, not a save's own files.
enum class Holds { kNo, kYes, kCannotTell };

Holds HoldsContent(const Folder& folder, const std::string& name, const std::string& description) {
  Fd fd(::openat(folder.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd.Valid()) return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? Holds::kNo : Holds::kCannotTell;
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0) return Holds::kCannotTell;
  if (!S_ISREG(st.st_mode)) return Holds::kNo;
  const std::size_t tab = description.find('\t');
  if (description.substr(0, tab) != std::to_string(st.st_size)) return Holds::kNo;
  std::string data;
  if (!ReadAll(fd.Get(), data, static_cast<std::size_t>(st.st_size))) return Holds::kCannotTell;
  return Describe(data) == description ? Holds::kYes : Holds::kNo;
}

// Where a committed file stands: already in place (kInPlace), its temporary still
// waits (kWaiting), neither holds the content the marker names (kUnknown), or a
// file that cannot be read keeps it from being told (kCannotTell).
enum class Progress { kInPlace, kWaiting, kUnknown, kCannotTell };

Progress ProgressOf(const Folder& folder, const MarkedFile& file, const std::string& dictionaryName) {
  // The name first: a save that swapped the files in leaves the replaced file
  // under the temporary's name until it removes it.
  const Holds inPlace = HoldsContent(folder, dictionaryName, file.description);
  if (inPlace == Holds::kYes) return Progress::kInPlace;
  const Holds waiting = HoldsContent(folder, file.temporary, file.description);
  if (waiting == Holds::kYes) return Progress::kWaiting;
  return inPlace == Holds::kCannotTell || waiting == Holds::kCannotTell ? Progress::kCannotTell : Progress::kUnknown;
}

}  // namespace

void RecoverPair(const Folder& folder, const std::string& jukugoName, const std::string& yomiName,
                 const PairLock& /*held for the whole recovery*/) {
  const std::string markerName = MarkerName(yomiName);
  struct stat st{};
  if (::fstatat(folder.Get(), markerName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    MarkedFile jukugo;
    MarkedFile yomi;
    if (S_ISREG(st.st_mode) && ReadMarker(folder, markerName, jukugoName, yomiName, jukugo, yomi)) {
      const Progress jukugoProgress = ProgressOf(folder, jukugo, jukugoName);
      const Progress yomiProgress = ProgressOf(folder, yomi, yomiName);
      const auto done = [](Progress p) { return p == Progress::kInPlace || p == Progress::kWaiting; };
      // Half of the save in place and the other half nowhere to be found, or a file
      // that cannot be read: neither finishing nor undoing is sure to give a whole
      // pair, so nothing is touched and the player is told what is there.
      const bool halfInPlace = (jukugoProgress == Progress::kInPlace && !done(yomiProgress)) ||
                               (yomiProgress == Progress::kInPlace && !done(jukugoProgress));
      if (halfInPlace || jukugoProgress == Progress::kCannotTell || yomiProgress == Progress::kCannotTell)
        throw UndecidableSaveError(folder.PathOf(markerName).string(), folder.PathOf(jukugo.temporary).string(),
                                   folder.PathOf(yomi.temporary).string());
      // The marker is trusted only when both files it names are this save's own;
      // otherwise nothing of it is in place, and the old pair stands whole.
      if (done(jukugoProgress) && done(yomiProgress)) {
        if (jukugoProgress == Progress::kWaiting &&
            ::renameat(folder.Get(), jukugo.temporary.c_str(), folder.Get(), jukugoName.c_str()) != 0)
          throw CreateError(folder, jukugoName);
        if (yomiProgress == Progress::kWaiting &&
            ::renameat(folder.Get(), yomi.temporary.c_str(), folder.Get(), yomiName.c_str()) != 0)
          throw CreateError(folder, yomiName);
        SyncFolder(folder);
      }
    }
    // A marker that is not a save's own is dropped; a folder under its name is left
    // for the player, and the next save names it.
    if (!S_ISDIR(st.st_mode)) ::unlinkat(folder.Get(), markerName.c_str(), 0);
  }
  // Leftovers of saves that never committed: the pair in place is the old one, whole.
  RemoveLeftovers(folder, jukugoName, yomiName);
}

}  // namespace renkomi
