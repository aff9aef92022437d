#include "sorted_fill.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

#include <QLocale>
#include <QString>

#include "cp932.h"
#include "fill_parts.h"

namespace renkomi::organizer {
namespace {

QString ToText(const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); }

// Sort keys order strings as compare() does only where the collator really is
// ICU's; the C locale's keys are case-sensitive bytes while its compare() folds
// case, so there the strings are compared directly.
bool KeysMatchCompare(const QCollator& collator) {
  if (collator.locale().language() == QLocale::C) return false;
  // A collator that could not be opened gives every string the same key.
  return collator.sortKey(QStringLiteral("a")).compare(collator.sortKey(QStringLiteral("b"))) != 0;
}

}  // namespace

QCollator ReadingCollator() {
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return collator;
}

SortedWords FillSorted(WordListPair& comp, const QCollator& collator, const ProgressFn& progress) {
  const std::vector<std::string>& yomi = comp.yomi().Entries();
  const std::size_t n = yomi.size();
  const FillProgress gauge(progress, n);

  // The order of the readings as a permutation of COMP indices. The index is
  // the last tie-break, so identical readings keep their COMP order.
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (KeysMatchCompare(collator)) {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(n);
    for (const std::string& reading : yomi) keys.push_back(collator.sortKey(ToText(reading)));
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      // compare() puts the empty text first whatever its key says.
      const bool emptyA = yomi[a].empty(), emptyB = yomi[b].empty();
      if (emptyA != emptyB) return emptyA;
      if (!emptyA) {
        if (const int c = keys[a].compare(keys[b]); c != 0) return c < 0;
        if (const int c = CompareBytes(yomi[a], yomi[b]); c != 0) return c < 0;
      }
      return a < b;
    });
  } else {
    std::vector<QString> texts;
    texts.reserve(n);
    for (const std::string& reading : yomi) texts.push_back(ToText(reading));
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      if (const int c = collator.compare(texts[a], texts[b]); c != 0) return c < 0;
      if (const int c = CompareBytes(yomi[a], yomi[b]); c != 0) return c < 0;
      return a < b;
    });
  }
  gauge.Sorted();

  SortedWords sorted;
  sorted.rows.reserve(n);
  PairLines words = comp.Release();
  for (std::size_t i = 0; i < n; ++i) {
    gauge.Row(i);
    const std::size_t j = order[i];
    sorted.rows.push_back(WordPair{std::move(words.jukugo[j]), std::move(words.yomi[j])});
  }
  gauge.Done();
  return sorted;
}

}  // namespace renkomi::organizer
