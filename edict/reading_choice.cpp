#include "reading_choice.h"

#include <limits>
#include <optional>

namespace renkomi {

ReadingRank RankOf(const SourceWord& word, std::size_t reading, const WordCosts& costs) {
  const SourceReading& r = word.readings[reading];
  const std::optional<std::int64_t> cost = costs.Cost(word.jukugo, r.yomi);
  return {!r.common, r.dated, !cost.has_value(), cost.value_or(std::numeric_limits<std::int64_t>::max()), reading};
}

std::size_t ChooseReading(const SourceWord& word, const WordCosts& costs) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < word.readings.size(); ++i) {
    if (RankOf(word, i, costs) < RankOf(word, best, costs)) best = i;
  }
  return best;
}

std::string EarlierReading(const SourceWord& word, EarlierRule rule) {
  switch (rule) {
    case EarlierRule::kFirstReading:
      return word.firstYomi;
    case EarlierRule::kFirstCommonReading:
      return word.firstCommonYomi;
    case EarlierRule::kWithoutCosts: {
      static const WordCosts none;
      return word.readings[ChooseReading(word, none)].yomi;
    }
  }
  return {};
}

}  // namespace renkomi

