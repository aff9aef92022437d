// When the installed game makes or corrects its dictionaries at its start, what
// the player sees of the reading while it does, and what a correction keeps.
#include "dictionary_generator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tools_test_support.h"

namespace renkomi {
namespace {

namespace fs = std::filesystem;
using test::Convert;
using test::PrintTo;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

struct FirstStartRow {
  const char* name;
  std::vector<const char*> files;  // made empty in the program folder
  bool linked;     // renkomi.jdc a link to nowhere
  bool recorded;   // the folder's words recorded as this version makes them
  bool sourceThere;
  bool wanted;
};

class FirstStartTest : public ::testing::TestWithParam<FirstStartRow> {};

TEST_P(FirstStartTest, WorksOnlyForAFolderWithoutTheSharedOneOrWithAnEarlierVersionsWords) {
  const FirstStartRow& row = GetParam();
  TempFolder folder;
  const fs::path source = folder.Path() / "edict";
  if (row.sourceThere) WriteBytes(source, "");
  const fs::path program = folder.Path() / "program";
  fs::create_directory(program);
  for (const char* file : row.files) WriteBytes(program / file, "");
  if (row.linked) fs::create_symlink(program / "gone", program / "renkomi.jdc");
  if (row.recorded) WriteWordsRecord(program, {.version = kWordsVersion});
  EXPECT_EQ(WantsDictionaryWork(program, {source, "", ""}), row.wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FirstStartTest,
    ::testing::Values(
        FirstStartRow{"EmptyFolder", {}, false, false, true, true},
        FirstStartRow{"OnlyOtherDictionaries", {"taro.jdc", "taro.ydc"}, false, false, true, true},
        FirstStartRow{"SharedThereFromAnEarlierVersion", {"renkomi.jdc", "renkomi.ydc"}, false, false, true, true},
        FirstStartRow{"SharedThereAndRecorded", {"renkomi.jdc", "renkomi.ydc"}, false, true, true, false},
        FirstStartRow{"OnlyTheReadingsFileThere", {"renkomi.ydc"}, false, true, true, false},
        FirstStartRow{"DanglingLinkForTheSharedOne", {}, true, true, true, false},
        FirstStartRow{"WithoutEdict", {}, false, false, false, false}),
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
  const Generation done = GenerateDictionaries(
      {source, "", ""}, folder.Path(), [&](std::uintmax_t read, std::uintmax_t total) { reports.emplace_back(read, total); });
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

// --- Correcting what an earlier version made ------------------------------------

constexpr std::string_view kWords =
    "下手 [したて] /(n) humble position/(P)/\n"
    "下手 [へた] /(adj-na) unskilful/(P)/\n"
    "眼鏡 [がんきょう] /(n) glasses/\n"
    "眼鏡 [めがね] /(n) glasses/(P)/\n"
    "土産 [とさん] /(n) product of the land/\n"
    "土産 [どさん] /(n) product of the land/\n"
    "土産 [みやげ] /(n) souvenir/(P)/\n"
    "手紙 [てがみ] /(n) letter/\n";

class CorrectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sources_.edict = folder_.Path() / "edict";
    WriteBytes(sources_.edict, Convert(kWords, "EUC-JP", "UTF-8"));
    sources_.costs = folder_.Path() / "ipadic";
    fs::create_directory(sources_.costs);
    WriteBytes(sources_.costs / "Noun.csv",
               Convert("下手,1285,1285,5394,名詞,一般,*,*,*,*,下手,シタテ,シタテ\n"
                       "下手,1287,1287,2348,名詞,形容動詞語幹,*,*,*,*,下手,ヘタ,ヘタ\n", "EUC-JP", "UTF-8"));
    program_ = folder_.Path() / "program";
    fs::create_directory(program_);
  }

  void WritePair(const std::string& name, std::string_view jukugo, std::string_view yomi) {
    WriteBytes(program_ / (name + ".jdc"), Convert(jukugo, "CP932", "UTF-8"));
    WriteBytes(program_ / (name + ".ydc"), Convert(yomi, "CP932", "UTF-8"));
  }

  void ExpectPair(const std::string& name, std::string_view jukugo, std::string_view yomi) {
    EXPECT_EQ(ReadBytes(program_ / (name + ".jdc")), Convert(jukugo, "CP932", "UTF-8")) << name;
    EXPECT_EQ(ReadBytes(program_ / (name + ".ydc")), Convert(yomi, "CP932", "UTF-8")) << name;
  }

  TempFolder folder_;
  WordSources sources_{.kanjidic = ""};
  fs::path program_;
};

// The earlier version wrote each word's first reading (the first common one for
// the shared dictionary). The player then taught 鬱金 and changed 土産's reading
// in the large dictionary: both stay, and the generator's own pairs get the
// reading a reader gives, the shared dictionary gaining 手紙 for its dead end 手.
TEST_F(CorrectionTest, AnEarlierVersionsPairsAreCorrectedOnceAndThePlayersStay) {
  WritePair("renkomi", "下手\r\n眼鏡\r\n土産\r\n鬱金\r\n", "したて\r\nめがね\r\nみやげ\r\nうこん\r\n");
  WritePair("大きな辞書4語", "下手\r\n眼鏡\r\n土産\r\n手紙\r\n鬱金\r\n",
            "したて\r\nがんきょう\r\nどさん\r\nてがみ\r\nうこん\r\n");
  ASSERT_TRUE(WantsDictionaryWork(program_, sources_));

  const Generation done = GenerateDictionaries(sources_, program_);
  EXPECT_EQ(done.corrected, 4u);
  ExpectPair("renkomi", "下手\r\n眼鏡\r\n土産\r\n鬱金\r\n手紙\r\n",
             "へた\r\nめがね\r\nみやげ\r\nうこん\r\nてがみ\r\n");
  ExpectPair("大きな辞書4語", "下手\r\n眼鏡\r\n土産\r\n手紙\r\n鬱金\r\n",
             "へた\r\nめがね\r\nどさん\r\nてがみ\r\nうこん\r\n");

  // Once: the next start reads no source and writes nothing.
  EXPECT_FALSE(WantsDictionaryWork(program_, sources_));
  const auto written = fs::last_write_time(program_ / "renkomi.ydc");
  EXPECT_EQ(GenerateDictionaries(sources_, program_).lines, 0u);
  EXPECT_EQ(fs::last_write_time(program_ / "renkomi.ydc"), written);
}

// Made while mecab-ipadic was missing, the shared dictionary has 下手 したて, the
// first of its two common readings; once the costs are there it gets へた.
TEST_F(CorrectionTest, InstallingTheCostsLaterCorrectsTheReadingsMadeWithout) {
  const fs::path costs = sources_.costs;
  sources_.costs = "";
  GenerateDictionaries(sources_, program_);
  ExpectPair("renkomi", "下手\r\n眼鏡\r\n土産\r\n手紙\r\n", "したて\r\nめがね\r\nみやげ\r\nてがみ\r\n");
  EXPECT_FALSE(WantsDictionaryWork(program_, sources_));

  sources_.costs = costs;
  ASSERT_TRUE(WantsDictionaryWork(program_, sources_));
  GenerateDictionaries(sources_, program_);
  ExpectPair("renkomi", "下手\r\n眼鏡\r\n土産\r\n手紙\r\n", "へた\r\nめがね\r\nみやげ\r\nてがみ\r\n");
  EXPECT_FALSE(WantsDictionaryWork(program_, sources_));
}

}  // namespace
}  // namespace renkomi
