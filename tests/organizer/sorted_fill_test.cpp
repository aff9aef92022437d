// The quick reading order against the plain scan it replaces, and the rules that
// both must keep: identical readings together in dictionary order, readings that
// only collate equal kept apart by their bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <QCollator>
#include <QLocale>

#include "cp932.h"
#include "organizer_test_support.h"
#include "scan_fill.h"
#include "sorted_fill.h"

namespace renkomi::organizer {
namespace {

using testing::PrintTo;
using testing::RowName;
using testing::Sj;

QCollator CaseInsensitive(const QLocale& locale) {
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return collator;
}

QString Text(const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)); }

// Pieces of readings that a case-insensitive collation cannot tell apart from
// one another, yet are different bytes; the two last are bytes CP932 cannot
// decode, both shown as U+FFFD.
const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = [] {
    std::vector<std::string> p;
    for (const char* utf8 : {"かっこ", "かつこ", "あ", "ア", "ｱ", "ぁ", "ＡＢＣ", "ａｂｃ", "Ａｂｃ",
                             "abc", "ABC", "は", "ば", "ぱ", "ー", "きゃく", "きやく", "ん", "日"})
      p.push_back(Sj(utf8));
    p.push_back("\x82");
    p.push_back("\xFF");
    return p;
  }();
  return pieces;
}

// A dictionary of `size` words whose readings repeat often, some of them empty,
// and whose jukugo name their COMP index so that order among equals shows.
WordListPair RandomDictionary(unsigned seed, std::size_t size) {
  std::mt19937 random(seed);
  const auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  WordListPair comp;
  std::vector<std::string> readings;
  for (std::size_t i = 0; i < size; ++i) {
    std::string reading;
    if (!readings.empty() && below(3) == 0) {
      reading = readings[below(readings.size())];  // an identical reading again
    } else {
      const std::size_t parts = below(4);  // 0: the empty reading
      for (std::size_t k = 0; k < parts; ++k) reading += Pieces()[below(Pieces().size())];
    }
    readings.push_back(reading);
    comp.Append(below(20) == 0 ? std::string() : "J" + std::to_string(i), reading);
  }
  return comp;
}

struct FillCase {
  const char* name;
  QLocale locale;
  unsigned seed;
  std::size_t size;
};

class SameRowsAsScan : public ::testing::TestWithParam<FillCase> {};

TEST_P(SameRowsAsScan, QuickFillGivesTheScansRowsAndProgress) {
  const FillCase& c = GetParam();
  const QCollator collator = CaseInsensitive(c.locale);
  const WordListPair original = RandomDictionary(c.seed, c.size);

  WordListPair quickComp = original, scanComp = original;
  std::vector<int> quickProgress, scanProgress;
  const SortedWords quick =
      FillSorted(quickComp, collator, [&](int p) { quickProgress.push_back(p); });
  const SortedWords scan =
      FillSortedByScan(scanComp, collator, [&](int p) { scanProgress.push_back(p); });

  EXPECT_EQ(quick.rows, scan.rows);
  EXPECT_EQ(quickProgress, scanProgress);
  EXPECT_EQ(quickComp.jukugo().Count(), 0u);
  EXPECT_EQ(quickComp.yomi().Count(), 0u);

  // Whatever both agree on must still be a reading order of the same words.
  ASSERT_EQ(quick.rows.size(), c.size);
  std::multiset<std::pair<std::string, std::string>> before, after;
  for (std::size_t i = 0; i < c.size; ++i) before.emplace(original.jukugo().Entries()[i], original.yomi().Entries()[i]);
  for (const WordPair& row : quick.rows) after.emplace(row.jukugo, row.yomi);
  EXPECT_EQ(before, after);
  std::map<std::string, std::size_t> lastRowOfReading;
  for (std::size_t i = 1; i < quick.rows.size(); ++i) {
    const std::string& previous = quick.rows[i - 1].yomi;
    const std::string& current = quick.rows[i].yomi;
    EXPECT_LE(collator.compare(Text(previous), Text(current)), 0) << "row " << i;
  }
  for (std::size_t i = 0; i < quick.rows.size(); ++i) {
    const std::string& reading = quick.rows[i].yomi;
    const auto seen = lastRowOfReading.find(reading);
    if (seen != lastRowOfReading.end()) {
      EXPECT_EQ(seen->second, i - 1) << "identical readings apart at row " << i;
    }
    lastRowOfReading[reading] = i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    RandomDictionaries, SameRowsAsScan,
    ::testing::Values(FillCase{"Japanese_Empty", QLocale(QLocale::Japanese, QLocale::Japan), 1, 0},
                      FillCase{"Japanese_One", QLocale(QLocale::Japanese, QLocale::Japan), 2, 1},
                      FillCase{"Japanese_Small", QLocale(QLocale::Japanese, QLocale::Japan), 3, 17},
                      FillCase{"Japanese_300a", QLocale(QLocale::Japanese, QLocale::Japan), 4, 300},
                      FillCase{"Japanese_300b", QLocale(QLocale::Japanese, QLocale::Japan), 5, 300},
                      FillCase{"Japanese_2000", QLocale(QLocale::Japanese, QLocale::Japan), 6, 2000},
                      FillCase{"English_300", QLocale(QLocale::English, QLocale::UnitedStates), 7, 300},
                      FillCase{"CLocale_300", QLocale::c(), 8, 300}),
    RowName);

// Lists of readings as given in dictionary order, and the order of the rows.
WordListPair Dictionary(const std::vector<std::pair<std::string, std::string>>& utf8) {
  WordListPair comp;
  for (const auto& [jukugo, yomi] : utf8) comp.Append(Sj(jukugo), Sj(yomi));
  return comp;
}

std::vector<std::string> Jukugo(const SortedWords& sorted) {
  std::vector<std::string> jukugo;
  for (const WordPair& row : sorted.rows) jukugo.push_back(Cp932ToUtf8(row.jukugo));
  return jukugo;
}

TEST(ReadingOrder, JapaneseCollationIgnoresCaseAndKeepsLookalikesApartByBytes) {
  const QCollator collator = CaseInsensitive(QLocale(QLocale::Japanese, QLocale::Japan));
  WordListPair comp = Dictionary({{"1", "はしご"}, {"2", "ぱし"}, {"3", "abc"}, {"4", "かっこ"},
                                  {"5", "きやく"}, {"6", "あーと"}, {"7", "ばし"}, {"8", "ABC"},
                                  {"9", "かこ"}, {"10", "あい"}, {"11", "はし"}, {"12", "きゃく"},
                                  {"13", "あ"}});
  const SortedWords sorted = FillSorted(comp, collator, {});
  EXPECT_EQ(Jukugo(sorted), (std::vector<std::string>{"8", "3", "13", "6", "10", "9", "4", "12",
                                                      "5", "11", "7", "2", "1"}));
}

struct ProgressCase {
  const char* name;
  int words;
  int lastTenth;  // the last figure before the closing 100
};

class ProgressSteps : public ::testing::TestWithParam<ProgressCase> {};

// Every value the fill gives the gauge, in order: 10 once sorted, then a tenth
// more at every step-th row from 10 on, then 100.
TEST_P(ProgressSteps, FollowTheRowsInTenths) {
  WordListPair comp;
  for (int i = 0; i < GetParam().words; ++i) comp.Append(Sj("語" + std::to_string(i)), Sj("よみ" + std::to_string(i)));
  std::vector<int> values;
  FillSorted(comp, CaseInsensitive(QLocale(QLocale::Japanese, QLocale::Japan)),
             [&](int percent) { values.push_back(percent); });
  std::vector<int> expected{10};
  for (int tenth = 10; tenth <= GetParam().lastTenth; tenth += 10) expected.push_back(tenth);
  expected.push_back(100);
  EXPECT_EQ(values, expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgressSteps,
                         ::testing::Values(ProgressCase{"Five", 5, 50},
                                           // step 1: the figures run past 100, the gauge stops there
                                           ProgressCase{"Twelve", 12, 120},
                                           // step 11: rows 0, 11, ..., 99
                                           ProgressCase{"Hundred", 100, 100},
                                           // step 10: rows 0, 10, ..., 80; a step of a tenth (9) would show 100
                                           // while a tenth of the rows is still to come
                                           ProgressCase{"Ninety", 90, 90},
                                           // step 2: nine figures; a step of 1 would run to 180
                                           ProgressCase{"Eighteen", 18, 90}),
                         RowName);

}  // namespace
}  // namespace renkomi::organizer
