#include "dictionary_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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

ReadResult ReadEntries(const fs::path& path, std::vector<std::string>& entries) {
  // O_NONBLOCK: a FIFO under a dictionary name must not hang the game; it is
  // refused below as not a plain file. O_NOFOLLOW: a link is refused, as a save
  // would have to replace it.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (!fd.Valid()) {
    // ENOTDIR: the program folder itself is not a folder, so no file is there.
    if (errno == ENOENT || errno == ENOTDIR) {
      entries.clear();
      return ReadResult::kMissing;
    }
    if (errno == ELOOP && IsSymbolicLink(path)) throw SymbolicLinkError(path.string());
    throw ReadFileError(path.string());
  }
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) throw ReadFileError(path.string());
  std::string data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  if (!ReadAll(fd.Get(), data)) throw ReadFileError(path.string());
  // The data ends at a NUL. Anything after it is a file some other program wrote
  // (UTF-16, say), and taking only the part before would lose the rest at the next
  // save: such a file is refused whole.
  if (const std::size_t nul = data.find('\0'); nul != std::string::npos && nul + 1 < data.size())
    throw DataAfterNulError(path.string());
  CheckShiftJisText(path, std::string_view(data).substr(0, data.find('\0')));
  entries = CutLines(data);
  return ReadResult::kRead;
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

}  // namespace renkomi
