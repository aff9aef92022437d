// What the organizer's fills share beyond their interface in sorted_fill.h: the
// tie-break between readings that collate equal, and the gauge's progress. The
// quick fill and the tests' plain scan both use them, so that the two can only
// differ in the order they find, never in how they break ties or report.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "sorted_fill.h"

namespace renkomi::organizer {

// Byte order, each byte taken unsigned: the tie-break between readings that
// collate equal but are not the same text.
inline int CompareBytes(const std::string& a, const std::string& b) { return a.compare(b); }

// The progress in tenths of the rows: 10 once the readings are sorted, then
// (i / step) * 10 + 10 at every step-th row i, then 100. The step is a ninth of
// the words, at least 1: nine figures from 10 to 90 for a large dictionary, while
// a small one's run past 100 and the gauge clamps them.
class FillProgress {
 public:
  FillProgress(const ProgressFn& report, std::size_t wordCount)
      : report_(report), step_(std::max<std::size_t>(wordCount / 9, 1)) {}
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
