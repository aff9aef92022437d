// Saving a dictionary's two files all or nothing, through temporary files and a
// commit marker, and finishing or undoing a save that a kill cut short.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "file_io.h"
#include "outside_changes.h"

namespace renkomi {

// Holds a dictionary's pair for one whole load or save, so that two copies of the
// game (or two stores) never interleave their steps on the same files. The lock is
// an exclusive flock on the jukugo file, taken again on the file now standing at
// its name when a save replaced it meanwhile; a save also holds the file that is
// about to replace it, so whoever opens the name meets the lock. Waits for a save
// of another copy to end; throws PairBusyError when the files stay held for
// seconds. A new dictionary (no jukugo file yet) and a file system without locks
// are not held, as before.
class PairLock {
 public:
  PairLock(const Folder& folder, const std::string& jukugoName);
  // Also holds `fd`, a file about to be put in place under the jukugo file's name.
  void Hold(Fd fd);
  // Lets go of the files a save has just replaced under the jukugo file's name:
  // whoever opens the name meets the lock on the new one, and a file the game no
  // longer holds can tell when every other program has closed it.
  void LetGoOfReplaced(const Folder& folder, const std::string& jukugoName);

 private:
  std::vector<Fd> held_;
};

// One file a save put in place, as the save saw it.
struct PlacedFile {
  // The file the save wrote, stamped through its own descriptor: its size and
  // modification time from before the rename (a write through the name after it
  // shows as a change), its change time from the rename.
  FileStamp written;
  // The file it took the place of, still open though its name is gone: where the
  // file system swaps names, whatever stood at the name at that very instant
  // (another program's file renamed in, or the old one with its appends);
  // elsewhere the file at the name just before the rename. Invalid for none.
  Fd replaced;
};
struct PlacedPair {
  PlacedFile jukugo;
  PlacedFile yomi;
};

// The save and its recovery within a folder held open, for a caller that holds the
// pair's lock for the whole load or save; names are within the folder, errors
// name the full paths. `placed`, when given, learns what the save wrote and
// replaced, so that the caller can keep what another program wrote meanwhile.
// A file that would be larger than a load accepts (kMaxDictionaryFileBytes) is
// refused with DictionaryFullError before anything is written.
void SaveJoinedPair(const Folder& folder, const std::string& jukugoName, std::string_view jukugoData,
                    const std::string& yomiName, std::string_view yomiData, PairLock& lock,
                    PlacedPair* placed = nullptr);
// Completes a save that was committed but interrupted before both files were in
// place, or removes the leftovers of one that was not committed. A commit marker
// is trusted only when the files it names hold exactly the content it records,
// whatever their size. A marker of this pair's saves that leaves it undecided
// (one file in place and the other's content nowhere, or a file that cannot be
// read) changes nothing: UndecidableSaveError names the marker and temporaries.
// Only names a save makes are touched: "<file>.tmp-" or "<reading file>.commit-"
// followed by exactly ten lower-case letters and digits; a dictionary whose name
// merely begins that way ("renkomi.jdc.tmp-old.jdc") stays.
void RecoverPair(const Folder& folder, const std::string& jukugoName, const std::string& yomiName,
                 const PairLock& lock);

// Writes both files of a dictionary, or neither: each is written whole to a
// temporary file of this save's own beside it (created exclusively, never through
// a link) and flushed to disk, and only then are they put in place. A save cut
// short by a kill is finished or undone by RecoverPair.
// Throws CreateFileError / WriteError naming the file in the way (and the system's
// reason); an entry holding
// CR, LF or NUL, or a dictionary file that is a symbolic link, is refused before
// anything is written. On failure the old pair is untouched and no temporary file
// is left.
void SavePair(const std::filesystem::path& jukugoPath, const std::vector<std::string>& jukugo,
              const std::filesystem::path& yomiPath, const std::vector<std::string>& yomi);
// SavePair with both files' content already joined by JoinCheckedLines, for a
// caller that keeps it.
void SaveJoinedPair(const std::filesystem::path& jukugoPath, std::string_view jukugoData,
                    const std::filesystem::path& yomiPath, std::string_view yomiData);

// The call that flushes a file or a folder to disk, as fsync: 0, or -1 with errno
// set. A save flushes every file it wrote and the folder before it commits, and
// the folder again after; any failed flush fails the save. Replaceable so that the
// flushes can be counted or failed without a failing disk; returns the one before.
using FlushCall = int (*)(int fd);
FlushCall SetFlushCall(FlushCall flush);

// The commit marker a save writes for its two temporary files (names within the
// folder) and their content; RecoverPair trusts only a marker that matches.
std::string CommitMarker(const std::string& jukugoTemporary, std::string_view jukugoData,
                         const std::string& yomiTemporary, std::string_view yomiData);

}  // namespace renkomi
