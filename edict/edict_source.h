// Reading the EDRDG Japanese-English dictionary (Debian's edict package, EUC-JP
// text): every jukugo of two or more kanji with every hiragana reading the game
// could take, and what the source says of each pair's use. Which reading a
// dictionary gets is chosen elsewhere (reading_choice.h); this only gathers.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "edict_line.h"
#include "source_files.h"

namespace renkomi {

// Where Debian's edict package puts the dictionary file.
inline constexpr std::string_view kDebianEdictFile = "/usr/share/edict/edict";

struct SourceReading {
  std::string yomi;     // CP932 hiragana
  bool common = false;  // marked in common use for this spelling
  bool dated = false;   // archaic, obsolete or rare wherever the source gives it
};

struct SourceWord {
  std::string jukugo;                   // CP932
  std::vector<SourceReading> readings;  // each once, in the order the source first gives them
  bool common = false;                  // one of its pairs is marked common
  // What the generator of earlier versions wrote for this word, which skipped
  // phonetic kanji (ateji): the first reading of the source, and the first one
  // marked common; empty when there was none.
  std::string firstYomi;
  std::string firstCommonYomi;

  bool Common() const { return common; }
};

class EdictWords {
 public:
  // Takes one dictionary line, already decoded to UTF-8.
  void AddLine(std::string_view utf8);
  // Reads a whole dictionary file in EUC-JP. A line that does not decode is
  // counted and skipped; a file that cannot be read throws Error.
  void AddFile(const std::filesystem::path& path, const ReadProgress& progress = {});

  // In the order the source first gives them.
  const std::vector<SourceWord>& Words() const { return words_; }
  const SourceWord* Find(const std::string& jukugo) const;

  std::size_t LineCount() const { return lines_; }
  std::size_t UndecodableLineCount() const { return undecodable_; }

 private:
  void Add(const EdictLine& line);
  void Add(std::string jukugo, std::string yomi, bool common, bool dated, bool writtenEarlier);

  std::vector<SourceWord> words_;
  std::unordered_map<std::string, std::size_t> index_;
  std::size_t lines_ = 0;
  std::size_t undecodable_ = 0;
};

}  // namespace renkomi
