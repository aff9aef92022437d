// The reading order the slow way, as the organizer first filled its table: the
// readings are inserted one by one into a sorted buffer, then for each buffer
// entry COMP is scanned from the start for the first byte-equal reading, which is
// taken out. Quadratic; the same rows and progress as FillSorted. No part of the
// game: the yardstick its quick fill is checked (tests) and timed (bench) against.
#pragma once

#include <QCollator>

#include "sorted_fill.h"

namespace renkomi::organizer {

SortedWords FillSortedByScan(WordListPair& comp, const QCollator& collator, const ProgressFn& progress);

}  // namespace renkomi::organizer
