#include "dictionary_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

#include "errors.h"
#include "file_io.h"
#include "shift_jis_file.h"

namespace renkomi {
namespace fs = std::filesystem;

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

namespace {

// Reads `name` relative to the folder `dirFd`; `shown` is the file's full path for
// the player.
ReadResult ReadEntriesAt(int dirFd, const char* name, const std::string& shown, std::vector<std::string>& entries) {
  // O_NONBLOCK: a FIFO under a dictionary name must not hang the game; it is
  // refused below as not a plain file. O_NOFOLLOW: a link is refused, as a save
  // would have to replace it.
  Fd fd(::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (!fd.Valid()) {
    const int error = errno;
    // ENOTDIR: the name reaches through something that is not a folder, so no file
    // is there.
    if (error == ENOENT || error == ENOTDIR) {
      entries.clear();
      return ReadResult::kMissing;
    }
    struct stat link{};
    if (error == ELOOP && ::fstatat(dirFd, name, &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode))
      throw SymbolicLinkError(shown);
    throw ReadFileError(shown, SystemReason(error));
  }
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) throw ReadFileError(shown, "普通のファイルではありません");
  // Judged by its size alone, before a byte is read; a file that grows while it
  // is read is stopped at the same limit.
  if (static_cast<std::uint64_t>(st.st_size) > kMaxDictionaryFileBytes)
    throw TooLargeFileError(shown, static_cast<unsigned long long>(st.st_size), kMaxDictionaryFileBytes);
  std::string data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  if (!ReadAll(fd.Get(), data, kMaxDictionaryFileBytes)) {
    const int error = errno;
    if (data.size() > kMaxDictionaryFileBytes)
      throw TooLargeFileError(shown, static_cast<unsigned long long>(data.size()), kMaxDictionaryFileBytes);
    throw ReadFileError(shown, SystemReason(error));
  }
  // The data ends at a NUL. Anything after it is a file some other program wrote
  // (UTF-16, say), and taking only the part before would lose the rest at the next
  // save: such a file is refused whole.
  if (const std::size_t nul = data.find('\0'); nul != std::string::npos && nul + 1 < data.size())
    throw DataAfterNulError(shown);
  CheckShiftJisText(shown, std::string_view(data).substr(0, data.find('\0')));
  entries = CutLines(data);
  return ReadResult::kRead;
}

}  // namespace

ReadResult ReadEntries(const Folder& folder, const std::string& name, std::vector<std::string>& entries) {
  return ReadEntriesAt(folder.Get(), name.c_str(), folder.PathOf(name).string(), entries);
}

std::string JoinCheckedLines(const fs::path& file, const std::vector<std::string>& entries) {
  // A line break or NUL inside an entry would shift every later line against the
  // other file; such a pair is never written.
  const auto breaksLines = [](const std::string& entry) {
    return entry.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
  };
  if (std::any_of(entries.begin(), entries.end(), breaksLines)) throw LineBreakInEntryError(file.string());
  return JoinLines(entries);
}

void MakeDictionaryFolder(const std::filesystem::path& folder, const std::string& home) {
  std::error_code cannotMake;
  if (!home.empty() && !std::filesystem::is_directory(home, cannotMake))
    throw CreateFolderError(folder.string(), "ホームフォルダ " + home + " がありません");
  if (std::filesystem::create_directories(folder, cannotMake); cannotMake)
    throw CreateFolderError(folder.string(), SystemReason(cannotMake.value()));
}

}  // namespace renkomi
