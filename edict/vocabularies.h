// Choosing each generated dictionary's words: the shared dictionary's common
// words, with the fewest further words that leave the computer no kanji it cannot
// answer; the large dictionary's every word; the school dictionary's common words
// of the kanji taught in elementary school.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "edict_source.h"
#include "reading_choice.h"
#include "school_kanji.h"
#include "word_costs.h"

namespace renkomi {

// Every word of the source with the reading it is given, chosen once.
class ChosenReadings {
 public:
  ChosenReadings(const EdictWords& source, const WordCosts& costs);

  std::size_t Size() const { return chosen_.size(); }
  const SourceWord& Word(std::size_t i) const { return source_.Words()[i]; }
  const std::string& Yomi(std::size_t i) const { return Word(i).readings[chosen_[i]].yomi; }
  // How common the word is, by its chosen reading.
  const ReadingRank& Rank(std::size_t i) const { return ranks_[i]; }

 private:
  const EdictWords& source_;
  std::vector<std::size_t> chosen_;
  std::vector<ReadingRank> ranks_;
};

// Words as indexes of ChosenReadings, in the order they are written.
using WordSelection = std::vector<std::size_t>;

// Every word, in the source's order.
WordSelection LargeWords(const ChosenReadings& chosen);
// The words with a pair marked common, in the source's order.
WordSelection CommonWords(const ChosenReadings& chosen);
// CommonWords, then the words that DeadEndStarters adds.
WordSelection SharedWords(const ChosenReadings& chosen);
// The CommonWords whose every kanji is taught in elementary school.
WordSelection SchoolWords(const ChosenReadings& chosen, const SchoolKanji& school);

// For each kanji that ends a word of `words` but starts none, the most common
// word of the source that starts with it, where the source has one; a word that
// would itself end in such a kanji comes after one that would not, so that each
// addition closes a dead end without opening another where it can. Repeated
// until no dead end that the source can close is left.
WordSelection DeadEndStarters(const ChosenReadings& chosen, const WordSelection& words);

// The dictionary files' lines for `words`.
struct Pairs {
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
};
Pairs PairsOf(const ChosenReadings& chosen, const WordSelection& words);

}  // namespace renkomi
