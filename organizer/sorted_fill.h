// Puts the dictionary's words into reading order for the organizer's table, in
// O(n log n) through the collator's sort keys. (The plain quadratic scan it
// replaces lives with the tests and the benchmark, which check and time this
// against it.) Qt Core only: no windows here.
#pragma once

#include <functional>
#include <vector>

#include <QCollator>

#include "word_list.h"

namespace renkomi::organizer {

// The reading order: the user's locale collation with letter case ignored.
QCollator ReadingCollator();

struct SortedWords {
  std::vector<WordPair> rows;  // in reading order
};

// Receives the progress in percent; values above 100 can come (they stand for
// "done") and the gauge clamps them.
using ProgressFn = std::function<void(int percent)>;

// Moves every COMP pair out into reading order and leaves COMP empty. Readings
// that collate equal are ordered by their bytes, so that identical readings
// stand together, and identical readings keep their COMP order.
// Progress: 10 once sorted, then in tenths as the rows go into place, then 100.
// O(n log n), through the collator's sort keys.
SortedWords FillSorted(WordListPair& comp, const QCollator& collator, const ProgressFn& progress);

}  // namespace renkomi::organizer
