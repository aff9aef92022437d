#include "edict_line.h"

#include <algorithm>

namespace renkomi {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits at `separator` outside brackets, so "R1(K1;K2);R2" gives two items.
std::vector<std::string_view> SplitOutsideBrackets(std::string_view s, char separator) {
  std::vector<std::string_view> items;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(') {
      ++depth;
    } else if (s[i] == ')' && depth > 0) {
      --depth;
    } else if (s[i] == separator && depth == 0) {
      items.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  items.push_back(s.substr(start));
  return items;
}

void AppendSplit(std::string_view s, char separator, std::vector<std::string>& out) {
  for (std::string_view item : SplitOutsideBrackets(s, separator)) {
    item = Trim(item);
    if (!item.empty()) out.emplace_back(item);
  }
}

bool HasNonAscii(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// "text(tag,tag)(K1;K2)": a group of Japanese text restricts a reading to those
// spellings; any other group is a list of tags.
EdictHeadword ParseHeadword(std::string_view item) {
  EdictHeadword word;
  const std::size_t open = item.find('(');
  word.text = std::string(Trim(item.substr(0, open)));
  std::size_t pos = open;
  while (pos != std::string_view::npos && pos < item.size()) {
    const std::size_t close = item.find(')', pos);
    const std::string_view group = item.substr(pos + 1, close == std::string_view::npos ? std::string_view::npos : close - pos - 1);
    if (HasNonAscii(group)) {
      AppendSplit(group, ';', word.onlyFor);
    } else {
      AppendSplit(group, ',', word.tags);
    }
    if (close == std::string_view::npos) break;
    pos = item.find('(', close);
  }
  return word;
}

std::vector<EdictHeadword> ParseHeadwords(std::string_view part) {
  std::vector<EdictHeadword> words;
  for (std::string_view item : SplitOutsideBrackets(part, ';')) {
    item = Trim(item);
    if (item.empty()) continue;
    EdictHeadword word = ParseHeadword(item);
    if (!word.text.empty()) words.push_back(std::move(word));
  }
  return words;
}

std::vector<std::string> ParseLeadingTags(std::string_view field) {
  std::vector<std::string> tags;
  field = Trim(field);
  while (!field.empty() && field.front() == '(') {
    const std::size_t close = field.find(')');
    if (close == std::string_view::npos) break;
    AppendSplit(field.substr(1, close - 1), ',', tags);
    field = Trim(field.substr(close + 1));
  }
  return tags;
}

}  // namespace

bool EdictHeadword::HasTag(std::string_view tag) const {
  return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

bool EdictLine::HasLeadingTag(std::string_view tag) const {
  return std::find(leadingTags.begin(), leadingTags.end(), tag) != leadingTags.end();
}

std::optional<EdictLine> ParseEdictLine(std::string_view utf8) {
  const std::size_t slash = utf8.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view header = Trim(utf8.substr(0, slash));
  if (header.empty()) return std::nullopt;

  EdictLine line;
  const std::size_t open = header.find('[');
  if (open == std::string_view::npos) {
    line.readings = ParseHeadwords(header);
  } else {
    const std::size_t close = header.rfind(']');
    line.spellings = ParseHeadwords(header.substr(0, open));
    const std::size_t readingsEnd = close == std::string_view::npos || close < open ? header.size() : close;
    line.readings = ParseHeadwords(header.substr(open + 1, readingsEnd - open - 1));
  }

  std::string_view glosses = utf8.substr(slash + 1);
  bool first = true;
  while (!glosses.empty()) {
    const std::size_t end = glosses.find('/');
    const std::string_view field = glosses.substr(0, end);
    if (first) {
      line.leadingTags = ParseLeadingTags(field);
      first = false;
    }
    if (Trim(field) == "(P)") line.common = true;
    if (end == std::string_view::npos) break;
    glosses.remove_prefix(end + 1);
  }
  return line;
}

}  // namespace renkomi
