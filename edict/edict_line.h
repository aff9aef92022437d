// One line of the EDRDG Japanese-English dictionary taken apart: its spellings, its
// readings, and the tags that say which of them are common or irregular. Both the
// one-spelling-per-line EDICT layout and the EDICT2 layout with several spellings
// and readings (K1(iK);K2 [R1;R2(K1)]) are read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace renkomi {

struct EdictHeadword {
  std::string text;                 // UTF-8, without its tags
  std::vector<std::string> tags;    // "P", "iK", "ok", ... as written in its brackets
  std::vector<std::string> onlyFor; // a reading that belongs to these spellings only

  bool HasTag(std::string_view tag) const;
};

struct EdictLine {
  std::vector<EdictHeadword> spellings;  // empty for a word written in kana only
  std::vector<EdictHeadword> readings;
  // Tags that open the first gloss, "(ateji) (n) (1) ...". The EDICT layout puts the
  // irregular-spelling and irregular-reading tags of the line's one pair here.
  std::vector<std::string> leadingTags;
  // A gloss field that is exactly "(P)": the entry is in common use.
  bool common = false;

  bool HasLeadingTag(std::string_view tag) const;
};

// nullopt for a line that is not an entry (blank, or without any gloss).
std::optional<EdictLine> ParseEdictLine(std::string_view utf8);

}  // namespace renkomi
