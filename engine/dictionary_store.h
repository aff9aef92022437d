// The dictionary store: the word lists the game plays with, and moving the chosen
// dictionary between them and its two files in the program folder.
//
// Its states, and the calls that move it between them:
//   chosen     ChooseDictionary gave the names; nothing is loaded, saves throw.
//              LoadDictionary -> loaded, or failed.
//   loaded     COMP and USED are the game's; the files' content and stamps as last
//              read or written tell another program's change from the game's.
//              Match calls, AddWord, SaveDictionary. A save that fails -> held back.
//   held back  COMP holds a change no save could write. Every load merges it with
//              the files as they are then and writes it where it can; every save
//              tries again. The write that succeeds -> loaded.
//   failed     A load threw. Saves throw the same error rather than write over
//              files the game could not read; a load that succeeds -> loaded.
//   lent       TakeWords gave COMP to the organizer: loads, saves and match calls
//              are refused (a programming error) until GiveBackWords -> as before.
// The game chooses once, at its start; choosing again starts over at chosen.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_io.h"
#include "outside_changes.h"
#include "pair_save.h"
#include "word_list.h"

namespace renkomi {

class DictionaryStore {
 public:
  // `programFolder` holds the dictionary files (the executable's folder in the game).
  // It is opened here, or at the first load that finds it, and from then on every
  // file is read and written in that very folder, even if its path is renamed or
  // replaced by a link to another folder while the game runs.
  explicit DictionaryStore(std::filesystem::path programFolder);

  const std::filesystem::path& ProgramFolder() const { return folder_; }

  // Sets the two file names: "renkomi" for the shared dictionary, the player's
  // name for a personal one. `name` is a file-system name, taken verbatim.
  void ChooseDictionary(const std::string& name);
  const std::string& JukugoFileName() const { return jukugoName_; }
  const std::string& YomiFileName() const { return yomiName_; }
  const std::filesystem::path& JukugoPath() const { return jukugoPath_; }
  const std::filesystem::path& YomiPath() const { return yomiPath_; }

  // Reloads COMP from the two files; a dictionary neither of whose files exists
  // is first written from the built-in words. Throws Error on failure, leaving
  // COMP as it was: also for a pair whose files differ in their line counts. After
  // a failed load the files are never saved over until a load succeeds.
  void LoadDictionary();
  // Returns USED to the end of COMP, empties USED, and writes both files when COMP
  // is not empty. Files another program changed since the game last read or wrote
  // them are read again and the game's change is applied on top of theirs; files it
  // left with different line counts are refused (Error naming the dictionary) and
  // nothing is written, COMP keeping the game's change until a save or load finds
  // the files repaired.
  void SaveDictionary();
  // True when a save would write something other than what the files held when
  // they were last loaded or saved.
  bool HasUnsavedChanges() const;
  // Returns USED to COMP and tells whether COMP then holds `jukugo`.
  bool RestoreUsedWords(std::string_view jukugo);
  bool IsUsed(std::string_view jukugo) const;

  // COMP, the dictionary words not played in this match, and USED, the words
  // played in it in order of play.
  const WordListPair& Comp() const { return comp_; }
  const WordListPair& Used() const { return used_; }
  // A match: no word played yet; COMP's pair `index` played by the computer (it
  // moves to USED, and is returned); the player's word played (to USED, and the
  // first COMP pair with its jukugo taken out); a taught word added to COMP.
  void ClearUsed();
  WordPair PlayFromComp(std::size_t index);
  void PlayWord(const std::string& jukugo, const std::string& yomi);
  void AddWord(const std::string& jukugo, const std::string& yomi);
  // The organizer takes COMP whole to sort and edit it, and gives back the words
  // the player kept, in the order they are to be saved in.
  WordListPair TakeWords();
  void GiveBackWords(WordListPair words);

  // Names (without ".jdc") of the personal dictionaries in the program folder,
  // sorted by name with letter case ignored; "renkomi.jdc" itself is not offered.
  std::vector<std::string> ListUserDictionaries() const;

  // True for a dictionary name that stays inside the program folder: not empty,
  // no "/" or "\", no control character, not "." or "..". A name that is not UTF-8
  // is read as CP932, whose second bytes may be a "\".
  static bool IsSafeName(std::string_view name);

  const WordListPair& Builtin() const { return builtin_; }

 private:
  // The three steps of a load: a held change or late writes into the files
  // first, a new dictionary seeded with the built-in words, then the files read
  // (with the held change merged on top).
  void FlushBeforeLoad(PairLock& lock, bool sameDictionary);
  void SeedNewDictionary(PairLock& lock);
  void ReadFiles(PairLock& lock, bool holding);
  // What a save found another program wrote into the files it swapped out, or
  // appended at the names right after: merged into COMP for the next round.
  struct SwappedOut;
  void MergeWritesDuringSave(SwappedOut& out);
  // `lines`, the files just read as `jukugoData` and `yomiData`, with the change
  // COMP holds back merged on top.
  PairLines WithHeldChange(PairLines lines, std::string_view jukugoData, std::string_view yomiData) const;
  // Refuses a call the organizer's hold on COMP does not allow.
  void RequireWords() const;
  // The name the player chose: the jukugo file's name without its extension.
  std::string DictionaryName() const;
  // Appends USED to COMP, in order of play, and empties USED.
  void ReturnUsedWords();
  // Writes COMP to the loaded files, keeping what another program changed there.
  void WriteComp();
  // WriteComp for a caller holding the pair's lock, its recovery done: saves again
  // while another program's writes turn up during a save.
  void WriteLocked(PairLock& lock);
  // Reads the files another program changed, with `late` appended to them, merges
  // the game's change on top, and takes what they hold as the files last read.
  void MergeFromDisk(PairLines late);
  // What another program appended to the files recent saves replaced after the
  // game had looked at them (a writer that opened a file just before the swap),
  // all but the `newest` files replaced last. A file is let go once no other
  // program holds it open, after a last look.
  PairLines LateWrites(std::size_t newest = 0);
  // Whether a writer still holding a replaced file wrote into it, given a moment
  // to finish; files still held after that are looked at by later saves.
  bool LateWritesPending();

  std::filesystem::path folder_;
  Folder dir_;
  std::string jukugoName_;
  std::string yomiName_;
  bool namesSafe_ = false;  // the chosen names stay inside the program folder
  std::filesystem::path jukugoPath_;
  std::filesystem::path yomiPath_;
  // Why the last load failed; saves repeat it instead of writing over the files.
  std::string loadFailure_;
  // The two files' content as last loaded or saved, one line per entry.
  std::string savedJukugo_;
  std::string savedYomi_;
  // The pairs the files stand for where their lines differ from them: a writer's
  // pair split across a save's swap, one line written into the replaced file and
  // the other at the name, until a save writes the names again.
  std::optional<PairLines> view_;
  // The two files as the game last read or wrote them, to notice another program's
  // change without reading them again.
  FileStamp jukugoStamp_;
  FileStamp yomiStamp_;
  // A save failed (the files changed outside the game into an uneven pair, a full
  // disk, a lock held by another program, ...): COMP holds the game's change,
  // which every load merges with the files as they are then, and which stays held
  // until a save writes it.
  bool heldBack_ = false;
  // The files recent saves replaced, held open for a while with the size the game
  // has seen of them, so that a write still arriving in them is not lost.
  struct Replaced {
    Fd fd;
    off_t seen = 0;
    bool jukugo = true;
    std::chrono::steady_clock::time_point since;
    bool done = false;  // no other program holds it any more, and it has been read
  };
  // Reads `file` whole again into `data`, and marks that much of it seen.
  static void ReadAgain(Replaced& file, std::string& data);
  std::vector<Replaced> replaced_;
  WordListPair comp_;
  WordListPair used_;
  bool lent_ = false;  // the organizer holds COMP
  WordListPair builtin_;
};

}  // namespace renkomi
