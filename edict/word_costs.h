// Reading how often a jukugo is read one way or another, from the word costs of
// the IPA dictionary of the MeCab morphological analyser (Debian's mecab-ipadic,
// whose source lists are EUC-JP CSV files). The analyser prefers the cheaper of
// two words, and the costs were learnt from a newspaper corpus: the lower a
// pair's cost, the more often Japanese text reads the jukugo that way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "source_files.h"

namespace renkomi {

// Where Debian's mecab-ipadic package puts its source lists.
inline constexpr std::string_view kDebianIpadicFolder = "/usr/share/mecab/dic/ipadic";

class WordCosts {
 public:
  // Reads every list (*.csv) of the folder. A folder that cannot be listed or a
  // list that cannot be read throws Error.
  void AddFolder(const std::filesystem::path& folder, const ReadProgress& progress = {});
  // One line of a list, as the file holds it (EUC-JP). Lines of words that are
  // not jukugo, or whose reading the game could not take, are passed over.
  void AddLine(std::string_view eucJp);

  // The pair's cost, lower for a more frequent reading; a proper noun's (a place
  // or a family name read that way) ranks after every common noun's. nullopt
  // when the analyser does not know the pair.
  std::optional<std::int64_t> Cost(std::string_view jukugo, std::string_view yomi) const;
  bool Empty() const { return costs_.empty(); }

  // The lists of the folder (*.csv), in a fixed order.
  static std::vector<std::filesystem::path> Lists(const std::filesystem::path& folder);

 private:
  std::unordered_map<std::string, std::int64_t> costs_;  // jukugo, NUL, yomi
  EucJpDecoder decoder_;
  std::string utf8_;
};

}  // namespace renkomi
