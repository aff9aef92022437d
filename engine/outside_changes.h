// Saving a dictionary that another program (a text editor, say) changed on disk
// while the game held it: noticing the change by the files' stamps, and what to
// write so that neither side's change is lost (a pure merge of the three versions
// of the pairs, touching no file).
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "errors.h"
#include "word_list.h"

namespace renkomi {

// `base`: the pairs as the game last read or wrote the files; `disk`: what the
// files hold now; `mine`: what the game is about to write. Gives the pairs to write:
// the game's list in its own order (its taught and played words, its deletions,
// the organizer's sorted order), without the pairs the other program removed, and
// with the pairs it added (a changed reading is a removal and an addition), each
// put after the line it followed in the other program's file, or at the end when
// it was appended after the file's last line. A pair both sides added is kept once.
// Files that now differ in their line counts are first matched line by line with
// the pairs the game knew: a pair gone from one file only (an editor's stale copy
// of that file) is put back. Gives nothing when they still differ: no line of
// such a pair can be trusted, and it is never saved over.
std::optional<PairLines> MergeOutsideChanges(const PairLines& base, const PairLines& disk,
                                             const PairLines& mine);

// What tells a file's change without reading it: which file is at the path, its
// size and its modification and change times. Recent Linux kernels give a file
// changed after a stat a finer change time, so even a same-size rewrite right after
// the game's own read or write shows (measured on this project's machine); on older
// kernels one that keeps the size within the same clock tick (a few milliseconds)
// would not.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  bool operator==(const FileStamp& other) const;
};
// The stamp of the file `name` in the open folder `folderFd`.
FileStamp StampOf(int folderFd, const std::string& name);

// The save refused because the dictionary was changed outside the game into two
// files of different line counts. `dictionary` is the name the player chose.
Error ChangedOutsideUnevenError(const std::string& dictionary, const std::string& jukugoPath,
                                std::size_t jukugoLines, const std::string& yomiPath,
                                std::size_t yomiLines);

}  // namespace renkomi
