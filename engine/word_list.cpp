#include "word_list.h"

#include <stdexcept>

#include "errors.h"
#include "text_rules.h"

namespace renkomi {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t i = 0;
  while (i < a.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(ca)) {
      // A double-byte character compares exactly, trail byte included: 0x89 0x41
      // (陰) and 0x89 0x61 (餌) are different kanji, not two cases of a letter.
      if (ca != cb) return false;
      if (i + 1 < a.size() && a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (FoldAscii(ca) != FoldAscii(cb)) return false;
      ++i;
    }
  }
  return true;
}

const std::string& WordList::Get(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) >= entries_.size())
    throw ListIndexError(index);
  return entries_[static_cast<std::size_t>(index)];
}

void WordList::Delete(long long index) {
  if (index < 0 || static_cast<unsigned long long>(index) >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

long long WordList::Find(std::string_view text) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (EqualIgnoringCase(entries_[i], text)) return static_cast<long long>(i);
  return -1;
}

void WordListPair::Assign(PairLines lines) {
  // A fault of the caller, never of the player's files (those are checked when
  // read): the windows show it as an unexpected error, not in these words.
  if (lines.jukugo.size() != lines.yomi.size())
    throw std::invalid_argument("a jukugo list and a reading list of different lengths");
  jukugo_ = WordList(std::move(lines.jukugo));
  yomi_ = WordList(std::move(lines.yomi));
}

}  // namespace renkomi
