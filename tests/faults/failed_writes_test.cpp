// Writes that fail in the running game: a full disk (a file-size limit) at the save
// that ends a match and at closing, and a program folder that cannot take the
// dictionary when the player chooses it. The game must say so in its error
// dialog, keep the files it had, and go on. A failed save keeps its change for
// the next load; a dictionary at its size limit refuses one word more.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <ostream>
#include <set>

#include "dictionary_files.h"
#include "dictionary_store.h"
#include "errors.h"
#include "fault_support.h"

namespace renkomi::faults {
namespace {

using test::PrintTo;

// A full disk names the file and the system's reason; the tests' disk is "full" by
// a file-size limit.
std::string WriteErrorAt(const fs::path& file) {
  return "ストリームへの書き込みエラー: " + file.string() + " (ファイルサイズの上限を超えました)";
}
const std::string kLoss = "あなたの負けです。";
const std::string kQuitUnsaved = "辞書を保存できませんでした。保存しないで終わりますか？";

// A program folder holding a shared dictionary of 40 words.
class FortyWordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder_);
    WriteBytes(folder_ / "renkomi.jdc", jukugo_);
    WriteBytes(folder_ / "renkomi.ydc", yomi_);
  }
  // Every word in place, each once, and nothing beside the two files.
  void ExpectWords(std::multiset<Word> expected, const std::string& log) const {
    std::vector<Word> pairs;
    ASSERT_TRUE(CutPairs(ReadFile(folder_ / "renkomi.jdc"), ReadFile(folder_ / "renkomi.ydc"), pairs));
    EXPECT_TRUE(std::multiset<Word>(pairs.begin(), pairs.end()) == expected) << log;
    EXPECT_EQ(CountFiles(folder_), 2) << "leftovers";
  }

  TempFolder temp_;
  const fs::path folder_ = temp_.Path() / "program";
  const std::vector<Word> words_ = MakeWords(40);
  const std::string jukugo_ = FileBytes(words_, true);
  const std::string yomi_ = FileBytes(words_, false);
  const std::map<std::string, std::string> old_{{"renkomi.jdc", jukugo_}, {"renkomi.ydc", yomi_}};
};

// ---- A full disk at the end of a match

struct FullDiskRow {
  const char* name;
  // The file-size limit, from the sizes of the two files the save writes.
  std::size_t (*limit)(std::size_t jukugoBytes, std::size_t yomiBytes);
  const char* failing;  // the file the error names
};

class FullDiskTest : public FortyWordsTest, public ::testing::WithParamInterface<FullDiskRow> {};

TEST_P(FullDiskTest, ShowsTheErrorKeepsTheOldFilesAndPlaysOn) {
  ASSERT_LT(jukugo_.size(), yomi_.size()) << "the rows below rely on a longer reading file";
  const std::size_t limit = GetParam().limit(jukugo_.size(), yomi_.size());
  const auto [report, log] = Play("full-disk", folder_, {std::to_string(limit)});

  // Both losses and the first close fail to save, and each says so; the close
  // then asks whether to quit without saving, and "いいえ" keeps the game.
  const std::string writeError = WriteErrorAt(folder_ / GetParam().failing);
  EXPECT_EQ(Errors(report), std::vector<std::string>(3, writeError)) << log;
  EXPECT_EQ(CountDialogs(report, "エラー", writeError), 3) << log;
  EXPECT_EQ(CountDialogs(report, "確認", kQuitUnsaved), 1) << log;
  // The match ends as a loss all the same.
  EXPECT_EQ(CountDialogs(report, "情報", kLoss), 2) << log;

  for (const char* moment : {"before", "after-failed-save", "after-second-failed-save", "close-refused"}) {
    bool found = false;
    const auto files = FilesAt(report, moment, &found);
    ASSERT_TRUE(found) << moment << "\n" << log;
    EXPECT_TRUE(files == old_) << moment << ": " << files.size() << " files\n" << log;
  }

  // Between matches again, with every button usable...
  auto state = StateAt(report, "after-failed-save");
  for (const char* key : {"buttons", "start", "finish", "teach", "enabled"}) EXPECT_EQ(state[key], "1") << key << log;
  EXPECT_EQ(state["playing"], "0");
  // ...and a new match starts.
  state = StateAt(report, "next-match");
  EXPECT_EQ(state["playing"], "1") << log;
  EXPECT_EQ(state["start"], "0");
  EXPECT_FALSE(state["comp"].empty());
  // A close that cannot save leaves the window open.
  EXPECT_EQ(StateAt(report, "close-refused")["window"], "1") << log;
  // Once there was room again the game closed with every word in place.
  ExpectWords({words_.begin(), words_.end()}, log);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, FullDiskTest,
    ::testing::Values(
        FullDiskRow{"NotAByte", [](std::size_t, std::size_t) -> std::size_t { return 0; }, "renkomi.jdc"},
        FullDiskRow{"HalfTheJukugoFile", [](std::size_t jukugo, std::size_t) { return jukugo / 2; }, "renkomi.jdc"},
        // The jukugo file is written whole; the reading file fails after it.
        FullDiskRow{"RoomForTheJukugoFileOnly",
                    [](std::size_t jukugo, std::size_t yomi) { return (jukugo + yomi) / 2; }, "renkomi.ydc"}),
    [](const ::testing::TestParamInfo<FullDiskRow>& info) { return std::string(info.param.name); });

// ---- A taught word whose save fails: kept by the match's load, written by it

struct FailedTeachRow {
  const char* name;
  const char* fault;  // "lock": another process holds the jukugo file; "limit": a file-size limit
};

class FailedTeachTest : public FortyWordsTest, public ::testing::WithParamInterface<FailedTeachRow> {};

TEST_P(FailedTeachTest, TheMatchsLoadKeepsTheTaughtWordAndWritesIt) {
  const auto [report, log] = Play("failed-teach", folder_, {GetParam().fault});
  const fs::path jukugoFile = folder_ / "renkomi.jdc";
  const std::string error = std::string(GetParam().fault) == "lock"
                                ? "ファイル " + jukugoFile.string() + " をほかのプログラムが使用中のため、辞書を読み書きできません"
                                : WriteErrorAt(jukugoFile);
  EXPECT_EQ(Errors(report), std::vector<std::string>{error}) << log;
  // The failed save wrote nothing...
  EXPECT_TRUE(FilesAt(report, "failed") == old_) << log;
  // ...and "はじめる", once the fault was gone, kept the taught word and wrote it.
  const Word taught{Cp932("鬱金"), Cp932("うこん")};
  const std::map<std::string, std::string> withTaught{{"renkomi.jdc", jukugo_ + taught.first + "\r\n"},
                                                      {"renkomi.ydc", yomi_ + taught.second + "\r\n"}};
  EXPECT_TRUE(FilesAt(report, "started") == withTaught) << log;
  // The match's end and closing kept it too, with every other word.
  std::multiset<Word> expected(words_.begin(), words_.end());
  expected.insert(taught);
  ExpectWords(expected, log);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedTeachTest,
                         ::testing::Values(FailedTeachRow{"LockHeldByAnotherProcess", "lock"},
                                           FailedTeachRow{"FileSizeLimit", "limit"}),
                         [](const ::testing::TestParamInfo<FailedTeachRow>& info) { return std::string(info.param.name); });

// ---- A dictionary a few bytes under the size a load accepts

TEST(FullDictionaryTest, TeachingOneWordMoreIsRefusedAndTheFilesStay) {
  TempFolder temp;
  // 8 MB less 6 bytes of readings: one more three-kana reading does not fit.
  constexpr std::size_t kLines = (std::size_t{8} << 20) / 8 - 1;
  const std::vector<Word> words = MakeWords(1000);
  std::string jukugoBytes = words[0].first + "\r\n";
  std::string yomiBytes = words[0].second + Cp932("あ") + "\r\n";
  for (std::size_t i = 1; i < kLines; ++i) {
    jukugoBytes += words[i % words.size()].first + "\r\n";
    yomiBytes += words[i % words.size()].second + "\r\n";
  }
  ASSERT_EQ(yomiBytes.size(), (std::size_t{8} << 20) - 6);
  WriteBytes(temp.Path() / "renkomi.jdc", jukugoBytes);
  WriteBytes(temp.Path() / "renkomi.ydc", yomiBytes);

  DictionaryStore store(temp.Path());
  store.ChooseDictionary("renkomi");
  ASSERT_NO_THROW(store.LoadDictionary());
  store.AddWord(Cp932("鬱金"), Cp932("うこん"));
  EXPECT_EQ(test::ErrorOf([&] { store.SaveDictionary(); }),
            "辞書「renkomi」がいっぱいです。保存すると " + (temp.Path() / "renkomi.ydc").string() +
                " が 8388610 バイトになり、辞書のファイルの上限 8 MB を超えるため、保存していません。"
                "辞書の整理でことばを削除すると保存できます");
  EXPECT_TRUE(ReadFile(temp.Path() / "renkomi.jdc") == jukugoBytes);
  EXPECT_TRUE(ReadFile(temp.Path() / "renkomi.ydc") == yomiBytes);
  EXPECT_EQ(CountFiles(temp.Path()), 2) << "leftovers";
}

// ---- The player's folder that cannot be made at the first start

TEST(PlayerFolderTest, TheTrueCauseInJapanese) {
  TempFolder temp;
  // HOME set to a folder that is not there: the game makes nothing of it.
  const fs::path home = temp.Path() / "gone";
  const fs::path below = home / ".local" / "share" / "renkomi";
  EXPECT_EQ(test::ErrorOf([&] { MakeDictionaryFolder(below, home.string()); }),
            "フォルダ " + below.string() + " を作成できません (ホームフォルダ " + home.string() + " がありません)");
  EXPECT_FALSE(fs::exists(home));

  // XDG_DATA_HOME read-only, met as a player meets it (root passes over it).
  const fs::path data = temp.Path() / "data";
  fs::create_directories(data);
  fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!test::MeetFilePermissions()) ::_exit(3);
    try {
      MakeDictionaryFolder(data / "renkomi", "");
    } catch (const Error& e) {
      const std::string expected = "フォルダ " + (data / "renkomi").string() + " を作成できません (アクセスが許可されていません)";
      if (e.what() == expected) ::_exit(0);
      std::fprintf(stderr, "%s\n", e.what());
      ::_exit(1);
    }
    ::_exit(2);
  }
  const int status = test::Child(pid).Wait(20000);
  fs::permissions(data, fs::perms::owner_all);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "status " << status << " (1: another message, 2: the folder was made, 3: capabilities kept)";
  EXPECT_FALSE(fs::exists(data / "renkomi"));
}

// ---- A program folder that cannot take the dictionary at the choice

struct BlockedChoiceRow {
  const char* name;
  const char* how;     // "below-file": the folder's path runs through a file; "no-room": a zero size limit
  const char* player;  // a personal dictionary's name; empty for the shared one
};

class BlockedChoiceTest : public ::testing::TestWithParam<BlockedChoiceRow> {};

TEST_P(BlockedChoiceTest, KeepsThePanelOpenUntilTheFolderCanTakeTheFiles) {
  const BlockedChoiceRow& row = GetParam();
  TempFolder temp;
  fs::path folder = temp.Path() / "program";
  if (std::string(row.how) == "below-file") {
    // Root passes every permission check; a path through a plain file stops it.
    WriteBytes(temp.Path() / "blocker", "not a folder");
    folder = temp.Path() / "blocker" / "program";
  } else {
    fs::create_directories(folder);
  }
  const std::string name = *row.player != '\0' ? row.player : "renkomi";

  const auto [report, log] =
      Play("blocked-choice", folder, *row.player != '\0' ? std::vector<std::string>{row.how, row.player}
                                                          : std::vector<std::string>{row.how});

  const std::string expected = std::string(row.how) == "below-file"
                                   ? "ファイル " + (folder / (name + ".jdc")).string() + " を作成できません (フォルダではありません)"
                                   : WriteErrorAt(folder / (name + ".jdc"));
  EXPECT_EQ(Errors(report), std::vector<std::string>{expected}) << log;
  EXPECT_EQ(CountDialogs(report, "エラー", expected), 1) << log;

  // The panel stays, the buttons stay hidden, and "えらぶ" can be pressed again.
  auto state = StateAt(report, "refused");
  for (const auto& [key, value] : {std::pair{"panel", "1"}, {"choose", "1"}, {"buttons", "0"}, {"start", "0"},
                                   {"playing", "0"}})
    EXPECT_EQ(state[key], value) << key << "\n" << log;
  // No half-made dictionary and no temporary file.
  bool found = false;
  EXPECT_TRUE(FilesAt(report, "refused", &found).empty()) << log;
  EXPECT_TRUE(found);

  // Chosen once the folder can take the files.
  state = StateAt(report, "chosen");
  EXPECT_EQ(state["panel"], "0") << log;
  EXPECT_EQ(state["buttons"], "1");
  EXPECT_EQ(state["start"], "1");
  EXPECT_EQ(state["user"], *row.player != '\0' ? row.player : "あなた");
  // A new dictionary: the five built-in words.
  EXPECT_EQ(ReadFile(folder / (name + ".jdc")), test::BuiltInJukugoFile());
  EXPECT_EQ(ReadFile(folder / (name + ".ydc")), test::BuiltInYomiFile());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, BlockedChoiceTest,
    ::testing::Values(BlockedChoiceRow{"FolderBelowAFile", "below-file", ""},
                      BlockedChoiceRow{"NoRoomForTheSharedDictionary", "no-room", ""},
                      BlockedChoiceRow{"NoRoomForAPersonalDictionary", "no-room", "たろう"},
                      BlockedChoiceRow{"PersonalDictionaryBelowAFile", "below-file", "たろう"}),
    [](const ::testing::TestParamInfo<BlockedChoiceRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi::faults
