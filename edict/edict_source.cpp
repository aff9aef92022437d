#include "edict_source.h"

#include <algorithm>
#include <array>
#include <utility>

#include "japanese_text.h"

namespace renkomi {

namespace {

// Spelling and reading tags that mark a form the player would not type: irregular
// or outdated kanji and kana, irregular okurigana. Phonetic kanji (ateji) stay:
// 真面目 まじめ, 寿司 すし and 試合 しあい are how everyone writes those words.
constexpr std::array<std::string_view, 5> kSkippedTags = {"iK", "oK", "ik", "ok", "io"};
// Tags of the first sense that say a reader meets the word so seldom that another
// reading, when there is one, comes first.
constexpr std::array<std::string_view, 4> kDatedTags = {"arch", "obs", "obsc", "rare"};
constexpr std::string_view kCommonTag = "P";
// The tag that earlier versions skipped as well.
constexpr std::array<std::string_view, 1> kAtejiTag = {"ateji"};

template <std::size_t N>
bool HasAnyOf(const std::vector<std::string>& tags, const std::array<std::string_view, N>& wanted) {
  return std::any_of(tags.begin(), tags.end(), [&wanted](const std::string& tag) {
    return std::find(wanted.begin(), wanted.end(), tag) != wanted.end();
  });
}

bool AnyCommon(const std::vector<EdictHeadword>& words) {
  return std::any_of(words.begin(), words.end(), [](const EdictHeadword& w) { return w.HasTag(kCommonTag); });
}

}  // namespace

void EdictWords::AddLine(std::string_view utf8) {
  ++lines_;
  if (const std::optional<EdictLine> line = ParseEdictLine(utf8)) Add(*line);
}

// The EDICT layout has one pair a line and marks a common one with a "(P)" field;
// EDICT2 also marks which of several spellings and readings are the common ones,
// and a pair is common when both of its halves are (or are not told apart).
void EdictWords::Add(const EdictLine& line) {
  if (HasAnyOf(line.leadingTags, kSkippedTags)) return;
  const bool spellingsMarked = AnyCommon(line.spellings);
  const bool readingsMarked = AnyCommon(line.readings);
  const bool lineCommon = line.common || spellingsMarked || readingsMarked;
  const bool dated = HasAnyOf(line.leadingTags, kDatedTags);
  const bool lineAteji = HasAnyOf(line.leadingTags, kAtejiTag);
  for (const EdictHeadword& spelling : line.spellings) {
    if (HasAnyOf(spelling.tags, kSkippedTags)) continue;
    const std::string jukugo = JukugoFor(spelling.text);
    if (jukugo.empty()) continue;
    for (const EdictHeadword& reading : line.readings) {
      if (HasAnyOf(reading.tags, kSkippedTags)) continue;
      if (!reading.onlyFor.empty() &&
          std::find(reading.onlyFor.begin(), reading.onlyFor.end(), spelling.text) == reading.onlyFor.end()) {
        continue;
      }
      std::string yomi = YomiFor(reading.text);
      if (yomi.empty()) continue;
      const bool common = lineCommon && (!spellingsMarked || spelling.HasTag(kCommonTag)) &&
                          (!readingsMarked || reading.HasTag(kCommonTag));
      const bool ateji = lineAteji || HasAnyOf(spelling.tags, kAtejiTag) || HasAnyOf(reading.tags, kAtejiTag);
      Add(jukugo, std::move(yomi), common, dated, !ateji);
    }
  }
}

void EdictWords::Add(std::string jukugo, std::string yomi, bool common, bool dated, bool writtenEarlier) {
  auto [at, added] = index_.try_emplace(jukugo, words_.size());
  if (added) {
    words_.emplace_back();
    words_.back().jukugo = std::move(jukugo);
  }
  SourceWord& word = words_[at->second];
  if (writtenEarlier && word.firstYomi.empty()) word.firstYomi = yomi;
  if (writtenEarlier && common && word.firstCommonYomi.empty()) word.firstCommonYomi = yomi;
  word.common = word.common || common;
  const auto same = std::find_if(word.readings.begin(), word.readings.end(),
                                 [&yomi](const SourceReading& r) { return r.yomi == yomi; });
  if (same == word.readings.end()) {
    word.readings.push_back({std::move(yomi), common, dated});
  } else {
    // One line that gives the pair as common, or without a dated tag, is enough.
    same->common = same->common || common;
    same->dated = same->dated && dated;
  }
}

void EdictWords::AddFile(const std::filesystem::path& path, const ReadProgress& progress) {
  EucJpDecoder decoder;
  std::string utf8;
  ReadLines(path, progress, [&](std::string_view raw) {
    if (decoder.Decode(raw, utf8)) {
      AddLine(utf8);
    } else {
      ++lines_;
      ++undecodable_;
    }
  });
}

const SourceWord* EdictWords::Find(const std::string& jukugo) const {
  const auto at = index_.find(jukugo);
  return at == index_.end() ? nullptr : &words_[at->second];
}

}  // namespace renkomi
