#include "scan_fill.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <QString>

#include "cp932.h"
#include "fill_parts.h"

namespace renkomi::organizer {

SortedWords FillSortedByScan(WordListPair& comp, const QCollator& collator,
                             const ProgressFn& progress) {
  const std::size_t n = comp.Count();
  const FillProgress gauge(progress, n);

  struct Entry {
    std::string bytes;
    QString text;
  };
  const auto before = [&](const Entry& a, const Entry& b) {
    if (const int c = collator.compare(a.text, b.text); c != 0) return c < 0;
    return CompareBytes(a.bytes, b.bytes) < 0;
  };
  std::vector<Entry> sortBuffer;
  sortBuffer.reserve(n);
  for (const std::string& reading : comp.yomi().Entries()) {
    Entry entry{reading, QString::fromStdString(Cp932ToUtf8(reading))};
    const auto at = std::upper_bound(sortBuffer.begin(), sortBuffer.end(), entry, before);
    sortBuffer.insert(at, std::move(entry));
  }
  gauge.Sorted();

  SortedWords sorted;
  for (std::size_t i = 0; i < n; ++i) {
    gauge.Row(i);
    const auto& readings = comp.yomi().Entries();
    for (std::size_t j = 0; j < readings.size(); ++j) {
      if (readings[j] != sortBuffer[i].bytes) continue;
      const auto index = static_cast<long long>(j);
      sorted.rows.push_back(comp.Get(index));
      comp.Delete(index);
      break;
    }
  }
  sortBuffer.clear();
  gauge.Done();
  return sorted;
}

}  // namespace renkomi::organizer
