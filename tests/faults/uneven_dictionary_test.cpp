// A dictionary whose two files have different line counts, as a hand-edited pair
// may: the game loads it, plays on it, teaches, organizes and closes, and every
// read beyond the shorter list is an error in the error dialog, never the end of
// the program.
#include <gtest/gtest.h>

#include <ostream>

#include "fault_support.h"

namespace renkomi::faults {
namespace {

// The robot answers a computer's word with its last kanji and 来, so the words
// starting with 来 are put where only the longer file reaches.
const std::vector<std::string> kJukugo{"日本", "本日", "本当", "当日", "入口", "来日", "来年", "本来"};
const std::vector<std::string> kYomi{"にほん", "ほんじつ", "ほんとう", "とうじつ", "いりぐち", "らいにち", "らいねん", "ほんらい"};
const std::string kIndexError = "リストのインデックスが範囲を超えています (";

struct UnevenRow {
  const char* name;
  std::size_t jukugoLines;
  std::size_t yomiLines;
  bool readsBeyond;  // the opening draw and the replies can reach past the readings
};

void PrintTo(const UnevenRow& row, std::ostream* out) { *out << row.name; }

class UnevenDictionaryTest : public ::testing::TestWithParam<UnevenRow> {};

std::string Lines(const std::vector<std::string>& entries, std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += Cp932(entries[i]) + "\r\n";
  return bytes;
}

TEST_P(UnevenDictionaryTest, ShowsEveryErrorAndLivesOn) {
  const UnevenRow& row = GetParam();
  TempFolder temp;
  const fs::path folder = temp.Path() / "program";
  fs::create_directories(folder);
  WriteFile(folder / "renkomi.jdc", Lines(kJukugo, row.jukugoLines));
  WriteFile(folder / "renkomi.ydc", Lines(kYomi, row.yomiLines));

  PlayerProcess player({"uneven", folder.string()});
  ASSERT_TRUE(player.WaitFinished(90000)) << "still running\n" << player.Log();
  const std::string log = player.Log();
  // The program ended because its window was closed, and only then.
  ASSERT_EQ(player.Outcome(), "exit 0") << log;
  const std::vector<ReportLine> report = ParseReport(log);
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report.back().kind, "exit") << log;

  const std::vector<std::string> errors = Errors(report);
  for (const std::string& error : errors) {
    EXPECT_EQ(error.rfind(kIndexError, 0), 0u) << error;
  }

  int refusedOpenings = 0;
  for (int seed = 1; seed <= 12; ++seed) {
    const std::string label = " seed=" + std::to_string(seed);
    auto opened = StateAt(report, "opened" + label);
    ASSERT_FALSE(opened.empty()) << "seed " << seed << "\n" << log;
    if (opened["playing"] == "0") {
      // The opening word lay beyond the readings: no match, nothing shown, and
      // "はじめる" can be pressed again.
      ++refusedOpenings;
      EXPECT_EQ(opened["start"], "1") << "seed " << seed;
      EXPECT_EQ(opened["buttons"], "1") << "seed " << seed;
      EXPECT_EQ(opened["comp"], "") << "seed " << seed;
    }
    auto ended = StateAt(report, "ended" + label);
    EXPECT_EQ(ended["playing"], "0") << "seed " << seed << "\n" << log;
    EXPECT_EQ(ended["start"], "1") << "seed " << seed;
    EXPECT_EQ(ended["finish"], "1") << "seed " << seed;
    EXPECT_EQ(ended["teach"], "1") << "seed " << seed;
  }

  if (row.readsBeyond) {
    // Some draws and some replies really went past the end of the readings.
    EXPECT_GT(refusedOpenings, 0) << log;
    EXPECT_GT(static_cast<int>(errors.size()), refusedOpenings) << "no reply read beyond the readings\n" << log;
  } else {
    // Every read goes by a jukugo index, and the readings reach further.
    EXPECT_TRUE(errors.empty()) << log;
  }

  EXPECT_EQ(StateAt(report, "taught")["start"], "1") << log;
  auto organizer = StateAt(report, "organizer");
  EXPECT_EQ(organizer["organizer"], "1") << log;
  EXPECT_EQ(organizer["enabled"], "0") << "the main window waits while the organizer is open";
  auto closed = StateAt(report, "organizer-closed");
  EXPECT_EQ(closed["organizer"], "0") << log;
  EXPECT_EQ(closed["enabled"], "1");
  EXPECT_EQ(closed["start"], "1");

  // Closing saved the dictionary: both files are there, whole lines only.
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
  EXPECT_TRUE(CutStrictly(ReadFile(folder / "renkomi.jdc"), jukugo));
  EXPECT_TRUE(CutStrictly(ReadFile(folder / "renkomi.ydc"), yomi));
  EXPECT_FALSE(jukugo.empty());
  EXPECT_FALSE(yomi.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, UnevenDictionaryTest,
                         ::testing::Values(UnevenRow{"JukugoFileLonger", 8, 5, true},
                                           UnevenRow{"ReadingFileLonger", 5, 8, false}),
                         [](const ::testing::TestParamInfo<UnevenRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi::faults
