// The dictionary file format: one entry per line, CR LF on writing; CR LF, LF or CR
// on reading; a NUL byte ends the data. Saving a pair of files is all or nothing.
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
// failure to read throws an Error naming the file.
ReadResult ReadEntries(const std::filesystem::path& path, std::vector<std::string>& entries);

// Writes both files of a dictionary, or neither: each is written whole to a
// temporary file beside it and flushed to disk, and only then are they put in
// place. A save cut short by a kill is finished or undone by RecoverPair.
// Throws CreateFileError / WriteError naming the dictionary file; on failure the
// old pair is untouched and no temporary file is left.
void SavePair(const std::filesystem::path& jukugoPath, const std::vector<std::string>& jukugo,
              const std::filesystem::path& yomiPath, const std::vector<std::string>& yomi);

// Completes a save that was committed but interrupted before both files were in
// place, or removes the leftovers of one that was not committed.
void RecoverPair(const std::filesystem::path& jukugoPath, const std::filesystem::path& yomiPath);

}  // namespace renkomi
