// Turns the EDRDG Japanese-English dictionary (Debian's edict package, EUC-JP text)
// into word pairs for the shared dictionary: common words written in two or more
// kanji, each with one hiragana reading, in the game's CP932, judged by the game's
// own word rules so that every pair is one the player could type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "edict_line.h"

namespace renkomi {

// The shared dictionary's two file names.
inline constexpr std::string_view kSharedJukugoFile = "renkomi.jdc";
inline constexpr std::string_view kSharedYomiFile = "renkomi.ydc";

// The large dictionary is a personal one by its files: the game offers it by its
// name, which begins with this and ends with its size ("大きな辞書10万語").
inline constexpr std::string_view kLargeDictionaryPrefix = "大きな辞書";
// The large dictionary's name for `pairs` words: the size in ten thousands (万)
// from 10,000 words on, else the count itself.
std::string LargeDictionaryName(std::size_t pairs);

// Bytes of a source file read so far, and the file's size.
using ReadProgress = std::function<void(std::uintmax_t done, std::uintmax_t total)>;

// Which words of the source are kept.
enum class Vocabulary {
  kCommon,  // the words marked common: the shared dictionary
  kAll,     // every word, common or not: the large dictionary
};

// True for text of at least two characters, each a CJK ideograph: the unified
// block U+4E00-U+9FFF, extension A U+3400-U+4DBF and the compatibility block
// U+F900-U+FAFF (where CP932 keeps a few kanji such as U+FA11). Marks such as
// U+3005 and U+3007 and the CP932 symbols that sort among the kanji (small Roman
// numerals, U+FFE4) are not ideographs.
bool IsIdeographWord(std::string_view utf8);

// Katakana U+30A1-U+30F6 become the hiragana 0x60 below them; anything else,
// the long-vowel mark included, stays as it is.
std::string KatakanaToHiragana(std::string_view utf8);

// The CP932 jukugo for a spelling, or empty when the game could not take it.
std::string JukugoFor(std::string_view spelling);
// The CP932 hiragana reading for a reading, or empty when the game could not take it.
std::string YomiFor(std::string_view reading);

class EdictImport {
 public:
  explicit EdictImport(Vocabulary vocabulary = Vocabulary::kCommon) : vocabulary_(vocabulary) {}

  // Takes one dictionary line, already decoded to UTF-8.
  void AddLine(std::string_view utf8);
  // Reads a whole dictionary file in EUC-JP. A line that does not decode is
  // counted and skipped; a file that cannot be read throws Error.
  void AddFile(const std::filesystem::path& path) { AddFile(path, {this}); }
  // The same into several imports at once: the file is read and decoded once.
  // `progress`, when given, hears now and then how many bytes of the file have
  // been read, and its size.
  static void AddFile(const std::filesystem::path& path, std::initializer_list<EdictImport*> imports,
                      const ReadProgress& progress = {});

  // Index-aligned, in the order of the source, one pair per jukugo.
  const std::vector<std::string>& Jukugo() const { return jukugo_; }
  const std::vector<std::string>& Yomi() const { return yomi_; }

  std::size_t LineCount() const { return lines_; }
  std::size_t UndecodableLineCount() const { return undecodable_; }

 private:
  void Add(const EdictLine& line);

  std::vector<std::string> jukugo_;
  std::vector<std::string> yomi_;
  Vocabulary vocabulary_;
  std::unordered_set<std::string> seen_;
  std::size_t lines_ = 0;
  std::size_t undecodable_ = 0;
};

// Throws Error when the program folder is missing or already holds either file of
// the shared dictionary (even as a dangling link).
void EnsureNoSharedDictionary(const std::filesystem::path& programFolder);

// Writes the pairs as the shared dictionary in `programFolder`. Never replaces a
// dictionary the player already has: throws Error, writing nothing, when either
// file exists, when the folder is missing, or when there is no pair to write.
void WriteSharedDictionary(const std::filesystem::path& programFolder, const EdictImport& words);

// The large dictionary's files already in `programFolder` (of any size), if any.
std::vector<std::filesystem::path> ExistingLargeDictionary(const std::filesystem::path& programFolder);
// Writes the pairs as the large dictionary in `programFolder` and returns its
// name. The same refusals as for the shared dictionary: a large dictionary of any
// size already there is never replaced.
std::string WriteLargeDictionary(const std::filesystem::path& programFolder, const EdictImport& words);

}  // namespace renkomi
