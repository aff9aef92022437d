#include "dictionary_store.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <span>
#include <stdexcept>
#include <utility>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <chrono>

#include "dictionary_files.h"
#include "pair_save.h"
#include "cp932.h"
#include "errors.h"
#include "outside_changes.h"
#include "text_rules.h"
#include "texts.h"

namespace renkomi {
namespace fs = std::filesystem;
namespace {

// Name order of the personal dictionaries: letter case ignored, then bytewise so
// that the order never depends on the folder listing.
bool NameBefore(const std::string& a, const std::string& b) {
  const bool foldedLess = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return FoldAscii(static_cast<unsigned char>(x)) < FoldAscii(static_cast<unsigned char>(y));
      });
  if (foldedLess) return true;
  const bool foldedGreater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return FoldAscii(static_cast<unsigned char>(x)) < FoldAscii(static_cast<unsigned char>(y));
      });
  if (foldedGreater) return false;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

constexpr std::string_view kSharedJukugoFile = "renkomi.jdc";
constexpr std::string_view kJukugoExtension = ".jdc";

}  // namespace

DictionaryStore::DictionaryStore(fs::path programFolder) : folder_(std::move(programFolder)), dir_(folder_) {
  dir_.Open();
  for (std::size_t i = 0; i < std::size(texts::kBuiltInJukugo); ++i)
    builtin_.Append(std::string(texts::kBuiltInJukugo[i]), std::string(texts::kBuiltInYomi[i]));
}

bool DictionaryStore::IsSafeName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || HoldsControlCharacter(name)) return false;
  const bool cp932 = !IsUtf8(name);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (cp932 && IsLeadByte(b) && i + 1 < name.size() && IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
      ++i;  // a double-byte character: its second byte is no separator
      continue;
    }
    if (b == '/' || b == '\\') return false;
  }
  return true;
}

void DictionaryStore::ChooseDictionary(const std::string& name) {
  jukugoName_ = name + ".jdc";
  yomiName_ = name + ".ydc";
  // The extension would make "." and ".." harmless file names; they are refused
  // all the same, as names nobody means as a dictionary.
  namesSafe_ = IsSafeName(name);
}

std::string DictionaryStore::DictionaryName() const {
  return jukugoName_.ends_with(kJukugoExtension) ? jukugoName_.substr(0, jukugoName_.size() - kJukugoExtension.size())
                                                 : jukugoName_;
}

void DictionaryStore::LoadDictionary() {
  RequireWords();
  const fs::path jukugoPath = dir_.PathOf(jukugoName_);
  const fs::path yomiPath = dir_.PathOf(yomiName_);
  if (!namesSafe_) throw CreateFileError(jukugoPath.string());

  // From here on a failure leaves the files as they are on disk: until a load
  // succeeds, no save may write over them with what memory held before.
  try {
    // A folder that is not there (yet) cannot take the files.
    if (!dir_.Open()) {
      const int error = errno;
      throw CreateFileError(jukugoPath.string(), error);
    }
    const bool sameDictionary = jukugoPath == jukugoPath_ && yomiPath == yomiPath_;
    if (!sameDictionary) {
      replaced_.clear();
      view_.reset();
    }
    // Read whole while no other copy's save is halfway.
    PairLock lock(dir_, jukugoName_);
    RecoverPair(dir_, jukugoName_, yomiName_, lock);
    FlushBeforeLoad(lock, sameDictionary);
    // A change a failed save could not write is the game's until a save writes it.
    ReadFiles(lock, heldBack_ && sameDictionary);
  } catch (const Error& failure) {
    loadFailure_ = failure.what();
    throw;
  }
  loadFailure_.clear();
  // Saves go only to a dictionary that has been loaded.
  jukugoPath_ = jukugoPath;
  yomiPath_ = yomiPath;
}

void DictionaryStore::FlushBeforeLoad(PairLock& lock, bool sameDictionary) {
  // Pairs still written into the files the last save replaced go into the files
  // before they are read.
  if (!sameDictionary || (replaced_.empty() && !view_)) return;
  const bool held = heldBack_;
  if (PairLines late = LateWrites(); !late.jukugo.empty() || !late.yomi.empty() || view_) {
    MergeFromDisk(std::move(late));
    WriteLocked(lock);
  }
  heldBack_ = heldBack_ || held;
}

void DictionaryStore::SeedNewDictionary(PairLock& lock) {
  SaveJoinedPair(dir_, jukugoName_, JoinLines(builtin_.jukugo().Entries()), yomiName_,
                 JoinLines(builtin_.yomi().Entries()), lock);
}

void DictionaryStore::ReadFiles(PairLock& lock, bool holding) {
  // Stamped before reading: a change made while the game reads shows at the save.
  FileStamp jukugoStamp = StampOf(dir_.Get(), jukugoName_);
  FileStamp yomiStamp = StampOf(dir_.Get(), yomiName_);
  PairLines lines;
  const ReadResult yomiRead = ReadEntries(dir_, yomiName_, lines.yomi);
  const ReadResult jukugoRead = ReadEntries(dir_, jukugoName_, lines.jukugo);
  if (yomiRead == ReadResult::kMissing && jukugoRead == ReadResult::kMissing) {
    // A new dictionary starts with the built-in words.
    SeedNewDictionary(lock);
    jukugoStamp = StampOf(dir_.Get(), jukugoName_);
    yomiStamp = StampOf(dir_.Get(), yomiName_);
    ReadEntries(dir_, jukugoName_, lines.jukugo);
    ReadEntries(dir_, yomiName_, lines.yomi);
  } else if (jukugoRead == ReadResult::kMissing || yomiRead == ReadResult::kMissing) {
    // Half a dictionary is a damaged one: seeding it would overwrite the words
    // still on disk, so the player is told and both files stay as they are.
    throw MissingFileError(dir_.PathOf(jukugoRead == ReadResult::kMissing ? jukugoName_ : yomiName_).string());
  }
  // Lines pair by position: with one file longer, no pair can be trusted, and
  // playing on them would save jukugo with other words' readings.
  if (lines.jukugo.size() != lines.yomi.size()) {
    const std::string jukugoPath = dir_.PathOf(jukugoName_).string();
    const std::string yomiPath = dir_.PathOf(yomiName_).string();
    if (holding)
      throw ChangedOutsideUnevenError(DictionaryName(), jukugoPath, lines.jukugo.size(), yomiPath, lines.yomi.size());
    throw UnevenPairError(jukugoPath, lines.jukugo.size(), yomiPath, lines.yomi.size());
  }

  std::string jukugoData = JoinLines(lines.jukugo);
  std::string yomiData = JoinLines(lines.yomi);
  if (holding) lines = WithHeldChange(std::move(lines), jukugoData, yomiData);
  savedJukugo_ = std::move(jukugoData);
  savedYomi_ = std::move(yomiData);
  view_.reset();
  jukugoStamp_ = jukugoStamp;
  yomiStamp_ = yomiStamp;
  comp_.Assign(std::move(lines));
  if (!holding) return;
  // Written at once where it can be, so that a kill during the match loses
  // nothing. This load is no save: where the write fails (the disk is still
  // full, say), the change stays held and the next save reports why.
  try {
    WriteLocked(lock);
  } catch (const Error&) {
    heldBack_ = true;
  }
}

PairLines DictionaryStore::WithHeldChange(PairLines lines, std::string_view jukugoData,
                                          std::string_view yomiData) const {
  PairLines mine{comp_.jukugo().Entries(), comp_.yomi().Entries()};
  if (jukugoData == savedJukugo_ && yomiData == savedYomi_) return mine;
  // The held change goes on top of the files as they are now, as another
  // program's change is kept at a save: a word it added stays, and one the
  // organizer deleted stays deleted.
  const PairLines base{CutLines(savedJukugo_), CutLines(savedYomi_)};
  std::optional<PairLines> merged = MergeOutsideChanges(base, lines, mine);
  return merged ? std::move(*merged) : std::move(lines);
}

void DictionaryStore::SaveDictionary() {
  RequireWords();
  ReturnUsedWords();
  if (comp_.Count() == 0) return;
  if (!loadFailure_.empty()) throw Error(loadFailure_);
  if (jukugoPath_.empty() || yomiPath_.empty()) throw CreateFileError(dir_.PathOf(jukugoName_).string());
  WriteComp();
}

void DictionaryStore::WriteComp() {
  // Whatever makes this save fail, COMP keeps the game's change for the next one.
  heldBack_ = true;
  // The whole save holds the pair: another copy's save waits, then keeps whole pairs.
  PairLock lock(dir_, jukugoName_);
  RecoverPair(dir_, jukugoName_, yomiName_, lock);
  WriteLocked(lock);
}

namespace {

// How long an edit that leaves the two files uneven is given to finish: an editor
// adding a pair writes one file, then the other.
constexpr int kSettleTries = 60;
constexpr auto kSettlePause = std::chrono::milliseconds(5);
// Where nobody can tell whether a replaced file is still open, a writer that
// opened it before the swap is taken to be done after this long.
constexpr auto kReplacedHeld = std::chrono::seconds(2);
// A writer still holding a replaced file at the end of a save is waited for this
// long; the files it keeps open longer are looked at by later saves and loads.
constexpr int kWriterTries = 50;
constexpr auto kWriterPause = std::chrono::milliseconds(1);
// Replaced files kept open at most: a program that holds every file for ever
// does not make the game hold every file for ever.
constexpr std::size_t kReplacedKept = 32;

// The whole content of an open plain file, from its start.
bool ReadWhole(const Fd& fd, std::string& data) {
  struct stat st{};
  if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || ::lseek(fd.Get(), 0, SEEK_SET) != 0)
    return false;
  data.clear();
  return ReadAll(fd.Get(), data, kMaxDictionaryFileBytes);
}

// Whether `replaced`, the file a save swapped out, was written since `base` was
// stamped (appended to in place, or another file renamed in its place); its
// content then goes to `data`. `seen` is how much of it the game has looked at.
bool WrittenSince(const Fd& replaced, const FileStamp& base, const std::string& baseData, std::string& data,
                  off_t& seen) {
  struct stat st{};
  seen = 0;
  if (!replaced.Valid() || ::fstat(replaced.Get(), &st) != 0) return false;
  seen = st.st_size;
  // The swap itself gives the file a new change time; its size and modification
  // time tell a write.
  if (st.st_ino == base.inode && st.st_dev == base.device && st.st_size == base.size &&
      st.st_mtim.tv_sec == base.modified.tv_sec && st.st_mtim.tv_nsec == base.modified.tv_nsec)
    return false;
  if (!ReadWhole(replaced, data)) return false;
  seen = static_cast<off_t>(data.size());
  return data != baseData;
}

// The lines a file at its name stands for: what it held when the game last
// looked (`lastSeen`, standing for `lastView`), then `late`, the lines a writer
// still wrote into files the game had swapped out (it appends in order, and one
// still writing into the file it opened before a swap has written nothing after
// them yet), then what was appended at the name since. A file rewritten
// meanwhile keeps the late lines at its end.
std::vector<std::string> LinesMeant(std::string_view now, std::string_view lastSeen,
                                    const std::vector<std::string>& lastView, const std::vector<std::string>& late) {
  if (!now.starts_with(lastSeen)) {
    std::vector<std::string> lines = CutLines(now);
    lines.insert(lines.end(), late.begin(), late.end());
    return lines;
  }
  std::vector<std::string> lines = lastView;
  lines.insert(lines.end(), late.begin(), late.end());
  for (std::string& line : CutLines(now.substr(lastSeen.size()))) lines.push_back(std::move(line));
  return lines;
}

// Whether another program still has the file open: the system grants a write
// lease only to the file's sole holder. kUnknown where leases cannot be had (a
// file system without them, a file of another user), and for a file that still
// has a name elsewhere (a hard link): whoever opened it there while the game held
// the lease would break it, and the break's signal would end the game.
enum class Openers { kNone, kSome, kUnknown };

Openers OthersHolding(const Fd& fd) {
  struct stat st{};
  if (::fstat(fd.Get(), &st) != 0 || st.st_nlink != 0) return Openers::kUnknown;
  if (::fcntl(fd.Get(), F_SETLEASE, F_WRLCK) == 0) {
    ::fcntl(fd.Get(), F_SETLEASE, F_UNLCK);
    return Openers::kNone;
  }
  return errno == EAGAIN ? Openers::kSome : Openers::kUnknown;
}

void AppendPairLines(PairLines& to, PairLines more) {
  std::move(more.jukugo.begin(), more.jukugo.end(), std::back_inserter(to.jukugo));
  std::move(more.yomi.begin(), more.yomi.end(), std::back_inserter(to.yomi));
}

// What another program appended at `name` after the save put `written` there, and
// the stamp with it; empty when the file there is another one or was rewritten.
std::string AppendedSince(const Folder& folder, const std::string& name, const std::string& written,
                          FileStamp& stamp) {
  Fd fd(::openat(folder.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  // Stamped before it is read: a write after the stamp shows at the next save.
  struct stat st{};
  std::string data;
  if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !ReadWhole(fd, data) || !data.starts_with(written)) return {};
  stamp = FileStamp{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  return data.substr(written.size());
}

}  // namespace

void DictionaryStore::ReadAgain(Replaced& file, std::string& data) {
  if (ReadWhole(file.fd, data)) file.seen = static_cast<off_t>(data.size());
}

// One save's swap, as the writes found in it are merged: the pairs the names
// stood for before it, and what it put there.
struct DictionaryStore::SwappedOut {
  PairLines base;
  std::string baseJukugo;
  std::string baseYomi;
  std::string jukugoData;  // what the save wrote
  std::string yomiData;
  std::string jukugoOld;  // what the swapped-out files held, where written to
  std::string yomiOld;
  bool jukugoWritten = false;
  bool yomiWritten = false;
};

void DictionaryStore::WriteLocked(PairLock& lock) {
  heldBack_ = true;
  // Each round is one save; another program's writes found during one are merged
  // in by the next. An editor that never stops writing is not waited for forever.
  for (int round = 0; round < 8; ++round) {
    PairLines late = LateWrites();
    if (!late.jukugo.empty() || !late.yomi.empty() || StampOf(dir_.Get(), jukugoName_) != jukugoStamp_ ||
        StampOf(dir_.Get(), yomiName_) != yomiStamp_) {
      // Another program may have written the files: a word added in an editor is
      // kept, and a word deleted there does not come back.
      MergeFromDisk(std::move(late));
    }
    // With every word deleted on both sides there is nothing to write.
    if (comp_.Count() == 0) break;
    SwappedOut out;
    out.jukugoData = JoinLines(comp_.jukugo().Entries());
    out.yomiData = JoinLines(comp_.yomi().Entries());
    PlacedPair placed;
    SaveJoinedPair(dir_, jukugoName_, out.jukugoData, yomiName_, out.yomiData, lock, &placed);
    // The names now hold the game's pairs, whole: a split pair is mended.
    out.base = view_ ? std::move(*view_) : PairLines{CutLines(savedJukugo_), CutLines(savedYomi_)};
    view_.reset();
    out.baseJukugo = savedJukugo_;
    out.baseYomi = savedYomi_;
    off_t jukugoSeen = 0;
    off_t yomiSeen = 0;
    out.jukugoWritten = WrittenSince(placed.jukugo.replaced, jukugoStamp_, savedJukugo_, out.jukugoOld, jukugoSeen);
    out.yomiWritten = WrittenSince(placed.yomi.replaced, yomiStamp_, savedYomi_, out.yomiOld, yomiSeen);
    const auto now = std::chrono::steady_clock::now();
    replaced_.push_back(Replaced{std::move(placed.jukugo.replaced), jukugoSeen, true, now});
    replaced_.push_back(Replaced{std::move(placed.yomi.replaced), yomiSeen, false, now});
    savedJukugo_ = out.jukugoData;
    savedYomi_ = out.yomiData;
    jukugoStamp_ = placed.jukugo.written;
    yomiStamp_ = placed.yomi.written;
    if (out.jukugoWritten || out.yomiWritten) {
      MergeWritesDuringSave(out);
    } else if (!LateWritesPending()) {
      // What a writer in the middle of its write puts into the replaced files
      // goes into the next round.
      heldBack_ = false;
      return;
    }
  }
}

// Another program wrote into the files this save replaced, between the check and
// the swap: what it wrote is in the replaced files, and what it appended from the
// swap on is at the names. Both go into the next round; a pair it is halfway
// through writing is waited for.
void DictionaryStore::MergeWritesDuringSave(SwappedOut& out) {
  PairLines disk;
  // Lines written late into files earlier saves replaced: the writer wrote them
  // before anything it put into the files this save replaced.
  PairLines earlier;
  std::string jukugoTail;
  std::string yomiTail;
  FileStamp jukugoNow;
  FileStamp yomiNow;
  for (int settle = 0;; ++settle) {
    // The replaced files are read again: a writer that opened one before the
    // swap may still be writing into it.
    if (settle > 0) {
      ReadAgain(replaced_.end()[-2], out.jukugoOld);
      ReadAgain(replaced_.back(), out.yomiOld);
    }
    const std::string& jukugoBefore = out.jukugoOld.empty() && !out.jukugoWritten ? out.baseJukugo : out.jukugoOld;
    const std::string& yomiBefore = out.yomiOld.empty() && !out.yomiWritten ? out.baseYomi : out.yomiOld;
    AppendPairLines(earlier, LateWrites(2));
    jukugoNow = jukugoStamp_;
    yomiNow = yomiStamp_;
    jukugoTail = AppendedSince(dir_, jukugoName_, out.jukugoData, jukugoNow);
    yomiTail = AppendedSince(dir_, yomiName_, out.yomiData, yomiNow);
    disk = PairLines{LinesMeant(jukugoBefore, out.baseJukugo, out.base.jukugo, earlier.jukugo),
                     LinesMeant(yomiBefore, out.baseYomi, out.base.yomi, earlier.yomi)};
    for (std::string& line : CutLines(jukugoTail)) disk.jukugo.push_back(std::move(line));
    for (std::string& line : CutLines(yomiTail)) disk.yomi.push_back(std::move(line));
    if (disk.jukugo.size() == disk.yomi.size() || settle == kSettleTries) break;
    std::this_thread::sleep_for(kSettlePause);
  }
  std::optional<PairLines> merged =
      MergeOutsideChanges(out.base, disk, PairLines{comp_.jukugo().Entries(), comp_.yomi().Entries()});
  // Refused, the files stay as the game last wrote them: what was appended at
  // the names since is another program's change for the next save to merge.
  if (!merged)
    throw ChangedOutsideUnevenError(DictionaryName(), jukugoPath_.string(), disk.jukugo.size(),
                                    yomiPath_.string(), disk.yomi.size());
  savedJukugo_ = out.jukugoData + jukugoTail;
  savedYomi_ = out.yomiData + yomiTail;
  jukugoStamp_ = jukugoNow;
  yomiStamp_ = yomiNow;
  // A pair the writer split across the swap, one line in a replaced file and the
  // other at the name, leaves the names uneven until the next round writes them:
  // until then the names stand for the pairs read here.
  view_ = std::move(disk);
  // The pairs at the names now, with the game's change and the other program's.
  comp_.Assign(std::move(*merged));
}

PairLines DictionaryStore::LateWrites(std::size_t newest) {
  PairLines late;
  const auto tail = [](const Fd& fd, off_t& seen, std::vector<std::string>& lines) {
    struct stat st{};
    if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || st.st_size <= seen) return;
    std::string data;
    if (::lseek(fd.Get(), seen, SEEK_SET) != seen || !ReadAll(fd.Get(), data, kMaxDictionaryFileBytes)) return;
    seen += static_cast<off_t>(data.size());
    for (std::string& line : CutLines(data)) lines.push_back(std::move(line));
  };
  const auto old = std::chrono::steady_clock::now() - kReplacedHeld;
  const std::size_t looked = replaced_.size() - std::min(newest, replaced_.size());
  for (std::size_t i = 0; i < looked; ++i) {
    Replaced& file = replaced_[i];
    // Asked before the last look: a file no other program holds takes no more writes.
    const Openers openers = file.fd.Valid() ? OthersHolding(file.fd) : Openers::kNone;
    tail(file.fd, file.seen, file.jukugo ? late.jukugo : late.yomi);
    file.done = openers == Openers::kNone || (openers == Openers::kUnknown && file.since < old);
  }
  std::erase_if(replaced_, [](const Replaced& file) { return file.done; });
  if (replaced_.size() > kReplacedKept + newest)
    replaced_.erase(replaced_.begin(), replaced_.end() - static_cast<std::ptrdiff_t>(kReplacedKept + newest));
  return late;
}

bool DictionaryStore::LateWritesPending() {
  for (int tries = 0; tries < kWriterTries; ++tries) {
    bool held = false;
    for (const Replaced& file : replaced_) {
      // Asked before the size is looked at: a write the holder made before it
      // closed the file shows.
      held = held || (file.fd.Valid() && OthersHolding(file.fd) == Openers::kSome);
      struct stat st{};
      if (file.fd.Valid() && ::fstat(file.fd.Get(), &st) == 0 && st.st_size > file.seen) return true;
    }
    if (!held) return false;
    std::this_thread::sleep_for(kWriterPause);
  }
  return false;
}

void DictionaryStore::MergeFromDisk(PairLines late) {
  PairLines disk;
  PairLines meant;
  bool jukugoThere = false;
  bool yomiThere = false;
  FileStamp jukugoNow;
  FileStamp yomiNow;
  std::string jukugoData;
  std::string yomiData;
  const PairLines base = view_ ? *view_ : PairLines{CutLines(savedJukugo_), CutLines(savedYomi_)};
  // An editor adding a pair writes one file and then the other: uneven files are
  // given a moment to become even before they are refused.
  for (int settle = 0;; ++settle) {
    jukugoNow = StampOf(dir_.Get(), jukugoName_);
    yomiNow = StampOf(dir_.Get(), yomiName_);
    jukugoThere = ReadEntries(dir_, jukugoName_, disk.jukugo) == ReadResult::kRead;
    yomiThere = ReadEntries(dir_, yomiName_, disk.yomi) == ReadResult::kRead;
    if (settle > 0) AppendPairLines(late, LateWrites());
    jukugoData = JoinLines(disk.jukugo);
    yomiData = JoinLines(disk.yomi);
    meant = PairLines{LinesMeant(jukugoData, savedJukugo_, base.jukugo, late.jukugo),
                      LinesMeant(yomiData, savedYomi_, base.yomi, late.yomi)};
    if (meant.jukugo.size() == meant.yomi.size() || settle == kSettleTries) break;
    std::this_thread::sleep_for(kSettlePause);
  }
  // Both files gone: the save puts the game's words back, as it always did.
  if (!jukugoThere && !yomiThere) return;
  if (!late.jukugo.empty() || !late.yomi.empty() || jukugoData != savedJukugo_ || yomiData != savedYomi_) {
    std::optional<PairLines> merged =
        MergeOutsideChanges(base, meant, PairLines{comp_.jukugo().Entries(), comp_.yomi().Entries()});
    if (!merged)
      throw ChangedOutsideUnevenError(DictionaryName(), jukugoPath_.string(), meant.jukugo.size(),
                                      yomiPath_.string(), meant.yomi.size());
    comp_.Assign(std::move(*merged));
  }
  // What the files hold now is what the game's change goes on top of.
  if (meant.jukugo != disk.jukugo || meant.yomi != disk.yomi)
    view_ = std::move(meant);
  else
    view_.reset();
  savedJukugo_ = std::move(jukugoData);
  savedYomi_ = std::move(yomiData);
  jukugoStamp_ = jukugoNow;
  yomiStamp_ = yomiNow;
}

namespace {

// Whether `first` then `second`, each entry ended by CR LF, are exactly `joined`.
bool JoinsTo(std::span<const std::string> first, std::span<const std::string> second, std::string_view joined) {
  std::size_t at = 0;
  for (const auto list : {first, second}) {
    for (const std::string& entry : list) {
      if (joined.size() - at < entry.size() + 2 || joined.compare(at, entry.size(), entry) != 0 ||
          joined.compare(at + entry.size(), 2, "\r\n") != 0)
        return false;
      at += entry.size() + 2;
    }
  }
  return at == joined.size();
}

}  // namespace

bool DictionaryStore::HasUnsavedChanges() const {
  // What a save would write: COMP, then the played pairs. With nothing to write, a
  // save writes nothing.
  if (comp_.Count() + used_.Count() == 0) return false;
  return !JoinsTo(comp_.jukugo().Entries(), used_.jukugo().Entries(), savedJukugo_) ||
         !JoinsTo(comp_.yomi().Entries(), used_.yomi().Entries(), savedYomi_);
}

void DictionaryStore::ReturnUsedWords() {
  for (std::size_t i = 0; i < used_.Count(); ++i) {
    WordPair played = used_.Get(static_cast<long long>(i));
    comp_.Append(std::move(played.jukugo), std::move(played.yomi));
  }
  used_.Clear();
}

bool DictionaryStore::RestoreUsedWords(std::string_view jukugo) {
  ReturnUsedWords();
  return comp_.jukugo().Find(jukugo) >= 0;
}

void DictionaryStore::ClearUsed() {
  RequireWords();
  used_.Clear();
}

WordPair DictionaryStore::PlayFromComp(std::size_t index) {
  RequireWords();
  WordPair played = comp_.Get(static_cast<long long>(index));
  used_.Append(played.jukugo, played.yomi);
  comp_.Delete(static_cast<long long>(index));
  return played;
}

void DictionaryStore::PlayWord(const std::string& jukugo, const std::string& yomi) {
  RequireWords();
  used_.Append(jukugo, yomi);
  const long long index = comp_.jukugo().Find(jukugo);
  if (index >= 0) comp_.Delete(index);
}

void DictionaryStore::AddWord(const std::string& jukugo, const std::string& yomi) {
  RequireWords();
  comp_.Append(jukugo, yomi);
}

WordListPair DictionaryStore::TakeWords() {
  RequireWords();
  ReturnUsedWords();
  lent_ = true;
  return std::exchange(comp_, WordListPair());
}

void DictionaryStore::GiveBackWords(WordListPair words) {
  comp_ = std::move(words);
  lent_ = false;
}

void DictionaryStore::RequireWords() const {
  // Only a programming error gets here: the organizer keeps the match's window
  // disabled while it holds the words.
  if (lent_) throw std::logic_error("the organizer holds the dictionary's words");
}

bool DictionaryStore::IsUsed(std::string_view jukugo) const { return used_.jukugo().Find(jukugo) >= 0; }

std::vector<std::string> DictionaryStore::ListUserDictionaries() const {
  std::vector<std::string> names;
  // The folder the game holds, or, before it was found, the one at the path now.
  Folder found(folder_);
  const Folder* folder = &dir_;
  if (!dir_.IsOpen()) {
    // A program folder that is not there offers no dictionary.
    if (!found.Open()) {
      if (errno == ENOENT || errno == ENOTDIR) return names;
      throw ReadFileError(folder_.string());
    }
    folder = &found;
  }
  // One that is there but cannot be listed is reported.
  std::vector<std::string> files;
  if (!folder->Names(files)) throw ReadFileError(folder_.string());
  for (const std::string& fileName : files) {
    if (fileName.empty() || fileName[0] == '.') continue;  // hidden
    if (fileName.size() <= kJukugoExtension.size() || !fileName.ends_with(kJukugoExtension))
      continue;
    if (fileName == kSharedJukugoFile) continue;
    // Plain files only: a link is neither read nor written through.
    struct stat st{};
    if (::fstatat(folder->Get(), fileName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
      continue;
    std::string name = fileName.substr(0, fileName.rfind('.'));
    // A name the choice would refuse (a control byte, say) is not offered.
    if (!IsSafeName(name)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), NameBefore);
  return names;
}

}  // namespace renkomi
