#include "dictionary_store.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>

#include "dictionary_files.h"
#include "pair_save.h"
#include "errors.h"
#include "engine_test_names.h"
#include "text_rules.h"

namespace renkomi {
namespace {

const std::string kBuiltInJukugoFile = BuiltInJukugoFile();
const std::string kBuiltInYomiFile = BuiltInYomiFile();

using test::ErrorOf;

class DictionaryStoreTest : public testing::Test {
 protected:
  TempFolder folder;
  DictionaryStore store{folder.Path()};

  std::string PathOf(const std::string& name) { return (folder.Path() / name).string(); }
};

TEST_F(DictionaryStoreTest, NewNameIsSeededWithTheBuiltInWords) {
  store.ChooseDictionary("taro");
  store.LoadDictionary();
  EXPECT_EQ(kBuiltInJukugoFile.size(), 30u);
  EXPECT_EQ(kBuiltInYomiFile.size(), 48u);
  EXPECT_EQ(ReadBytes(folder / "taro.jdc"), kBuiltInJukugoFile);
  EXPECT_EQ(ReadBytes(folder / "taro.ydc"), kBuiltInYomiFile);
  EXPECT_EQ(store.Comp(), store.Builtin());
  EXPECT_EQ(store.Comp().jukugo().Entries(), SjList({"日本", "本日", "本当", "当日", "入口"}));
  EXPECT_EQ(folder.Names(), (V{"taro.jdc", "taro.ydc"}));
  EXPECT_EQ(store.JukugoPath(), folder / "taro.jdc");
}

TEST_F(DictionaryStoreTest, SharedDictionaryNames) {
  store.ChooseDictionary("renkomi");
  EXPECT_EQ(store.JukugoFileName(), "renkomi.jdc");
  EXPECT_EQ(store.YomiFileName(), "renkomi.ydc");
}

TEST_F(DictionaryStoreTest, LoadReplacesCompAndLeavesUsedAlone) {
  WriteBytes(folder / "d.jdc", Sj("一\n二\n\n三"));
  WriteBytes(folder / "d.ydc", Sj("いち\rに\r\rさん\r"));
  store.AddWord("stale", "stale");
  store.PlayWord("u", "u");
  store.ChooseDictionary("d");
  store.LoadDictionary();
  EXPECT_EQ(store.Comp().jukugo().Entries(), SjList({"一", "二", "", "三"}));
  EXPECT_EQ(store.Comp().yomi().Entries(), SjList({"いち", "に", "", "さん"}));
  EXPECT_EQ(store.Used().jukugo().Entries(), V{"u"});
  // The next save writes CR LF throughout.
  store.ClearUsed();
  store.SaveDictionary();
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("一\r\n二\r\n\r\n三\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), Sj("いち\r\nに\r\n\r\nさん\r\n"));
}

TEST_F(DictionaryStoreTest, SaveAndReloadRoundTrip) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  // Whatever Shift-JIS text an entry holds comes back unchanged, long lines and
  // empty ones too: every printable ASCII byte, every half-width katakana, every
  // lead byte with the lowest and the highest trail byte.
  std::string allBytes;
  for (int b = 0x20; b < 0x7F; ++b) allBytes += static_cast<char>(b);
  for (int b = 0xA1; b <= 0xDF; ++b) allBytes += static_cast<char>(b);
  for (int b = 0x81; b <= 0xFC; ++b) {
    if (!IsLeadByte(static_cast<unsigned char>(b))) continue;
    allBytes += {static_cast<char>(b), '\x40', static_cast<char>(b), '\xFC'};
  }
  store.AddWord(allBytes, "");
  store.AddWord(std::string(5000, 'x'), Sj("ながい"));
  store.AddWord(" " + Sj("空白") + " ", Sj("くうはく"));
  store.PlayWord(Sj("白紙"), Sj("はくし"));
  const WordListPair expectedComp = [&] {
    WordListPair p = store.Comp();
    p.Append(Sj("白紙"), Sj("はくし"));
    return p;
  }();
  store.SaveDictionary();
  EXPECT_EQ(store.Used().jukugo().Count() + store.Used().yomi().Count(), 0u);
  EXPECT_EQ(store.Comp(), expectedComp);

  DictionaryStore reloaded(folder.Path());
  reloaded.ChooseDictionary("d");
  reloaded.LoadDictionary();
  EXPECT_EQ(reloaded.Comp(), expectedComp);
}

TEST_F(DictionaryStoreTest, SaveWithEmptyCompWritesUsedOrNothing) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  store.GiveBackWords({});
  store.SaveDictionary();  // nothing to write: the files keep the built-in words
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), kBuiltInJukugoFile);
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), kBuiltInYomiFile);

  store.PlayWord(Sj("一"), Sj("いち"));
  store.PlayWord(Sj("二"), Sj("に"));
  store.PlayWord(Sj("三"), Sj("さん"));
  store.SaveDictionary();
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("一\r\n二\r\n三\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), Sj("いち\r\nに\r\nさん\r\n"));
}

TEST_F(DictionaryStoreTest, ListOperationsTheMatchUses) {
  store.AddWord(Sj("本日"), Sj("ほんじつ"));
  store.AddWord(Sj("日本"), Sj("にほん"));
  store.AddWord(Sj("本日"), Sj("もとひ"));
  // The player's word takes the first pair with its jukugo out of COMP.
  store.PlayWord(Sj("本日"), Sj("ほんじつ"));
  EXPECT_EQ(store.Comp().jukugo().Entries(), SjList({"日本", "本日"}));
  EXPECT_EQ(store.Comp().yomi().Entries(), SjList({"にほん", "もとひ"}));
  EXPECT_EQ(store.PlayFromComp(1), (WordPair{Sj("本日"), Sj("もとひ")}));
  EXPECT_EQ(store.Comp().jukugo().Count(), 1u);

  store.PlayWord("Abc", "x");
  EXPECT_TRUE(store.IsUsed("aBC"));
  EXPECT_FALSE(store.IsUsed(Sj("日本")));

  EXPECT_TRUE(store.RestoreUsedWords(Sj("本日")));
  EXPECT_EQ(store.Comp().jukugo().Entries(), (V{Sj("日本"), Sj("本日"), Sj("本日"), "Abc"}));
  EXPECT_EQ(store.Comp().yomi().Entries(), (V{Sj("にほん"), Sj("ほんじつ"), Sj("もとひ"), "x"}));
  EXPECT_EQ(store.Used().jukugo().Count(), 0u);
  EXPECT_FALSE(store.RestoreUsedWords(Sj("出口")));
}

// A half dictionary is reported, never seeded over.
struct OneFileRow {
  const char* name;
  const char* present;
  const char* missing;
};

class OneFilePairTest : public DictionaryStoreTest, public testing::WithParamInterface<OneFileRow> {};

TEST_P(OneFilePairTest, ReportsTheMissingFileAndTouchesNothing) {
  WriteBytes(folder / GetParam().present, "keep\r\n");
  store.AddWord("before", "before");
  store.ChooseDictionary("d");
  EXPECT_EQ(ErrorOf([&] { store.LoadDictionary(); }),
            "ファイル " + PathOf(GetParam().missing) + " が見つかりません");
  EXPECT_EQ(folder.Names(), V{GetParam().present});
  EXPECT_EQ(ReadBytes(folder / GetParam().present), "keep\r\n");
  EXPECT_EQ(store.Comp().jukugo().Entries(), V{"before"});
  // Nothing was loaded, so a save (closing the window) does not write this pair.
  EXPECT_NE(ErrorOf([&] { store.SaveDictionary(); }), "(no error)");
  EXPECT_EQ(folder.Names(), V{GetParam().present});
}

INSTANTIATE_TEST_SUITE_P(Rows, OneFilePairTest,
                         testing::Values(OneFileRow{"OnlyJukugo", "d.jdc", "d.ydc"},
                                         OneFileRow{"OnlyReading", "d.ydc", "d.jdc"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DictionaryStoreTest, UnreadableFileIsReportedAndNotSeededOver) {
  WriteBytes(folder / "d.jdc", "keep\r\n");
  fs::create_directory(folder / "d.ydc");  // exists, cannot be read as a file
  store.ChooseDictionary("d");
  EXPECT_EQ(ErrorOf([&] { store.LoadDictionary(); }),
            "ファイル " + PathOf("d.ydc") + " を読み込めません (普通のファイルではありません)");
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), "keep\r\n");
  EXPECT_TRUE(fs::is_directory(folder / "d.ydc"));
  EXPECT_EQ(store.Comp().jukugo().Count(), 0u);
}

// Names that would reach outside the program folder are refused as unusable file
// names; nothing is written, here or anywhere.
struct UnsafeNameRow {
  const char* name;
  std::string dictionaryName;
};

class UnsafeNameTest : public testing::TestWithParam<UnsafeNameRow> {};

TEST_P(UnsafeNameTest, RefusedWithCreateErrorAndNothingWritten) {
  TempFolder outer;
  const fs::path programFolder = outer / "program";
  fs::create_directories(programFolder / "sub");
  DictionaryStore store(programFolder);
  store.ChooseDictionary(GetParam().dictionaryName);
  EXPECT_FALSE(DictionaryStore::IsSafeName(GetParam().dictionaryName));
  const std::string wouldBe = (programFolder / "").string() + GetParam().dictionaryName + ".jdc";
  EXPECT_EQ(ErrorOf([&] { store.LoadDictionary(); }), "ファイル " + wouldBe + " を作成できません");
  store.AddWord("taught", "taught");
  EXPECT_EQ(ErrorOf([&] { store.SaveDictionary(); }), "ファイル " + wouldBe + " を作成できません");

  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(outer.Path()))
    if (!entry.is_directory()) ++files;
  EXPECT_EQ(files, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnsafeNameTest,
    testing::Values(UnsafeNameRow{"Empty", ""}, UnsafeNameRow{"Dot", "."},
                    UnsafeNameRow{"DotDot", ".."}, UnsafeNameRow{"ParentPath", "../escape"},
                    UnsafeNameRow{"Subfolder", "sub/x"}, UnsafeNameRow{"Absolute", "/tmp/x"},
                    UnsafeNameRow{"Backslash", "a\\b"}, UnsafeNameRow{"Newline", "a\nb"},
                    UnsafeNameRow{"Tab", "a\tb"}, UnsafeNameRow{"Delete", "a\x7F"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DictionaryStoreNameTest, OrdinaryNamesAreSafe) {
  for (const char* name : {"taro", "太郎", ".taro", "a.b", "...", "a b", "renkomi"})
    EXPECT_TRUE(DictionaryStore::IsSafeName(name)) << name;
  // A name from another system, in CP932: 表 ends in the byte of "\\".
  EXPECT_TRUE(DictionaryStore::IsSafeName(Sj("表示")));
  EXPECT_FALSE(DictionaryStore::IsSafeName(Sj("表示") + "\\x"));
}

// Read-only for everyone, its owner included; root, who passes over permissions,
// gives that up in the child, so the folder stops root and a player alike.
TEST_F(DictionaryStoreTest, FolderWithoutWritePermissionGivesCreateError) {
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(folder.Path(), readOnly);
  const pid_t pid = ::fork();
  if (pid == 0) {
    int code = 0;
    if (!test::MeetFilePermissions()) ::_exit(2);
    try {
      DictionaryStore other(folder.Path());
      other.ChooseDictionary("d");
      other.LoadDictionary();
      code = 1;
    } catch (const Error& e) {
      code = std::string(e.what()) == "ファイル " + (folder / "d.jdc").string() + " を作成できません (アクセスが許可されていません)" ? 0 : 3;
    }
    ::_exit(code);
  }
  const int status = test::Child(pid).Wait();
  fs::permissions(folder.Path(), fs::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error, 2: could not give up root's override, 3: wrong message";
  EXPECT_TRUE(folder.Names().empty());
}

// A stray 1 GB file under a dictionary's name is refused by its size, at once: the
// game never reads it, and the words in memory stay as they were.
TEST_F(DictionaryStoreTest, HugeFileIsRefusedAtOnceWithoutReadingIt) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  const std::uintmax_t huge = std::uintmax_t{1} << 30;
  fs::resize_file(folder / "d.jdc", huge);  // sparse: no disk needed
  const auto start = std::chrono::steady_clock::now();
  const std::string error = ErrorOf([&] { store.LoadDictionary(); });
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(error, "ファイル " + PathOf("d.jdc") + " は大きすぎるので辞書に使えません (" + std::to_string(huge) +
                       " バイト。辞書のファイルは 8 MB まで)");
  EXPECT_LT(took, std::chrono::milliseconds(300));
  EXPECT_EQ(store.Comp(), store.Builtin());
  EXPECT_EQ(fs::file_size(folder / "d.jdc"), huge);
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), kBuiltInYomiFile);
}

// Files damaged after the game loaded them are refused at the next load; from then
// on every save (a word taught, the window closed) is refused with that load's
// error, and the files stay as the other program, or the player's repair, left them.
struct LaterDamageRow {
  const char* name;
  const char* jukugo;  // the files' bytes after the damage, null for a deleted file
  const char* yomi;
};

class LaterDamageTest : public DictionaryStoreTest, public testing::WithParamInterface<LaterDamageRow> {};

TEST_P(LaterDamageTest, SavesAfterTheFailedLoadWriteNothingTillALoadSucceeds) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  std::map<std::string, const char*> damaged{{"d.jdc", GetParam().jukugo}, {"d.ydc", GetParam().yomi}};
  for (const auto& [name, bytes] : damaged) {
    if (bytes == nullptr) fs::remove(folder / name);
    else WriteBytes(folder / name, Sj(bytes));
  }
  const std::string refusal = ErrorOf([&] { store.LoadDictionary(); });
  ASSERT_NE(refusal, "(no error)");
  store.AddWord(Sj("日記"), Sj("にっき"));
  EXPECT_EQ(ErrorOf([&] { store.SaveDictionary(); }), refusal);
  for (const auto& [name, bytes] : damaged) {
    SCOPED_TRACE(name);
    if (bytes == nullptr) EXPECT_FALSE(fs::exists(folder / name));
    else EXPECT_EQ(ReadBytes(folder / name), Sj(bytes));
  }
  // Put back as they were by hand: still not written over before a load reads them.
  WriteBytes(folder / "d.jdc", kBuiltInJukugoFile);
  WriteBytes(folder / "d.ydc", kBuiltInYomiFile);
  EXPECT_EQ(ErrorOf([&] { store.SaveDictionary(); }), refusal) << "the save after the repair";
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), kBuiltInJukugoFile);
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), kBuiltInYomiFile);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LaterDamageTest,
    testing::Values(LaterDamageRow{"JukugoAddedWithoutReading", "日本\r\n本日\r\n本当\r\n当日\r\n入口\r\n日記\r\n",
                                   "にほん\r\nほんじつ\r\nほんとう\r\nとうじつ\r\nいりぐち\r\n"},
                    LaterDamageRow{"ReadingFileDeleted", "日本\r\n本日\r\n本当\r\n当日\r\n入口\r\n", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Another program holding the pair (a stuck copy of the game, say) is waited for
// as long as a save takes, then reported; nothing is written meanwhile.
TEST_F(DictionaryStoreTest, PairHeldByAnotherProgramIsReportedAndKept) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    const int fd = ::open((folder / "d.jdc").c_str(), O_RDONLY);
    const char held = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? '1' : '0';
    (void)!::write(ready[1], &held, 1);
    ::pause();
    ::_exit(0);
  }
  test::Child holding(holder);
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  ::close(ready[0]);
  ::close(ready[1]);
  ASSERT_EQ(held, '1');
  store.AddWord(Sj("日記"), Sj("にっき"));
  const auto start = std::chrono::steady_clock::now();
  const std::string error = ErrorOf([&] { store.SaveDictionary(); });
  const auto waited = std::chrono::steady_clock::now() - start;
  holding.Kill();
  EXPECT_EQ(error, "ファイル " + PathOf("d.jdc") + " をほかのプログラムが使用中のため、辞書を読み書きできません");
  EXPECT_GE(waited, std::chrono::seconds(4));
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), kBuiltInJukugoFile);
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), kBuiltInYomiFile);
  EXPECT_EQ(folder.Names(), (V{"d.jdc", "d.ydc"}));
  // Once it lets go, the save goes through.
  store.SaveDictionary();
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), kBuiltInJukugoFile + Sj("日記\r\n"));
}

// The system's reason for a failed write, as the player reads it.
TEST(SystemReasonTest, SaysWhatHappenedInJapanese) {
  EXPECT_EQ(SystemReason(ENOSPC), "ディスクがいっぱいです");
  EXPECT_EQ(SystemReason(EDQUOT), "ディスクの使用量が割り当ての上限に達しました");
  EXPECT_EQ(SystemReason(EIO), "ディスクの読み書きに失敗しました");
  EXPECT_EQ(WriteError("/p/renkomi.ydc", ENOSPC).what(),
            std::string("ストリームへの書き込みエラー: /p/renkomi.ydc (ディスクがいっぱいです)"));
  // A reason without words of the game's own is still given, by its number.
  EXPECT_EQ(SystemReason(EPROTO).rfind("システムのエラー " + std::to_string(EPROTO) + " (", 0), 0u);
}

TEST_F(DictionaryStoreTest, LoadFinishesAnInterruptedSave) {
  WriteBytes(folder / "d.jdc", "old-j\r\n");
  WriteBytes(folder / "d.ydc", "old-y\r\n");
  WriteBytes(folder / "d.jdc.tmp-0123456789", "new-j\r\n");
  WriteBytes(folder / "d.ydc.tmp-abcdefghij", "new-y\r\n");
  WriteBytes(folder / "d.ydc.commit", CommitMarker("d.jdc.tmp-0123456789", "new-j\r\n", "d.ydc.tmp-abcdefghij", "new-y\r\n"));
  store.ChooseDictionary("d");
  store.LoadDictionary();
  EXPECT_EQ(store.Comp().jukugo().Entries(), V{"new-j"});
  EXPECT_EQ(store.Comp().yomi().Entries(), V{"new-y"});
  EXPECT_EQ(folder.Names(), (V{"d.jdc", "d.ydc"}));
}

// Closing writes only what changed: COMP as loaded, with the match's words played
// back in the same order, is no change; anything else is.
TEST_F(DictionaryStoreTest, UnsavedChangesAreWhatASaveWouldWriteAnew) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  EXPECT_FALSE(store.HasUnsavedChanges());
  // The last word drawn and given back leaves the files as they are.
  store.PlayFromComp(4);
  EXPECT_FALSE(store.HasUnsavedChanges());
  // The first one goes to the end: the files would change.
  store.PlayFromComp(0);
  EXPECT_TRUE(store.HasUnsavedChanges());
  store.SaveDictionary();
  EXPECT_FALSE(store.HasUnsavedChanges());
  // The organizer changes a reading.
  WordListPair words = store.TakeWords();
  EXPECT_THROW(store.SaveDictionary(), std::logic_error) << "saved while the organizer held the words";
  PairLines edited = words.Release();
  edited.yomi[0] = Sj("べつ");
  words.Assign(std::move(edited));
  store.GiveBackWords(std::move(words));
  EXPECT_TRUE(store.HasUnsavedChanges());
}

// Another program's rewrite that keeps the file's size and comes at once after the
// game read it (same inode, same length) is still noticed: its word is not saved over.
TEST_F(DictionaryStoreTest, SameSizeRewriteRightAfterTheLoadIsKept) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  {
    std::FILE* file = std::fopen(PathOf("d.ydc").c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    std::fseek(file, static_cast<long>(kBuiltInYomiFile.size() - Sj("いりぐち\r\n").size()), SEEK_SET);
    std::fputs(Sj("いりくち").c_str(), file);
    std::fclose(file);
  }
  store.AddWord(Sj("日記"), Sj("にっき"));
  store.SaveDictionary();
  EXPECT_EQ(ReadBytes(PathOf("d.jdc")), kBuiltInJukugoFile + Sj("日記\r\n"));
  EXPECT_EQ(ReadBytes(PathOf("d.ydc")), Sj("にほん\r\nほんじつ\r\nほんとう\r\nとうじつ\r\nいりくち\r\nにっき\r\n"));
  EXPECT_FALSE(store.HasUnsavedChanges());
}

TEST_F(DictionaryStoreTest, ListUserDictionaries) {
  for (const char* name : {"renkomi.jdc", "renkomi.ydc", "Renkomi.jdc", "b.jdc", "a.jdc", "A.jdc",
                           "c.JDC", ".hidden.jdc", "x.ydc", "two.dots.jdc", "名前.jdc", "jdc",
                           "tab\t.jdc"})
    WriteBytes(folder / name, "");
  WriteBytes(folder / (Sj("表示") + ".jdc"), "");
  fs::create_directory(folder / "folder.jdc");
  fs::create_symlink(folder / "b.jdc", folder / "link.jdc");
  fs::create_symlink(folder / "nowhere", folder / "dangling.jdc");
  // Links are not offered: a dictionary file is never read or written through one.
  EXPECT_EQ(store.ListUserDictionaries(),
            (V{"A", "a", "b", "Renkomi", "two.dots", Sj("表示"), "名前"}));
  EXPECT_TRUE(DictionaryStore(folder / "missing").ListUserDictionaries().empty());
}

}  // namespace
}  // namespace renkomi
