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

// A full disk names the file and the system's reason; the tests' disk is "full" by
// a file-size limit.
std::string WriteErrorAt(const fs::path& file) {
  return "ストリームへの書き込みエラー: " + file.string() + " (ファイルサイズの上限を超えました)";
}
const std::string kLoss = "あなたの負けです。";
const std::string kQuitUnsaved = "辞書を保存できませんでした。保存しないで終わりますか？";

std::vector<std::string> Entries(const std::vector<Word>& words, bool jukugo) {
  std::vector<std::string> entries;
  for (const Word& word : words) entries.push_back(jukugo ? word.first : word.second);
  return entries;
}

// ---- A full disk at the end of a match

struct FullDiskRow {
  const char* name;
  // The file-size limit, from the sizes of the two files the save writes.
  std::size_t (*limit)(std::size_t jukugoBytes, std::size_t yomiBytes);
  const char* failing;  // the file the error names
};

void PrintTo(const FullDiskRow& row, std::ostream* out) { *out << row.name; }

class FullDiskTest : public ::testing::TestWithParam<FullDiskRow> {};

TEST_P(FullDiskTest, ShowsTheErrorKeepsTheOldFilesAndPlaysOn) {
  TempFolder temp;
  const fs::path folder = temp.Path() / "program";
  fs::create_directories(folder);
  const std::vector<Word> words = MakeWords(40);
  const std::string jukugoBytes = FileBytes(Entries(words, true));
  const std::string yomiBytes = FileBytes(Entries(words, false));
  ASSERT_LT(jukugoBytes.size(), yomiBytes.size()) << "the rows below rely on a longer reading file";
  WriteFile(folder / "renkomi.jdc", jukugoBytes);
  WriteFile(folder / "renkomi.ydc", yomiBytes);
  const std::size_t limit = GetParam().limit(jukugoBytes.size(), yomiBytes.size());

  PlayerProcess player({"full-disk", folder.string(), std::to_string(limit)});
  ASSERT_TRUE(player.WaitFinished(60000)) << "still running\n" << player.Log();
  const std::string log = player.Log();
  ASSERT_EQ(player.Outcome(), "exit 0") << log;
  const std::vector<ReportLine> report = ParseReport(log);

  // Both losses and the first close fail to save, and each says so; the close
  // then asks whether to quit without saving, and "いいえ" keeps the game.
  const std::string writeError = WriteErrorAt(folder / GetParam().failing);
  EXPECT_EQ(Errors(report), std::vector<std::string>(3, writeError)) << log;
  EXPECT_EQ(CountDialogs(report, "エラー", writeError), 3) << log;
  EXPECT_EQ(CountDialogs(report, "確認", kQuitUnsaved), 1) << log;
  // The match ends as a loss all the same.
  EXPECT_EQ(CountDialogs(report, "情報", kLoss), 2) << log;

  // The old files, byte for byte, and nothing beside them.
  const std::map<std::string, std::string> old{{"renkomi.jdc", jukugoBytes}, {"renkomi.ydc", yomiBytes}};
  for (const char* moment : {"before", "after-failed-save", "after-second-failed-save", "close-refused"}) {
    bool found = false;
    const auto files = FilesAt(report, moment, &found);
    ASSERT_TRUE(found) << moment << "\n" << log;
    EXPECT_TRUE(files == old) << moment << ": " << files.size() << " files\n" << log;
  }

  // Between matches again, with every button usable...
  auto state = StateAt(report, "after-failed-save");
  EXPECT_EQ(state["buttons"], "1") << log;
  EXPECT_EQ(state["start"], "1");
  EXPECT_EQ(state["finish"], "1");
  EXPECT_EQ(state["teach"], "1");
  EXPECT_EQ(state["playing"], "0");
  EXPECT_EQ(state["enabled"], "1");
  // ...and a new match starts.
  state = StateAt(report, "next-match");
  EXPECT_EQ(state["playing"], "1") << log;
  EXPECT_EQ(state["start"], "0");
  EXPECT_FALSE(state["comp"].empty());
  // A close that cannot save leaves the window open.
  EXPECT_EQ(StateAt(report, "close-refused")["window"], "1") << log;

  // Once there was room again the game closed with every word in place.
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
  ASSERT_TRUE(CutStrictly(ReadFile(folder / "renkomi.jdc"), jukugo));
  ASSERT_TRUE(CutStrictly(ReadFile(folder / "renkomi.ydc"), yomi));
  ASSERT_EQ(jukugo.size(), yomi.size());
  std::multiset<Word> now;
  for (std::size_t i = 0; i < jukugo.size(); ++i) now.emplace(jukugo[i], yomi[i]);
  EXPECT_TRUE(now == std::multiset<Word>(words.begin(), words.end()));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << "leftovers";
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

void PrintTo(const FailedTeachRow& row, std::ostream* out) { *out << row.name; }

class FailedTeachTest : public ::testing::TestWithParam<FailedTeachRow> {};

TEST_P(FailedTeachTest, TheMatchsLoadKeepsTheTaughtWordAndWritesIt) {
  TempFolder temp;
  const fs::path folder = temp.Path() / "program";
  fs::create_directories(folder);
  const std::vector<Word> words = MakeWords(40);
  const std::string jukugoBytes = FileBytes(Entries(words, true));
  const std::string yomiBytes = FileBytes(Entries(words, false));
  WriteFile(folder / "renkomi.jdc", jukugoBytes);
  WriteFile(folder / "renkomi.ydc", yomiBytes);

  PlayerProcess player({"failed-teach", folder.string(), GetParam().fault});
  ASSERT_TRUE(player.WaitFinished(60000)) << "still running\n" << player.Log();
  const std::string log = player.Log();
  ASSERT_EQ(player.Outcome(), "exit 0") << log;
  const std::vector<ReportLine> report = ParseReport(log);

  const fs::path jukugoFile = folder / "renkomi.jdc";
  const std::string error = std::string(GetParam().fault) == "lock"
                                ? "ファイル " + jukugoFile.string() + " をほかのプログラムが使用中のため、辞書を読み書きできません"
                                : WriteErrorAt(jukugoFile);
  EXPECT_EQ(Errors(report), std::vector<std::string>{error}) << log;
  // The failed save wrote nothing...
  const std::map<std::string, std::string> old{{"renkomi.jdc", jukugoBytes}, {"renkomi.ydc", yomiBytes}};
  EXPECT_TRUE(FilesAt(report, "failed") == old) << log;
  // ...and "はじめる", once the fault was gone, kept the taught word and wrote it.
  const std::string taught = Cp932("鬱金");
  const std::string reading = Cp932("うこん");
  const std::map<std::string, std::string> withTaught{{"renkomi.jdc", jukugoBytes + taught + "\r\n"},
                                                      {"renkomi.ydc", yomiBytes + reading + "\r\n"}};
  EXPECT_TRUE(FilesAt(report, "started") == withTaught) << log;
  // The match's end and closing kept it too, with every other word.
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
  ASSERT_TRUE(CutStrictly(ReadFile(jukugoFile), jukugo));
  ASSERT_TRUE(CutStrictly(ReadFile(folder / "renkomi.ydc"), yomi));
  ASSERT_EQ(jukugo.size(), yomi.size());
  std::multiset<Word> now;
  for (std::size_t i = 0; i < jukugo.size(); ++i) now.emplace(jukugo[i], yomi[i]);
  std::multiset<Word> expected(words.begin(), words.end());
  expected.emplace(taught, reading);
  EXPECT_TRUE(now == expected) << log;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << "leftovers";
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
  WriteFile(temp.Path() / "renkomi.jdc", jukugoBytes);
  WriteFile(temp.Path() / "renkomi.ydc", yomiBytes);

  DictionaryStore store(temp.Path());
  store.ChooseDictionary("renkomi");
  ASSERT_NO_THROW(store.LoadDictionary());
  store.AddWord(Cp932("鬱金"), Cp932("うこん"));
  try {
    store.SaveDictionary();
    ADD_FAILURE() << "a dictionary over the limit was saved";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "辞書「renkomi」がいっぱいです。保存すると " + (temp.Path() / "renkomi.ydc").string() +
                                         " が 8388610 バイトになり、辞書のファイルの上限 8 MB を超えるため、保存していません。"
                                         "辞書の整理でことばを削除すると保存できます");
  }
  EXPECT_TRUE(ReadFile(temp.Path() / "renkomi.jdc") == jukugoBytes);
  EXPECT_TRUE(ReadFile(temp.Path() / "renkomi.ydc") == yomiBytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 2) << "leftovers";
}

// ---- The player's folder that cannot be made at the first start

TEST(PlayerFolderTest, TheTrueCauseInJapanese) {
  TempFolder temp;
  // HOME set to a folder that is not there: the game makes nothing of it.
  const fs::path home = temp.Path() / "gone";
  const fs::path below = home / ".local" / "share" / "renkomi";
  try {
    MakeDictionaryFolder(below, home.string());
    ADD_FAILURE() << "made below a home folder that is not there";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "フォルダ " + below.string() + " を作成できません (ホームフォルダ " + home.string() + " がありません)");
  }
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

void PrintTo(const BlockedChoiceRow& row, std::ostream* out) { *out << row.name; }

class BlockedChoiceTest : public ::testing::TestWithParam<BlockedChoiceRow> {};

TEST_P(BlockedChoiceTest, KeepsThePanelOpenUntilTheFolderCanTakeTheFiles) {
  const BlockedChoiceRow& row = GetParam();
  TempFolder temp;
  fs::path folder = temp.Path() / "program";
  if (std::string(row.how) == "below-file") {
    // Root passes every permission check; a path through a plain file stops it.
    WriteFile(temp.Path() / "blocker", "not a folder");
    folder = temp.Path() / "blocker" / "program";
  } else {
    fs::create_directories(folder);
  }
  const std::string name = *row.player != '\0' ? row.player : "renkomi";

  std::vector<std::string> arguments{"blocked-choice", folder.string(), row.how};
  if (*row.player != '\0') arguments.emplace_back(row.player);
  PlayerProcess player(arguments);
  ASSERT_TRUE(player.WaitFinished(60000)) << "still running\n" << player.Log();
  const std::string log = player.Log();
  ASSERT_EQ(player.Outcome(), "exit 0") << log;
  const std::vector<ReportLine> report = ParseReport(log);

  const std::string expected = std::string(row.how) == "below-file"
                                   ? "ファイル " + (folder / (name + ".jdc")).string() + " を作成できません (フォルダではありません)"
                                   : WriteErrorAt(folder / (name + ".jdc"));
  EXPECT_EQ(Errors(report), std::vector<std::string>{expected}) << log;
  EXPECT_EQ(CountDialogs(report, "エラー", expected), 1) << log;

  // The panel stays, the buttons stay hidden, and "えらぶ" can be pressed again.
  auto state = StateAt(report, "refused");
  EXPECT_EQ(state["panel"], "1") << log;
  EXPECT_EQ(state["choose"], "1");
  EXPECT_EQ(state["buttons"], "0");
  EXPECT_EQ(state["start"], "0");
  EXPECT_EQ(state["playing"], "0");
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
