// Ordered lists of CP932 text, and the index-aligned jukugo/reading pairs the
// dictionary and the match are made of.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
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
  std::vector<std::string>& Entries() { return entries_; }
  bool operator==(const WordList&) const = default;

 private:
  std::vector<std::string> entries_;
};

struct WordPair {
  std::string jukugo;
  std::string yomi;
  bool operator==(const WordPair&) const = default;
};

// A jukugo list and a reading list whose entries at one index belong together.
struct WordListPair {
  WordList jukugo;
  WordList yomi;

  void Append(std::string j, std::string y) {
    jukugo.Append(std::move(j));
    yomi.Append(std::move(y));
  }
  void Delete(long long index) {
    jukugo.Delete(index);
    yomi.Delete(index);
  }
  void Clear() {
    jukugo.Clear();
    yomi.Clear();
  }
  bool operator==(const WordListPair&) const = default;
};

}  // namespace renkomi
