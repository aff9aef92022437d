#include "dictionary_store.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <system_error>

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

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

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
  SetFileNames(name + ".jdc", name + ".ydc");
  // The extension would make "." and ".." harmless file names; they are refused
  // all the same, as names nobody means as a dictionary.
  namesSafe_ = IsSafeName(name);
}

void DictionaryStore::SetFileNames(std::string jukugoFileName, std::string yomiFileName) {
  namesSafe_ = IsSafeName(jukugoFileName) && IsSafeName(yomiFileName);
  jukugoName_ = std::move(jukugoFileName);
  yomiName_ = std::move(yomiFileName);
}

fs::path DictionaryStore::InFolder(const std::string& fileName) const {
  fs::path path = folder_;
  path /= "";  // ends in the separator
  path += fileName;
  return path;
}

std::string DictionaryStore::DictionaryName() const {
  return jukugoName_.ends_with(kJukugoExtension) ? jukugoName_.substr(0, jukugoName_.size() - kJukugoExtension.size())
                                                 : jukugoName_;
}

void DictionaryStore::LoadDictionary() {
  const fs::path jukugoPath = InFolder(jukugoName_);
  const fs::path yomiPath = InFolder(yomiName_);
  if (!namesSafe_) throw CreateFileError(jukugoPath.string());

  // From here on a failure leaves the files as they are on disk: until a load
  // succeeds, no save may write over them with what memory held before.
  try {
    // A folder that is not there (yet) cannot take the files.
    if (!dir_.Open()) {
      const int error = errno;
      throw CreateFileError(jukugoPath.string(), error);
    }
    // A save held back by another program's change writes the game's change first,
    // so that reloading never drops it. (It takes the pair's lock itself.)
    if (heldBack_ && jukugoPath == jukugoPath_ && yomiPath == yomiPath_) WriteComp();
    // Read whole while no other copy's save is halfway.
    PairLock lock(dir_, jukugoName_);
    RecoverPair(dir_, jukugoName_, yomiName_, lock);
    // Stamped before reading: a change made while the game reads shows at the save.
    FileStamp jukugoStamp = StampOf(dir_.Get(), jukugoName_);
    FileStamp yomiStamp = StampOf(dir_.Get(), yomiName_);
    PairLines lines;
    const ReadResult yomiRead = ReadEntries(dir_, yomiName_, lines.yomi);
    const ReadResult jukugoRead = ReadEntries(dir_, jukugoName_, lines.jukugo);
    if (yomiRead == ReadResult::kMissing && jukugoRead == ReadResult::kMissing) {
      // A new dictionary starts with the built-in words.
      SaveJoinedPair(dir_, jukugoName_, JoinLines(builtin_.jukugo().Entries()), yomiName_,
                     JoinLines(builtin_.yomi().Entries()), lock);
      jukugoStamp = StampOf(dir_.Get(), jukugoName_);
      yomiStamp = StampOf(dir_.Get(), yomiName_);
      ReadEntries(dir_, jukugoName_, lines.jukugo);
      ReadEntries(dir_, yomiName_, lines.yomi);
    } else if (jukugoRead == ReadResult::kMissing) {
      // Half a dictionary is a damaged one: seeding it would overwrite the words
      // still on disk, so the player is told and both files stay as they are.
      throw MissingFileError(jukugoPath.string());
    } else if (yomiRead == ReadResult::kMissing) {
      throw MissingFileError(yomiPath.string());
    }
    // Lines pair by position: with one file longer, no pair can be trusted, and
    // playing on them would save jukugo with other words' readings.
    if (lines.jukugo.size() != lines.yomi.size())
      throw UnevenPairError(jukugoPath.string(), lines.jukugo.size(), yomiPath.string(), lines.yomi.size());

    savedJukugo_ = JoinLines(lines.jukugo);
    savedYomi_ = JoinLines(lines.yomi);
    jukugoStamp_ = jukugoStamp;
    yomiStamp_ = yomiStamp;
    comp.Assign(std::move(lines));
  } catch (const Error& failure) {
    loadFailure_ = failure.what();
    throw;
  }
  loadFailure_.clear();
  // Saves go only to a dictionary that has been loaded.
  jukugoPath_ = jukugoPath;
  yomiPath_ = yomiPath;
}

void DictionaryStore::SaveDictionary() {
  ReturnUsedWords();
  if (comp.Count() == 0) return;
  if (!loadFailure_.empty()) throw Error(loadFailure_);
  if (jukugoPath_.empty() || yomiPath_.empty()) throw CreateFileError(InFolder(jukugoName_).string());
  WriteComp();
}

void DictionaryStore::WriteComp() {
  std::string jukugoData = JoinCheckedLines(jukugoPath_, comp.jukugo().Entries());
  std::string yomiData = JoinCheckedLines(yomiPath_, comp.yomi().Entries());
  // The whole save holds the pair: another copy's save waits, then keeps whole pairs.
  PairLock lock(dir_, jukugoName_);
  RecoverPair(dir_, jukugoName_, yomiName_, lock);
  if (StampOf(dir_.Get(), jukugoName_) != jukugoStamp_ || StampOf(dir_.Get(), yomiName_) != yomiStamp_) {
    // Another program may have written the files: a word added in an editor is
    // kept, and a word deleted there does not come back.
    heldBack_ = true;
    PairLines disk;
    const bool jukugoThere = ReadEntries(dir_, jukugoName_, disk.jukugo) == ReadResult::kRead;
    const bool yomiThere = ReadEntries(dir_, yomiName_, disk.yomi) == ReadResult::kRead;
    // Both files gone: the save puts the game's words back, as it always did.
    if ((jukugoThere || yomiThere) &&
        (JoinLines(disk.jukugo) != savedJukugo_ || JoinLines(disk.yomi) != savedYomi_)) {
      const PairLines base{CutLines(savedJukugo_), CutLines(savedYomi_)};
      std::optional<PairLines> merged =
          MergeOutsideChanges(base, disk, PairLines{comp.jukugo().Entries(), comp.yomi().Entries()});
      if (!merged)
        throw ChangedOutsideUnevenError(DictionaryName(), jukugoPath_.string(), disk.jukugo.size(),
                                        yomiPath_.string(), disk.yomi.size());
      comp.Assign(std::move(*merged));
      jukugoData = JoinLines(comp.jukugo().Entries());
      yomiData = JoinLines(comp.yomi().Entries());
    }
  }
  // With every word deleted on both sides there is nothing to write.
  if (comp.Count() != 0) SaveJoinedPair(dir_, jukugoName_, jukugoData, yomiName_, yomiData, lock);
  jukugoStamp_ = StampOf(dir_.Get(), jukugoName_);
  yomiStamp_ = StampOf(dir_.Get(), yomiName_);
  savedJukugo_ = std::move(jukugoData);
  savedYomi_ = std::move(yomiData);
  heldBack_ = false;
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
  if (comp.Count() + used.Count() == 0) return false;
  return !JoinsTo(comp.jukugo().Entries(), used.jukugo().Entries(), savedJukugo_) ||
         !JoinsTo(comp.yomi().Entries(), used.yomi().Entries(), savedYomi_);
}

void DictionaryStore::ReturnUsedWords() {
  for (std::size_t i = 0; i < used.Count(); ++i) {
    WordPair played = used.Get(static_cast<long long>(i));
    comp.Append(std::move(played.jukugo), std::move(played.yomi));
  }
  used.Clear();
}

bool DictionaryStore::RestoreUsedWords(std::string_view jukugo) {
  ReturnUsedWords();
  return comp.jukugo().Find(jukugo) >= 0;
}

void DictionaryStore::RemoveFromDictionary(std::string_view jukugo) {
  const long long index = comp.jukugo().Find(jukugo);
  if (index >= 0) comp.Delete(index);
}

bool DictionaryStore::IsUsed(std::string_view jukugo) const { return used.jukugo().Find(jukugo) >= 0; }

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
