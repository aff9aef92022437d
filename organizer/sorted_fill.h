// Puts the dictionary's words into reading order for the organizer's table.
// Two ways to the same rows: FillSorted, which the organizer uses, and
// FillSortedByScan, the plain scan it replaces, kept as the yardstick that
// FillSorted is checked and timed against. Qt Core only: no windows here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include <QCollator>

#include "word_list.h"

namespace renkomi::organizer {

// The reading order: the user's locale collation with letter case ignored.
QCollator ReadingCollator();

struct SortedWords {
  std::vector<WordPair> rows;  // in reading order
  // Byte lengths of the longest jukugo and reading. The table has always kept
  // them in one byte: a longer length that beats the stored one leaves only its
  // low eight bits, so a word over 255 bytes may get too narrow a column.
  std::uint8_t longestJukugo = 0;
  std::uint8_t longestYomi = 0;
};

// Receives the progress in percent; values above 100 can come (they stand for
// "done") and the gauge clamps them.
using ProgressFn = std::function<void(int percent)>;

// Rows are shown in tenths: every step-th row advances the gauge.
std::size_t ProgressStep(std::size_t wordCount);

// Moves every COMP pair out into reading order and leaves COMP empty. Readings
// that collate equal are ordered by their bytes, so that identical readings
// stand together, and identical readings keep their COMP order. A reading or
// jukugo missing because the two lists differ in length counts as empty.
// Progress: 10 once sorted, then (i / step) * 10 + 10 at every step-th row i,
// then 100. O(n log n), through the collator's sort keys.
SortedWords FillSorted(WordListPair& comp, const QCollator& collator, const ProgressFn& progress);

// The same rows the slow way: the readings are inserted one by one into a
// sorted buffer, then for each buffer entry COMP is scanned from the start for
// the first byte-equal reading, which is taken out. Quadratic; same progress.
SortedWords FillSortedByScan(WordListPair& comp, const QCollator& collator,
                             const ProgressFn& progress);

}  // namespace renkomi::organizer
