#include "vocabularies.h"

#include <algorithm>
#include <map>
#include <set>
#include <iterator>
#include <tuple>

namespace renkomi {

namespace {

// A jukugo is two-byte kanji only (JukugoFor), so its ends are its first and last
// two bytes.
std::string FirstKanji(const std::string& jukugo) { return jukugo.substr(0, 2); }
std::string LastKanji(const std::string& jukugo) { return jukugo.substr(jukugo.size() - 2); }

}  // namespace

ChosenReadings::ChosenReadings(const EdictWords& source, const WordCosts& costs) : source_(source) {
  chosen_.reserve(source.Words().size());
  ranks_.reserve(source.Words().size());
  for (const SourceWord& word : source.Words()) {
    chosen_.push_back(ChooseReading(word, costs));
    ranks_.push_back(RankOf(word, chosen_.back(), costs));
  }
}

WordSelection LargeWords(const ChosenReadings& chosen) {
  WordSelection words(chosen.Size());
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = i;
  return words;
}

WordSelection CommonWords(const ChosenReadings& chosen) {
  WordSelection words;
  for (std::size_t i = 0; i < chosen.Size(); ++i) {
    if (chosen.Word(i).Common()) words.push_back(i);
  }
  return words;
}

WordSelection SharedWords(const ChosenReadings& chosen) {
  WordSelection words = CommonWords(chosen);
  const WordSelection starters = DeadEndStarters(chosen, words);
  words.insert(words.end(), starters.begin(), starters.end());
  return words;
}

WordSelection SchoolWords(const ChosenReadings& chosen, const SchoolKanji& school) {
  WordSelection words = CommonWords(chosen);
  std::erase_if(words, [&](std::size_t i) { return !school.Teaches(chosen.Word(i).jukugo); });
  return words;
}

WordSelection DeadEndStarters(const ChosenReadings& chosen, const WordSelection& words) {
  std::set<std::string> starts;
  std::set<std::string> ends;
  for (std::size_t i : words) {
    starts.insert(FirstKanji(chosen.Word(i).jukugo));
    ends.insert(LastKanji(chosen.Word(i).jukugo));
  }
  // Only the source's words that start a dead end can close it.
  std::map<std::string, WordSelection> startingWith;
  for (std::size_t i = 0; i < chosen.Size(); ++i) {
    const std::string first = FirstKanji(chosen.Word(i).jukugo);
    if (!starts.contains(first)) startingWith[first].push_back(i);
  }
  std::set<std::string> open;
  std::set_difference(ends.begin(), ends.end(), starts.begin(), starts.end(), std::inserter(open, open.end()));
  WordSelection added;
  while (!open.empty()) {
    const std::string kanji = *open.begin();
    open.erase(open.begin());
    const auto candidates = startingWith.find(kanji);
    if (candidates == startingWith.end()) continue;  // the source has no word to close it with
    const auto opensAnother = [&](std::size_t i) {
      const std::string last = LastKanji(chosen.Word(i).jukugo);
      return last != kanji && !starts.contains(last);
    };
    const auto key = [&](std::size_t i) {
      return std::tuple(std::get<0>(chosen.Rank(i)), opensAnother(i), chosen.Rank(i));
    };
    const std::size_t best = *std::min_element(candidates->second.begin(), candidates->second.end(),
                                                [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    added.push_back(best);
    starts.insert(kanji);
    const std::string last = LastKanji(chosen.Word(best).jukugo);
    if (!starts.contains(last)) open.insert(last);
  }
  return added;
}

Pairs PairsOf(const ChosenReadings& chosen, const WordSelection& words) {
  Pairs pairs;
  pairs.jukugo.reserve(words.size());
  pairs.yomi.reserve(words.size());
  for (std::size_t i : words) {
    pairs.jukugo.push_back(chosen.Word(i).jukugo);
    pairs.yomi.push_back(chosen.Yomi(i));
  }
  return pairs;
}

}  // namespace renkomi
