// Choosing the one reading a generated dictionary gives a jukugo: the reading a
// Japanese reader gives it first. edict lists readings in kana order, so its
// first one is often a dated or learned reading (眼鏡 がんきょう before めがね);
// its common mark and the analyser's word costs decide instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

#include "edict_source.h"
#include "word_costs.h"

namespace renkomi {

// How readily a reader meets a reading; the smaller comes first. In order: a
// reading marked common, one not marked dated, one the analyser knows, the lower
// cost, and last the source's order.
using ReadingRank = std::tuple<bool, bool, bool, std::int64_t, std::size_t>;

ReadingRank RankOf(const SourceWord& word, std::size_t reading, const WordCosts& costs);

// The index in word.readings of the reading the word is given. Without costs
// (mecab-ipadic not installed) the common mark and the dated tags decide alone,
// then the source's order.
std::size_t ChooseReading(const SourceWord& word, const WordCosts& costs);

// The reading an earlier generation wrote for the word, when the word was in the
// dictionary; empty when it was not.
enum class EarlierRule {
  kFirstReading,        // versions before the readings were chosen: the source's first
  kFirstCommonReading,  // the same for the shared dictionary: the first marked common
  kWithoutCosts,        // this rule, made while mecab-ipadic was not installed
};
std::string EarlierReading(const SourceWord& word, EarlierRule rule);

}  // namespace renkomi
