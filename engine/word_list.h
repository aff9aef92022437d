// Ordered lists of CP932 text, and the index-aligned jukugo/reading pairs the
// dictionary and the match are made of.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace renkomi {

// Whole-entry equality that ignores letter case of single-byte letters only; the
// second byte of a double-byte character is never folded (0x89 0x41 is not 0x89 0x61).
bool EqualIgnoringCase(std::string_view a, std::string_view b);

class WordList {
 public:
  WordList() = default;
  explicit WordList(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  std::size_t Count() const { return entries_.size(); }
  // Throws ListIndexError outside 0..Count()-1.
  const std::string& Get(long long index) const;
  void Append(std::string entry) { entries_.push_back(std::move(entry)); }
  // An index outside the list deletes nothing.
  void Delete(long long index);
  void Clear() { entries_.clear(); }
  // Index of the first entry equal to `text` (letter case ignored), or -1.
  long long Find(std::string_view text) const;

  const std::vector<std::string>& Entries() const { return entries_; }
  // Empties the list, handing its entries over without copying them.
  std::vector<std::string> Release() { return std::exchange(entries_, {}); }
  bool operator==(const WordList&) const = default;

 private:
  std::vector<std::string> entries_;
};

struct WordPair {
  std::string jukugo;
  std::string yomi;
  bool operator==(const WordPair&) const = default;
};

// A dictionary's two files as lines, the jukugo file's and the reading file's: as
// read from disk, the two may differ in length.
struct PairLines {
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
  bool operator==(const PairLines&) const = default;
};

// A jukugo list and a reading list whose entries at one index belong together.
// Only the pair changes its lists, and always both at once, so the two are always
// equally long: entry i of one list is the partner of entry i of the other.
class WordListPair {
 public:
  const WordList& jukugo() const { return jukugo_; }
  const WordList& yomi() const { return yomi_; }
  std::size_t Count() const { return jukugo_.Count(); }
  // Throws ListIndexError outside 0..Count()-1.
  WordPair Get(long long index) const { return {jukugo_.Get(index), yomi_.Get(index)}; }

  void Append(std::string j, std::string y) {
    jukugo_.Append(std::move(j));
    yomi_.Append(std::move(y));
  }
  // An index outside the pair deletes nothing.
  void Delete(long long index) {
    jukugo_.Delete(index);
    yomi_.Delete(index);
  }
  void Clear() {
    jukugo_.Clear();
    yomi_.Clear();
  }
  // Puts `lines` in place of the pair's lists. Lines of different lengths cannot
  // be pairs (the caller checks the files first, naming them): they throw
  // std::invalid_argument and the pair stays as it was.
  void Assign(PairLines lines);
  // Empties the pair, handing its two lists over without copying them.
  PairLines Release() { return {jukugo_.Release(), yomi_.Release()}; }
  bool operator==(const WordListPair&) const = default;

 private:
  WordList jukugo_;
  WordList yomi_;
};

}  // namespace renkomi
