#include "outside_changes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

namespace renkomi {
namespace {

// Pairs written "jukugo:reading", separated by spaces; the texts are ASCII, since
// the merge only compares whole entries.
PairLines P(const std::string& text) {
  PairLines lines;
  std::istringstream in(text);
  for (std::string pair; in >> pair;) {
    const std::size_t colon = pair.find(':');
    lines.jukugo.push_back(pair.substr(0, colon));
    lines.yomi.push_back(colon == std::string::npos ? std::string() : pair.substr(colon + 1));
  }
  return lines;
}

std::vector<std::string> Pairs(const PairLines& lines) {
  std::vector<std::string> pairs;
  for (std::size_t i = 0; i < lines.jukugo.size(); ++i)
    pairs.push_back(lines.jukugo[i] + ':' + (i < lines.yomi.size() ? lines.yomi[i] : "?"));
  return pairs;
}
std::string Text(const std::vector<std::string>& pairs) {
  std::string text;
  for (const std::string& pair : pairs) text += (text.empty() ? "" : " ") + pair;
  return text;
}

struct MergeRow {
  const char* name;
  const char* base;      // the files as the game last read or wrote them
  const char* disk;      // the files now
  const char* mine;      // what the game is about to write
  const char* expected;  // what is written
};
void PrintTo(const MergeRow& row, std::ostream* out) { *out << row.name; }

class MergeTest : public testing::TestWithParam<MergeRow> {};

TEST_P(MergeTest, KeepsBothSidesChanges) {
  const std::optional<PairLines> merged = MergeOutsideChanges(P(GetParam().base), P(GetParam().disk), P(GetParam().mine));
  ASSERT_TRUE(merged.has_value());
  EXPECT_EQ(Text(Pairs(*merged)), GetParam().expected);
}

// What a player meets that the random edits below do not make: equal pairs,
// empty readings, the organizer's order around an insertion, the last line.
INSTANTIATE_TEST_SUITE_P(
    Rows, MergeTest,
    testing::Values(
        MergeRow{"InsertedOutsideKeepsTheOrganizersOrder", "C:c A:a D:d", "C:c A:a B:b D:d", "A:a C:c D:d",
                 "A:a B:b C:c D:d"},
        MergeRow{"LastLineChangedOutsideStaysInPlace", "A:a B:b", "A:a B:z", "A:a B:b T:t", "A:a B:z T:t"},
        MergeRow{"LastLineDeletedAndOneAppendedOutside", "A:a B:b", "A:a X:x", "B:b A:a T:t", "A:a X:x T:t"},
        MergeRow{"OneOfTwoEqualPairsDeletedOutside", "A:a A:a B:b", "A:a B:b", "A:a A:a B:b", "A:a B:b"},
        MergeRow{"TaughtAgainWhatWasDeletedOutside", "A:a B:b", "B:b", "A:a B:b A:a", "A:a B:b"},
        MergeRow{"EveryLineDeletedOutside", "A:a B:b", "", "B:b A:a T:t", "T:t"},
        MergeRow{"EmptyReadingsAreWords", "A: B:b", "A: B:b X:", "B:b A:", "B:b A: X:"}),
    [](const testing::TestParamInfo<MergeRow>& info) { return std::string(info.param.name); });

// An editor that puts back a copy of the reading file it read before the game
// taught T, then appends its own pair to both files.
TEST(MergeOutsideChangesTest, StaleCopyOfOneFileIsRealigned) {
  const PairLines disk{{"A", "B", "X"}, {"a", "b", "t", "x"}};
  const std::optional<PairLines> merged = MergeOutsideChanges(P("A:a B:b T:t"), disk, P("A:a B:b T:t"));
  ASSERT_TRUE(merged.has_value());
  EXPECT_EQ(Text(Pairs(*merged)), "A:a B:b T:t X:x");
}

// A line added to one file only: no line after it can be trusted.
TEST(MergeOutsideChangesTest, UnevenFilesGiveNothing) {
  PairLines disk = P("A:a B:b X:x");
  disk.yomi.pop_back();
  EXPECT_FALSE(MergeOutsideChanges(P("A:a B:b"), disk, P("A:a B:b T:t")).has_value());
}

// One random round: unique pairs, so that each one's fate is known. "B3:b3" is in
// the base, "T0:t" the game adds, "X3:x" the other program adds, "B3:z" is B3's
// reading changed outside.
struct RandomEdit {
  std::vector<std::string> base, disk, mine;
  std::vector<std::string> added;  // the other program's additions, in its order
  std::set<std::string> deleted;   // by either side
};
RandomEdit MakeEdit(std::mt19937& random, bool readingsChange) {
  const auto chance = [&random](unsigned percent) { return random() % 100 < percent; };
  RandomEdit e;
  for (unsigned i = 0, n = random() % 12; i < n; ++i) {
    const std::string pair = "B" + std::to_string(i) + ":b" + std::to_string(i);
    e.base.push_back(pair);
    if (chance(20)) e.deleted.insert(pair);
    else e.mine.push_back(pair);
    const unsigned outside = random() % 100;
    if (outside < 15) {
      e.deleted.insert(pair);
    } else if (readingsChange && outside < 25) {
      e.deleted.insert(pair);
      e.added.push_back("B" + std::to_string(i) + ":z");
      e.disk.push_back(e.added.back());
    } else {
      e.disk.push_back(pair);
    }
    if (chance(15)) {
      e.added.push_back("X" + std::to_string(i) + ":x");
      e.disk.push_back(e.added.back());
    }
  }
  for (unsigned t = 0, n = random() % 3; t < n; ++t) e.mine.push_back("T" + std::to_string(t) + ":t");
  if (!e.mine.empty() && e.mine.back()[0] == 'T' && chance(20)) e.disk.push_back(e.mine.back());  // added by both
  if (chance(30)) std::shuffle(e.mine.begin(), e.mine.end(), random);  // the organizer's order
  return e;
}

std::vector<std::string> Only(const std::vector<std::string>& pairs, const std::set<std::string>& wanted) {
  std::vector<std::string> only;
  std::copy_if(pairs.begin(), pairs.end(), std::back_inserter(only), [&](const auto& p) { return wanted.count(p); });
  return only;
}

// Random bases edited at random by both sides, against a plain account of what
// each did; a quarter of them with an editor's stale copy of one file besides.
TEST(MergeOutsideChangesTest, KeepsEverySidesChangeOnRandomEdits) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 5000; ++round) {
    const bool stale = round % 4 == 3;
    const RandomEdit e = MakeEdit(random, !stale);
    const std::set<std::string> known(e.base.begin(), e.base.end());
    PairLines disk = P(Text(e.disk));
    std::vector<long> knownAt;
    for (std::size_t d = 0; d < e.disk.size(); ++d)
      if (known.count(e.disk[d])) knownAt.push_back(static_cast<long>(d));
    if (stale && !knownAt.empty()) {
      const long at = knownAt[random() % knownAt.size()];
      auto& file = random() % 2 ? disk.jukugo : disk.yomi;
      file.erase(file.begin() + at);
    }
    SCOPED_TRACE("base " + Text(e.base) + " / disk " + Text(e.disk) + " / mine " + Text(e.mine));
    const std::optional<PairLines> merged = MergeOutsideChanges(P(Text(e.base)), disk, P(Text(e.mine)));
    // A line gone from one file with nothing added is a pair half deleted by hand.
    if (disk.jukugo.size() != disk.yomi.size() && knownAt.size() == e.disk.size()) {
      ASSERT_FALSE(merged.has_value());
      continue;
    }
    ASSERT_TRUE(merged.has_value());
    const std::vector<std::string> out = Pairs(*merged);

    // Whole pairs, each once: the game's words and the other program's additions,
    // less what either side deleted.
    std::set<std::string> expected(e.added.begin(), e.added.end()), mine, theirs;
    for (const std::string& m : e.mine)
      if (!e.deleted.count(m)) expected.insert(m), mine.insert(m);
    ASSERT_EQ(std::set<std::string>(out.begin(), out.end()), expected);
    ASSERT_EQ(out.size(), expected.size());
    // The game's order.
    ASSERT_EQ(Only(out, mine), Only(e.mine, mine));
    std::set_difference(expected.begin(), expected.end(), mine.begin(), mine.end(),
                        std::inserter(theirs, theirs.end()));
    // An addition follows the line it followed outside, or the game's every line
    // when it was appended after the file's old last line.
    const bool appendedAtEnd = e.base.empty() || std::count(e.disk.begin(), e.disk.end(), e.base.back());
    const auto pos = [&out](const std::string& p) { return std::find(out.begin(), out.end(), p) - out.begin(); };
    std::string anchor;
    for (std::size_t d = 0; d < e.disk.size(); ++d) {
      if (known.count(e.disk[d])) anchor = e.disk[d];
      if (!theirs.count(e.disk[d])) continue;
      if (mine.count(anchor)) {
        ASSERT_GT(pos(e.disk[d]), pos(anchor));
      }
      const bool appended = knownAt.empty() || static_cast<long>(d) > knownAt.back();
      for (const std::string& m : mine) {
        if (appended && appendedAtEnd) {
          ASSERT_GT(pos(e.disk[d]), pos(m));
        }
      }
    }
  }
}

}  // namespace
}  // namespace renkomi
