#include "outside_changes.h"

#include <gtest/gtest.h>

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

std::string Text(const PairLines& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.jukugo.size(); ++i)
    text += (i == 0 ? "" : " ") + lines.jukugo[i] + ':' + (i < lines.yomi.size() ? lines.yomi[i] : "?");
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
  EXPECT_EQ(Text(*merged), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MergeTest,
    testing::Values(
        MergeRow{"NothingChangedOutside", "A:a B:b C:c", "A:a B:b C:c", "B:b C:c A:a T:t", "B:b C:c A:a T:t"},
        MergeRow{"AppendedOutsideGoesToTheEnd", "A:a B:b C:c", "A:a B:b C:c X:x Y:y", "A:a B:b C:c T:t",
                 "A:a B:b C:c T:t X:x Y:y"},
        MergeRow{"InsertedOutsideFollowsItsLine", "A:a B:b C:c", "A:a X:x B:b C:c", "B:b C:c A:a",
                 "B:b C:c A:a X:x"},
        MergeRow{"InsertedOutsideKeepsTheOrganizersOrder", "C:c A:a D:d", "C:c A:a B:b D:d", "A:a C:c D:d",
                 "A:a B:b C:c D:d"},
        MergeRow{"InsertedOutsideAtTheStart", "A:a B:b", "X:x A:a B:b", "B:b A:a", "X:x B:b A:a"},
        MergeRow{"DeletedOutsideStaysDeleted", "A:a B:b C:c", "A:a C:c", "C:c A:a B:b", "C:c A:a"},
        MergeRow{"DeletedOnBothSides", "A:a B:b C:c", "A:a C:c", "A:a C:c", "A:a C:c"},
        MergeRow{"ReadingChangedOutside", "A:a B:b", "A:z B:b", "A:a B:b T:t", "A:z B:b T:t"},
        MergeRow{"LastLineChangedOutsideStaysInPlace", "A:a B:b", "A:a B:z", "A:a B:b T:t", "A:a B:z T:t"},
        MergeRow{"LastLineDeletedAndOneAppendedOutside", "A:a B:b", "A:a X:x", "B:b A:a T:t", "A:a X:x T:t"},
        MergeRow{"ChangedOutsideWhatTheGameDeleted", "A:a B:b", "A:a B:z", "A:a", "A:a B:z"},
        MergeRow{"AddedOnBothSidesIsKeptOnce", "A:a", "A:a T:t", "A:a T:t", "A:a T:t"},
        MergeRow{"OneOfTwoEqualPairsDeletedOutside", "A:a A:a B:b", "A:a B:b", "A:a A:a B:b", "A:a B:b"},
        MergeRow{"EveryLineDeletedOutside", "A:a B:b", "", "B:b A:a T:t", "T:t"},
        MergeRow{"EmptyReadingsAreWords", "A: B:b", "A: B:b X:", "B:b A:", "B:b A: X:"}),
    [](const testing::TestParamInfo<MergeRow>& info) { return std::string(info.param.name); });

// An uneven edit: no line can be trusted, so nothing is merged into it.
TEST(MergeOutsideChangesTest, UnevenFilesGiveNothing) {
  PairLines disk = P("A:a B:b X:x");
  disk.yomi.pop_back();
  EXPECT_FALSE(MergeOutsideChanges(P("A:a B:b"), disk, P("A:a B:b T:t")).has_value());
}

}  // namespace
}  // namespace renkomi
