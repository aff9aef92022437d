// Puts the dictionary's words into reading order for the organizer's table, in
// O(n log n) through the collator's sort keys. (The plain quadratic scan it
// replaces lives with the tests and the benchmark, which check and time this
// against it.) Qt Core only: no windows here.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
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

// Rows are shown in tenths: every step-th row advances the gauge.
std::size_t ProgressStep(std::size_t wordCount);

// Moves every COMP pair out into reading order and leaves COMP empty. Readings
// that collate equal are ordered by their bytes, so that identical readings
// stand together, and identical readings keep their COMP order.
// Progress: 10 once sorted, then (i / step) * 10 + 10 at every step-th row i,
// then 100. O(n log n), through the collator's sort keys.
SortedWords FillSorted(WordListPair& comp, const QCollator& collator, const ProgressFn& progress);

// The parts every fill shares: the tie-break, and the progress in tenths
// described above.
// Byte order, each byte unsigned: between readings that collate equal.
int CompareBytes(const std::string& a, const std::string& b);
class FillProgress {
 public:
  FillProgress(const ProgressFn& report, std::size_t wordCount)
      : report_(report), step_(ProgressStep(wordCount)) {}
  void Sorted() const { Report(10); }
  void Row(std::size_t i) const {
    if (i % step_ == 0) Report(static_cast<int>(i / step_) * 10 + 10);
  }
  void Done() const { Report(100); }

 private:
  void Report(int percent) const {
    if (report_) report_(percent);
  }
  const ProgressFn& report_;
  std::size_t step_;
};

}  // namespace renkomi::organizer
