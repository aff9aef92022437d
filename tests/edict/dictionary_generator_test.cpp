// When the installed game makes its dictionaries on its first start, and what the
// player sees of the reading while it does.
#include "dictionary_generator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tools_test_support.h"

namespace renkomi {
namespace {

namespace fs = std::filesystem;
using test::Convert;
using test::TempFolder;
using test::WriteBytes;

struct FirstStartRow {
  const char* name;
  std::function<void(const fs::path& folder)> arrange;
  bool sourceThere;
  bool wanted;
};

void PrintTo(const FirstStartRow& row, std::ostream* os) { *os << row.name; }

class FirstStartTest : public ::testing::TestWithParam<FirstStartRow> {};

TEST_P(FirstStartTest, MakesTheDictionariesOnlyForAFolderWithoutTheSharedOne) {
  TempFolder folder;
  const fs::path source = folder.Path() / "edict";
  if (GetParam().sourceThere) WriteBytes(source, "");
  const fs::path program = folder.Path() / "program";
  fs::create_directory(program);
  GetParam().arrange(program);
  EXPECT_EQ(WantsFirstDictionaries(program, source), GetParam().wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FirstStartTest,
    ::testing::Values(
        FirstStartRow{"EmptyFolder", [](const fs::path&) {}, true, true},
        FirstStartRow{"OnlyOtherDictionaries",
                      [](const fs::path& f) { WriteBytes(f / "taro.jdc", ""); WriteBytes(f / "taro.ydc", ""); },
                      true, true},
        FirstStartRow{"SharedThere",
                      [](const fs::path& f) { WriteBytes(f / "renkomi.jdc", ""); WriteBytes(f / "renkomi.ydc", ""); },
                      true, false},
        FirstStartRow{"OnlyTheReadingsFileThere", [](const fs::path& f) { WriteBytes(f / "renkomi.ydc", ""); },
                      true, false},
        FirstStartRow{"DanglingLinkForTheSharedOne",
                      [](const fs::path& f) { fs::create_symlink(f / "gone", f / "renkomi.jdc"); }, true, false},
        FirstStartRow{"WithoutEdict", [](const fs::path&) {}, false, false}),
    [](const ::testing::TestParamInfo<FirstStartRow>& info) { return std::string(info.param.name); });

// The reading reports its way through the whole file, ending at its size, and the
// shared dictionary is written as the generator program writes it.
TEST(GenerationTest, ReportsTheReadingUpToTheWholeFile) {
  TempFolder folder;
  const fs::path source = folder.Path() / "edict";
  std::string lines;
  for (int i = 0; i < 5000; ++i) lines += "日本 [にほん] /(n) Japan/(P)/\n";
  WriteBytes(source, Convert(lines, "EUC-JP", "UTF-8"));
  std::vector<std::pair<std::uintmax_t, std::uintmax_t>> reports;
  const Generation done = GenerateMissingDictionaries(
      source, folder.Path(), [&](std::uintmax_t read, std::uintmax_t total) { reports.emplace_back(read, total); });
  const std::uintmax_t size = fs::file_size(source);
  ASSERT_GE(reports.size(), 2u);
  EXPECT_GT(reports.front().first, 0u);
  EXPECT_LT(reports.front().first, size);
  EXPECT_EQ(reports.back(), std::make_pair(size, size));
  EXPECT_EQ(done.sharedPairs, 1u);
  EXPECT_EQ(done.largeName, "大きな辞書1語");
  EXPECT_TRUE(fs::exists(folder.Path() / "renkomi.jdc"));
  EXPECT_TRUE(fs::exists(folder.Path() / "大きな辞書1語.ydc"));
}

}  // namespace
}  // namespace renkomi
