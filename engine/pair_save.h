// Saving a dictionary's two files all or nothing, through temporary files and a
// commit marker, and finishing or undoing a save that a kill cut short.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace renkomi {

// Writes both files of a dictionary, or neither: each is written whole to a
// temporary file of this save's own beside it (created exclusively, never through
// a link) and flushed to disk, and only then are they put in place. A save cut
// short by a kill is finished or undone by RecoverPair.
// Throws CreateFileError / WriteError naming the file in the way; an entry holding
// CR, LF or NUL, or a dictionary file that is a symbolic link, is refused before
// anything is written. On failure the old pair is untouched and no temporary file
// is left.
void SavePair(const std::filesystem::path& jukugoPath, const std::vector<std::string>& jukugo,
              const std::filesystem::path& yomiPath, const std::vector<std::string>& yomi);
// SavePair with both files' content already joined by JoinCheckedLines, for a
// caller that keeps it.
void SaveJoinedPair(const std::filesystem::path& jukugoPath, std::string_view jukugoData,
                    const std::filesystem::path& yomiPath, std::string_view yomiData);

// The commit marker a save writes for its two temporary files (names within the
// folder) and their content; RecoverPair trusts only a marker that matches.
std::string CommitMarker(const std::string& jukugoTemporary, std::string_view jukugoData,
                         const std::string& yomiTemporary, std::string_view yomiData);

// Completes a save that was committed but interrupted before both files were in
// place, or removes the leftovers of one that was not committed. A commit marker
// is trusted only when the files it names hold exactly the content it records.
void RecoverPair(const std::filesystem::path& jukugoPath, const std::filesystem::path& yomiPath);

}  // namespace renkomi
