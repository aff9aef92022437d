// The dictionary file format: one entry per line, CR LF on writing; CR LF, LF or CR
// on reading; a NUL byte ends the data. (Saving a pair of files: pair_save.h.)
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace renkomi {

class Folder;

// The largest dictionary file the game reads. The largest real dictionary (every
// word of edict, 109,358 pairs) has 2.3 MB in its two files; 8 MB a file leaves
// room for several times that, loads in a fraction of a second, and refuses a
// stray huge file (a disk image, a log) at once instead of reading it for seconds.
constexpr std::size_t kMaxDictionaryFileBytes = std::size_t{8} << 20;

// Cuts file content into entries (see the format above).
std::vector<std::string> CutLines(std::string_view data);
// Joins entries into file content, every line ended by CR LF.
std::string JoinLines(const std::vector<std::string>& entries);

enum class ReadResult { kRead, kMissing };
// Reads the whole file `name` in an open `folder` into entries. kMissing when it
// does not exist; any other failure to read throws an Error naming the file's full
// path, and so does a file that is a symbolic link, holds data after a NUL byte
// (it is refused whole rather than read in part) or is not Shift-JIS text
// (CheckShiftJisText).
// A file over kMaxDictionaryFileBytes is refused by its size, before it is read.
ReadResult ReadEntries(const Folder& folder, const std::string& name, std::vector<std::string>& entries);

// The file content of `entries` (JoinLines), refusing with an error naming `file`
// an entry that holds CR, LF or NUL.
std::string JoinCheckedLines(const std::filesystem::path& file, const std::vector<std::string>& entries);

// Makes the folder of the player's dictionaries, and the folders above it, at the
// first start. `home` is the home folder it lies below, empty when it lies below
// none: a home folder that is not there is the player's to fix, not the game's
// to make. Throws CreateFolderError with the true cause, in the player's language.
void MakeDictionaryFolder(const std::filesystem::path& folder, const std::string& home);
}  // namespace renkomi
