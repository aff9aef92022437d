// Reading the kanji taught in elementary school from KANJIDIC (Debian's kanjidic
// package, EUC-JP text): a kanji's line carries "G1" to "G6" for the school year
// in which Japanese children learn it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>

#include "source_files.h"

namespace renkomi {

// Where Debian's kanjidic package puts the file.
inline constexpr std::string_view kDebianKanjidicFile = "/usr/share/edict/kanjidic";

class SchoolKanji {
 public:
  // Reads a whole KANJIDIC file; throws Error when it cannot be read.
  void AddFile(const std::filesystem::path& path, const ReadProgress& progress = {});
  // One line, already decoded to UTF-8: "一 306C U4e00 B1 G1 S1 ...".
  void AddLine(std::string_view utf8);

  // True when every kanji of the CP932 jukugo is taught in elementary school.
  bool Teaches(std::string_view jukugo) const;
  std::size_t Count() const { return kanji_.size(); }

 private:
  std::unordered_set<std::string> kanji_;  // CP932, two bytes each
};

}  // namespace renkomi
