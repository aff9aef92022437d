// The dictionary file format: one entry per line, CR LF on writing; CR LF, LF or CR
// on reading; a NUL byte ends the data. (Saving a pair of files: pair_save.h.)
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace renkomi {

// Cuts file content into entries (see the format above).
std::vector<std::string> CutLines(std::string_view data);
// Joins entries into file content, every line ended by CR LF.
std::string JoinLines(const std::vector<std::string>& entries);

enum class ReadResult { kRead, kMissing };
// Reads a whole file into entries. kMissing when it does not exist; any other
// failure to read throws an Error naming the file, and so does a file that is a
// symbolic link, holds data after a NUL byte (it is refused whole rather than
// read in part) or is not Shift-JIS text (CheckShiftJisText).
ReadResult ReadEntries(const std::filesystem::path& path, std::vector<std::string>& entries);

// The file content of `entries` (JoinLines), refusing with an error naming `file`
// an entry that holds CR, LF or NUL.
std::string JoinCheckedLines(const std::filesystem::path& file, const std::vector<std::string>& entries);
}  // namespace renkomi
