#include "word_costs.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <vector>

#include "errors.h"
#include "japanese_text.h"

namespace renkomi {

namespace {

namespace fs = std::filesystem;

// Every proper noun after every other word: costs stay far below this.
constexpr std::int64_t kProperNounRank = 1'000'000;
constexpr std::string_view kProperNoun = "固有名詞";

// Fields of a list's line: surface, left and right context, cost, four parts of
// speech, two conjugation fields, base form, reading, pronunciation.
constexpr std::size_t kCostField = 3;
constexpr std::size_t kSubclassField = 5;
constexpr std::size_t kReadingField = 11;

// True when the line starts with two or more EUC-JP kanji (JIS rows 16 to 84)
// and a comma: the only lines that can name a jukugo, told apart before the
// line is decoded, since most lines of the lists are not.
bool StartsWithKanjiWord(std::string_view line) {
  std::size_t i = 0;
  while (i + 1 < line.size()) {
    const auto lead = static_cast<unsigned char>(line[i]);
    const auto trail = static_cast<unsigned char>(line[i + 1]);
    if (lead < 0xB0 || lead > 0xF4 || trail < 0xA1 || trail > 0xFE) break;
    i += 2;
  }
  return i >= 4 && i < line.size() && line[i] == ',';
}

std::string Key(std::string_view jukugo, std::string_view yomi) {
  std::string key(jukugo);
  key += '\0';
  key += yomi;
  return key;
}

}  // namespace

void WordCosts::AddLine(std::string_view eucJp) {
  if (!StartsWithKanjiWord(eucJp) || !decoder_.Decode(eucJp, utf8_)) return;
  std::vector<std::string_view> fields;
  std::string_view rest = utf8_;
  for (std::size_t comma; (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1)) {
    fields.push_back(rest.substr(0, comma));
  }
  fields.push_back(rest);
  if (fields.size() <= kReadingField) return;
  std::int64_t cost = 0;
  const std::string_view costText = fields[kCostField];
  if (std::from_chars(costText.data(), costText.data() + costText.size(), cost).ec != std::errc()) return;
  const std::string jukugo = JukugoFor(fields[0]);
  const std::string yomi = YomiFor(fields[kReadingField]);
  if (jukugo.empty() || yomi.empty()) return;
  if (fields[kSubclassField] == kProperNoun) cost += kProperNounRank;
  auto [at, added] = costs_.try_emplace(Key(jukugo, yomi), cost);
  if (!added) at->second = std::min(at->second, cost);
}

std::optional<std::int64_t> WordCosts::Cost(std::string_view jukugo, std::string_view yomi) const {
  const auto at = costs_.find(Key(jukugo, yomi));
  if (at == costs_.end()) return std::nullopt;
  return at->second;
}

std::vector<fs::path> WordCosts::Lists(const fs::path& folder) {
  std::vector<fs::path> lists;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == ".csv") lists.push_back(it->path());
  }
  if (ec) throw ReadFileError(folder.string(), SystemReason(ec.value()));
  std::sort(lists.begin(), lists.end());
  return lists;
}

void WordCosts::AddFolder(const fs::path& folder, const ReadProgress& progress) {
  const std::vector<fs::path> lists = Lists(folder);
  std::uintmax_t total = 0;
  std::vector<std::uintmax_t> sizes;
  for (const fs::path& list : lists) {
    std::error_code noSize;
    sizes.push_back(fs::file_size(list, noSize));
    if (noSize) sizes.back() = 0;
    total += sizes.back();
  }
  std::uintmax_t before = 0;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    ReadProgress within;
    if (progress) within = [&](std::uintmax_t done, std::uintmax_t) { progress(before + done, total); };
    ReadLines(lists[i], within, [this](std::string_view raw) { AddLine(raw); });
    before += sizes[i];
  }
}

}  // namespace renkomi
