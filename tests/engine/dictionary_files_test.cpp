#include "dictionary_files.h"
#include "pair_save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>

#include "errors.h"
#include "file_io.h"
#include "engine_test_names.h"

namespace renkomi {
namespace {


struct CutRow {
  const char* name;
  std::string data;
  std::vector<std::string> entries;
};

class CutLinesTest : public testing::TestWithParam<CutRow> {};

TEST_P(CutLinesTest, Entries) { EXPECT_EQ(CutLines(GetParam().data), GetParam().entries); }

using V = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Rows, CutLinesTest,
    testing::Values(CutRow{"Empty", "", V{}},
                    CutRow{"CrLf", "a\r\nb\r\n", V{"a", "b"}},
                    CutRow{"LfOnly", "a\nb\n", V{"a", "b"}},
                    CutRow{"CrOnly", "a\rb\r", V{"a", "b"}},
                    CutRow{"LfCrIsTwoLines", "a\n\rb", V{"a", "", "b"}},
                    CutRow{"NoFinalLineEnd", "a\r\nb", V{"a", "b"}},
                    CutRow{"EmptyLineInside", "a\r\n\r\nb\r\n", V{"a", "", "b"}},
                    CutRow{"OnlyLineEnd", "\r\n", V{""}},
                    CutRow{"TwoLfs", "\n\n", V{"", ""}},
                    CutRow{"NulStops", std::string("a\r\nb\0c\r\nd\r\n", 10), V{"a", "b"}},
                    CutRow{"NulAtStart", std::string("\0a\r\n", 4), V{}},
                    CutRow{"NulAfterLineEnd", std::string("a\r\n\0b", 5), V{"a"}},
                    CutRow{"CrCrLf", "a\r\r\nb", V{"a", "", "b"}},
                    CutRow{"HighBytesKept", "\x93\xFA\x96\x7B\r\n\x89\x0D", V{"\x93\xFA\x96\x7B", "\x89"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DictionaryFilesTest, LongLineKeptWhole) {
  const std::string line(100000, 'x');
  EXPECT_EQ(CutLines(line + "\r\n" + line), (V{line, line}));
}

TEST(DictionaryFilesTest, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({"", ""}), "\r\n\r\n");
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  const V entries{"a", "", "\x93\xFA", "b c"};
  EXPECT_EQ(CutLines(JoinLines(entries)), entries);
}

// The test's folder held open, as the game holds its program folder.
Folder Opened(const TempFolder& folder) {
  Folder opened(folder.Path());
  if (!opened.Open()) throw std::runtime_error("cannot open " + folder.Path().string());
  return opened;
}

// What the next load does first to the pair x: recovery, under the pair's lock.
void Recover(const TempFolder& folder) {
  const Folder opened = Opened(folder);
  const PairLock lock(opened, "x.jdc");
  RecoverPair(opened, "x.jdc", "x.ydc", lock);
}

TEST(DictionaryFilesTest, ReadEntriesMissingFile) {
  TempFolder folder;
  V entries{"stale"};
  EXPECT_EQ(ReadEntries(Opened(folder), "x.jdc", entries), ReadResult::kMissing);
  EXPECT_TRUE(entries.empty());
  WriteBytes(folder / "file", "x");
  EXPECT_EQ(ReadEntries(Opened(folder), "file/x.jdc", entries), ReadResult::kMissing);
}

TEST(DictionaryFilesTest, ReadEntriesOfSomethingUnreadableThrowsNamingIt) {
  TempFolder folder;
  fs::create_directory(folder / "dir.jdc");
  ASSERT_EQ(::mkfifo((folder / "fifo.jdc").c_str(), 0600), 0);
  for (const char* name : {"dir.jdc", "fifo.jdc"}) {
    V entries{"kept"};
    const std::string path = (folder / name).string();
    EXPECT_EQ(test::ErrorOf([&] { ReadEntries(Opened(folder), name, entries); }),
              "ファイル " + path + " を読み込めません (普通のファイルではありません)");
    EXPECT_EQ(entries, V{"kept"});
  }
}

TEST(DictionaryFilesTest, ReadEntriesReadsTheWholeFile) {
  TempFolder folder;
  std::string data;
  V expected;
  for (int i = 0; i < 20000; ++i) {
    expected.push_back("word" + std::to_string(i));
    data += expected.back() + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
  }
  WriteBytes(folder / "x.jdc", data);
  V entries;
  EXPECT_EQ(ReadEntries(Opened(folder), "x.jdc", entries), ReadResult::kRead);
  EXPECT_EQ(entries, expected);
}

// ---- What a file must hold to be played

struct TextRow {
  const char* name;
  std::string data;     // the file's bytes
  std::string refusal;  // what the error says after the file's name; empty: it loads
};

class ShiftJisFileTest : public testing::TestWithParam<TextRow> {};

// A file is either read as the line cutter cuts it, or refused whole with an error
// that names it and says what is wrong, the entries untouched.
TEST_P(ShiftJisFileTest, LoadsAsBeforeOrIsRefusedByName) {
  TempFolder folder;
  const fs::path path = folder / "d.jdc";
  WriteBytes(path, GetParam().data);
  V entries{"kept"};
  if (GetParam().refusal.empty()) {
    EXPECT_EQ(ReadEntries(Opened(folder), "d.jdc", entries), ReadResult::kRead);
    EXPECT_EQ(entries, CutLines(GetParam().data));
    return;
  }
  EXPECT_EQ(test::ErrorOf([&] { ReadEntries(Opened(folder), "d.jdc", entries); }),
            "ファイル " + path.string() + " を読み込めません (" + GetParam().refusal + ")");
  EXPECT_EQ(entries, V{"kept"});
  EXPECT_EQ(ReadBytes(path), GetParam().data);
}

const std::string kUtf8Again = "Shift-JIS で保存してください";
INSTANTIATE_TEST_SUITE_P(
    Files, ShiftJisFileTest,
    testing::Values(
        TextRow{"PlainAscii", "abc\r\nx y-1\r\n~\\\r\n", ""},
        TextRow{"KanjiAndHiragana", "\x93\xFA\x96\x7B\r\n\x82\xC9\x82\xD9\x82\xF1\r\n", ""},
        TextRow{"LfCrAndNoFinalLineEnd", "\x93\xFA\n\r\x96\x7B", ""},
        // The NUL rule's boundary: one NUL as the very last byte closes the text; one
        // byte after it is data the game would lose.
        TextRow{"ClosingNul", std::string("\x93\xFA\x96\x7B\r\n\0", 7), ""},
        TextRow{"OneByteAfterTheNul", std::string("\x93\xFA\x96\x7B\r\n\0a", 8), "NUL 文字のあとにもデータがあります"},
        TextRow{"HalfWidthKatakana", "\xB1\xB2\xB3\r\n", ""},
        // ﾃｽ and ﾅｲ: valid UTF-8 as a whole (C3 BD, C5 B2), but no Japanese in it.
        TextRow{"HalfWidthKatakanaThatIsAlsoUtf8", "\xC3\xBD\r\n\xC5\xB2\r\n", ""},
        TextRow{"NecIbmAndUserDefinedKanji", "\x87\x40\xED\x40\xFA\xB1\xFB\xFC\xF0\x40\r\n", ""},
        // The files carry no byte-order mark: a first entry is taken as it stands,
        // even when it begins with the mark's first byte.
        TextRow{"FirstEntryBeginsWithByteEF", "\xEF\x40\x93\xFA\r\n", ""},
        // Two kanji whose bytes also happen to be valid UTF-8 (U+82A8 then "A").
        TextRow{"ShiftJisThatIsAlsoUtf8", "\xE8\x8A\x88\x41\r\n", ""},
        TextRow{"Utf8", "日本\r\n本日\r\n", "UTF-8 のようです。" + kUtf8Again},
        TextRow{"Utf8WithLfOnly", "abc\nにほん\n", "UTF-8 のようです。" + kUtf8Again},
        TextRow{"Utf8WithByteOrderMark", "\xEF\xBB\xBF日本\r\n", "BOM 付きの UTF-8 のようです。" + kUtf8Again},
        TextRow{"ByteOrderMarkBeforeAscii", "\xEF\xBB\xBF" "abc\r\n", "BOM 付きの UTF-8 のようです。" + kUtf8Again},
        TextRow{"CharacterCutByLineEnd", "\x93\xFA\r\n\x93\r\n\xFA\x96\x7B\r\n",
                "2 行目の終わりで Shift-JIS の文字が切れています"},
        TextRow{"CharacterCutByEndOfFile", "\x93\xFA\r\n\x96", "2 行目の終わりで Shift-JIS の文字が切れています"},
        TextRow{"InvalidLeadByteFF", "\x93\xFA\r\n\x93\xFA\xFF\r\n", "2 行目に Shift-JIS にないバイト 0xFF があります"},
        TextRow{"InvalidLeadByte80", "\x80\x93\xFA\r\n", "1 行目に Shift-JIS にないバイト 0x80 があります"},
        TextRow{"LeadByteBeforeSpace", "a\rb\r\x93 \r", "3 行目に Shift-JIS にないバイトの並び 0x93 0x20 があります"},
        TextRow{"EscapeSequence", "\x93\xFA\r\n\x96\x7B\r\n\x1B[31m\x93\xFA\r\n",
                "3 行目に制御文字 ESC (0x1B) があります"},
        TextRow{"Sub", "\x93\xFA\x1A\r\n", "1 行目に制御文字 SUB (0x1A) があります"},
        TextRow{"TabAfterLfCr", "a\n\rb\tc\r\n", "3 行目に制御文字 TAB (0x09) があります"},
        TextRow{"Del", "ab\x7F\r\n", "1 行目に制御文字 DEL (0x7F) があります"},
        TextRow{"DelAfterLeadByte", "\x93\x7F\r\n", "1 行目に Shift-JIS にないバイトの並び 0x93 0x7F があります"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SavePairTest, WritesBothFilesAndLeavesNothingElse) {
  TempFolder folder;
  SavePair(folder / "x.jdc", {"j1", "", "j3"}, folder / "x.ydc", {"y1", "y2"});
  EXPECT_EQ(ReadBytes(folder / "x.jdc"), "j1\r\n\r\nj3\r\n");
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), "y1\r\ny2\r\n");
  EXPECT_EQ(folder.Names(), (V{"x.jdc", "x.ydc"}));
}

TEST(SavePairTest, KeepsThePermissionsOfTheFilesItReplaces) {
  TempFolder folder;
  SavePair(folder / "x.jdc", {"old"}, folder / "x.ydc", {"old"});
  fs::permissions(folder / "x.jdc", fs::perms::owner_read | fs::perms::owner_write);
  SavePair(folder / "x.jdc", {"new"}, folder / "x.ydc", {"new"});
  EXPECT_EQ(fs::status(folder / "x.jdc").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(SavePairTest, FolderThatCannotHoldFilesGivesCreateError) {
  TempFolder folder;
  WriteBytes(folder / "file", "x");
  const fs::path jukugo = folder / "file" / "x.jdc";
  EXPECT_EQ(test::ErrorOf([&] { SavePair(jukugo, {"a"}, folder / "file" / "x.ydc", {"a"}); }),
            "ファイル " + jukugo.string() + " を作成できません (フォルダではありません)");
  EXPECT_EQ(folder.Names(), V{"file"});
}

// Whatever stands at a name the save needs is named in the error, and the old
// pair stays whole.
TEST(SavePairTest, SomethingAtTheMarkersNameIsNamedAndOldPairKept) {
  TempFolder folder;
  SavePair(folder / "x.jdc", {"old"}, folder / "x.ydc", {"old"});
  fs::create_directory(folder / "x.ydc.commit");
  EXPECT_EQ(test::ErrorOf([&] { SavePair(folder / "x.jdc", {"new"}, folder / "x.ydc", {"new"}); }),
            "ファイル " + (folder / "x.ydc.commit").string() + " を作成できません (フォルダです)");
  EXPECT_EQ(ReadBytes(folder / "x.jdc"), "old\r\n");
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), "old\r\n");
  EXPECT_EQ(folder.Names(), (V{"x.jdc", "x.ydc", "x.ydc.commit"}));
}

// The last defence against a pair that would shift every later line: nothing is
// written, and the error names the file the entry belongs to.
TEST(SavePairTest, EntryWithLineBreakOrNulIsRefusedBeforeAnyWrite) {
  TempFolder folder;
  SavePair(folder / "x.jdc", {"old"}, folder / "x.ydc", {"old"});
  for (const std::string& bad : {std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)}) {
    EXPECT_EQ(test::ErrorOf([&] {
                SavePair(folder / "x.jdc", {"new"}, folder / "x.ydc", {"new", bad});
              }),
              "ファイル " + (folder / "x.ydc").string() + " に書けないことばがあります (改行または NUL 文字)");
  }
  EXPECT_EQ(ReadBytes(folder / "x.jdc"), "old\r\n");
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), "old\r\n");
  EXPECT_EQ(folder.Names(), (V{"x.jdc", "x.ydc"}));
}

// A dictionary file that is a link is neither read through nor replaced.
TEST(SavePairTest, DictionaryFileThatIsALinkIsRefused) {
  TempFolder folder;
  WriteBytes(folder / "elsewhere", "kept\r\n");
  fs::create_symlink(folder / "elsewhere", folder / "x.jdc");
  WriteBytes(folder / "x.ydc", "y\r\n");
  const std::string message = "ファイル " + (folder / "x.jdc").string() + " はシンボリックリンクなので辞書に使えません";
  V entries;
  EXPECT_EQ(test::ErrorOf([&] { ReadEntries(Opened(folder), "x.jdc", entries); }), message);
  EXPECT_EQ(test::ErrorOf([&] { SavePair(folder / "x.jdc", {"new"}, folder / "x.ydc", {"new"}); }), message);
  EXPECT_TRUE(fs::is_symlink(folder / "x.jdc"));
  EXPECT_EQ(ReadBytes(folder / "elsewhere"), "kept\r\n");
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), "y\r\n");
}

// Runs `body` in a child process and gives its exit status (or 128 + signal).
int RunInChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    int code = 100;
    try {
      code = body();
    } catch (...) {
      code = 101;
    }
    ::_exit(code);
  }
  const int status = test::Child(pid).Wait();
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct FullDiskRow {
  const char* name;
  std::size_t jukugoBytes;
  std::size_t yomiBytes;
  const char* failing;  // the file the error names
};

class FullDiskTest : public testing::TestWithParam<FullDiskRow> {};

// A file-size limit stands in for a full disk: write() fails with EFBIG as it
// would with ENOSPC. The child ignores SIGXFSZ, which would otherwise kill it.
TEST_P(FullDiskTest, OldPairSurvivesAndNoTemporaryIsLeft) {
  TempFolder folder;
  SavePair(folder / "x.jdc", {"old-j"}, folder / "x.ydc", {"old-y"});
  const int status = RunInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    try {
      SavePair(folder / "x.jdc", {std::string(GetParam().jukugoBytes, 'j')}, folder / "x.ydc",
               {std::string(GetParam().yomiBytes, 'y')});
    } catch (const Error& e) {
      // The file and the system's reason, in the player's language.
      const std::string expected = "ストリームへの書き込みエラー: " + (folder / GetParam().failing).string() +
                                   " (ファイルサイズの上限を超えました)";
      return std::string(e.what()) == expected ? 0 : 3;
    }
    return 1;
  });
  EXPECT_EQ(status, 0) << "1: no error, 3: wrong message";
  EXPECT_EQ(ReadBytes(folder / "x.jdc"), "old-j\r\n");
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), "old-y\r\n");
  EXPECT_EQ(folder.Names(), (V{"x.jdc", "x.ydc"}));
}

INSTANTIATE_TEST_SUITE_P(Rows, FullDiskTest,
                         testing::Values(FullDiskRow{"JukugoTooBig", 10000, 10, "x.jdc"},
                                         FullDiskRow{"ReadingTooBig", 10, 10000, "x.ydc"}),
                         [](const auto& info) { return std::string(info.param.name); });

// What reaches the disk: every flush a save asks for, by what it flushed and how far
// the save had gone, and a flush that fails when asked to.
struct FlushLog {
  static inline fs::path folder;
  static inline std::vector<std::string> calls;
  static inline int failing = -1;  // the index of the call that fails; -1: none

  static int Flush(int fd) {
    std::string what = "folder";
    struct stat st{};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
      char target[4096];
      const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
      what = n > 0 ? fs::path(std::string(target, static_cast<std::size_t>(n))).filename().string() : "?";
      // The random part of a save's own names.
      if (const std::size_t dash = what.rfind('-'); dash != std::string::npos) what = what.substr(0, dash + 1) + "*";
    }
    const char* stage = fs::exists(folder / "x.ydc.commit") ? "committed " : "writing ";
    calls.push_back(stage + what);
    if (static_cast<int>(calls.size()) - 1 == failing) {
      errno = EIO;
      return -1;
    }
    return ::fsync(fd);
  }
};

struct FlushRow {
  const char* name;
  int failing;           // which flush fails; -1: none
  const char* expected;  // the pair the next load sees: "old" or "new"
};

class SaveFlushTest : public testing::TestWithParam<FlushRow> {
 protected:
  void SetUp() override {
    FlushLog::folder = folder.Path();
    FlushLog::calls.clear();
    FlushLog::failing = GetParam().failing;
    previous_ = SetFlushCall(&FlushLog::Flush);
  }
  void TearDown() override { SetFlushCall(previous_); }

  TempFolder folder;

 private:
  FlushCall previous_ = nullptr;
};

// A kill right after a save leaves on disk only what was flushed: so each file and
// the folder naming them are flushed before the marker commits the save, and the
// folder again once it has. A flush that fails fails the save.
TEST_P(SaveFlushTest, FlushesBeforeCommittingAndFailsWithAFailedFlush) {
  WriteBytes(folder / "x.jdc", "old-j\r\n");
  WriteBytes(folder / "x.ydc", "old-y\r\n");
  const auto save = [&] { SavePair(folder / "x.jdc", {"new-j"}, folder / "x.ydc", {"new-y"}); };
  if (GetParam().failing < 0) {
    save();
    const V beforeCommit(FlushLog::calls.begin(), FlushLog::calls.begin() + std::min<std::ptrdiff_t>(4, std::ssize(FlushLog::calls)));
    EXPECT_EQ(beforeCommit, (V{"writing x.jdc.tmp-*", "writing x.ydc.tmp-*", "writing x.ydc.commit-*", "writing folder"}));
    EXPECT_NE(std::find(FlushLog::calls.begin(), FlushLog::calls.end(), "committed folder"), FlushLog::calls.end());
  } else {
    try {
      save();
      ADD_FAILURE() << "the save went through a failed flush";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("ストリームへの書き込みエラー"), std::string::npos) << e.what();
    }
    SetFlushCall(nullptr);
    Recover(folder);
  }
  EXPECT_EQ(folder.Names(), (V{"x.jdc", "x.ydc"}));
  EXPECT_EQ(ReadBytes(folder / "x.jdc"), GetParam().expected + std::string("-j\r\n"));
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), GetParam().expected + std::string("-y\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Flushes, SaveFlushTest,
                         testing::Values(FlushRow{"AllGoWell", -1, "new"}, FlushRow{"JukugoTemporaryFails", 0, "old"},
                                         FlushRow{"YomiTemporaryFails", 1, "old"}, FlushRow{"MarkerFails", 2, "old"},
                                         FlushRow{"FolderBeforeCommitFails", 3, "old"},
                                         // Committed already: the next load finishes the save.
                                         FlushRow{"FolderAfterCommitFails", 4, "new"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The files a save leaves when it is killed at each of its steps, and whether the
// pair the next start sees must be the old one or the new one. The temporaries'
// names are the save's own; the marker names them with their content.
struct InterruptRow {
  const char* name;
  std::map<std::string, std::string> files;
  bool marker;          // the commit marker of new-j / new-y is in place
  const char* expected;  // "old", "new" or "none"
  V kept = {};           // other files of the folder, which must stay byte for byte
  std::string markerText = {};  // a marker of other content in place of new-j / new-y's
};

class RecoverPairTest : public testing::TestWithParam<InterruptRow> {};

TEST_P(RecoverPairTest, GivesOldPairOrNewPairWhole) {
  TempFolder folder;
  for (const auto& [name, bytes] : GetParam().files) {
    fs::create_directories((folder / name).parent_path());
    WriteBytes(folder / name, bytes);
  }
  if (GetParam().marker)
    WriteBytes(folder / "x.ydc.commit", CommitMarker("x.jdc.tmp-aaaaaaaaa1", "new-j\r\n", "x.ydc.tmp-bbbbbbbbb2", "new-y\r\n"));
  if (!GetParam().markerText.empty()) WriteBytes(folder / "x.ydc.commit", GetParam().markerText);
  Recover(folder);
  const std::string expected = GetParam().expected;
  if (expected == "none") {
    EXPECT_TRUE(folder.Names().empty());
    return;
  }
  V names{"x.jdc", "x.ydc"};
  names.insert(names.end(), GetParam().kept.begin(), GetParam().kept.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(folder.Names(), names);
  for (const auto& [name, bytes] : GetParam().files) {
    const bool inSubfolder = name.find('/') != std::string::npos;
    if (inSubfolder || std::count(GetParam().kept.begin(), GetParam().kept.end(), name) != 0) {
      EXPECT_EQ(ReadBytes(folder / name), bytes) << name;
    }
  }
  EXPECT_EQ(ReadBytes(folder / "x.jdc"), expected + "-j\r\n");
  EXPECT_EQ(ReadBytes(folder / "x.ydc"), expected + "-y\r\n");
}

using Files = std::map<std::string, std::string>;
const Files kOld{{"x.jdc", "old-j\r\n"}, {"x.ydc", "old-y\r\n"}};
Files With(Files files, const Files& more) {
  files.insert(more.begin(), more.end());
  return files;
}
INSTANTIATE_TEST_SUITE_P(
    KillPoints, RecoverPairTest,
    testing::Values(
        InterruptRow{"NoSaveRunning", kOld, false, "old"},
        InterruptRow{"JukugoTemporaryCut", With(kOld, {{"x.jdc.tmp-aaaaaaaaa1", "ne"}}), false, "old"},
        InterruptRow{"BothTemporariesWholeNotCommitted",
                     With(kOld, {{"x.jdc.tmp-aaaaaaaaa1", "new-j\r\n"}, {"x.ydc.tmp-bbbbbbbbb2", "new-y\r\n"},
                                 {"x.ydc.commit-ccccccccc3", "renkomi"}}),
                     false, "old"},
        InterruptRow{"Committed", With(kOld, {{"x.jdc.tmp-aaaaaaaaa1", "new-j\r\n"}, {"x.ydc.tmp-bbbbbbbbb2", "new-y\r\n"}}),
                     true, "new"},
        InterruptRow{"JukugoInPlace",
                     Files{{"x.jdc", "new-j\r\n"}, {"x.ydc", "old-y\r\n"}, {"x.ydc.tmp-bbbbbbbbb2", "new-y\r\n"}},
                     true, "new"},
        InterruptRow{"FinishedBeforeTheMarkerWent", Files{{"x.jdc", "new-j\r\n"}, {"x.ydc", "new-y\r\n"}},
                     true, "new"},
        InterruptRow{"NewDictionaryCommitted",
                     Files{{"x.jdc.tmp-aaaaaaaaa1", "new-j\r\n"}, {"x.ydc.tmp-bbbbbbbbb2", "new-y\r\n"}}, true, "new"},
        InterruptRow{"NewDictionaryNotCommitted", Files{{"x.jdc.tmp-aaaaaaaaa1", "new-j\r\n"}, {"x.ydc.tmp-bbbbbbbbb2", "new"}},
                     false, "none"},
        // A marker is trusted only when both files it names hold what it records.
        InterruptRow{"MarkerOverOtherContent",
                     With(kOld, {{"x.jdc.tmp-aaaaaaaaa1", "new-j\r\n"}, {"x.ydc.tmp-bbbbbbbbb2", "evil\r\n"}}), true, "old"},
        InterruptRow{"MarkerWithoutItsFiles", kOld, true, "old"},
        // Dictionaries whose names merely begin like a save's files are the player's.
        InterruptRow{"OtherDictionariesWithSaveLikeNames",
                     With(kOld, {{"x.jdc.tmp-old.jdc", "a\r\n"}, {"x.jdc.tmp-old.ydc", "b\r\n"},
                                 {"x.ydc.commit-x", "c\r\n"}, {"x.ydc.tmp-backup", "d\r\n"},
                                 {"x.ydc.tmp-abcdefghijk", "e\r\n"}}),
                     false, "old",
                     V{"x.jdc.tmp-old.jdc", "x.jdc.tmp-old.ydc", "x.ydc.commit-x", "x.ydc.tmp-abcdefghijk",
                       "x.ydc.tmp-backup"}},
        InterruptRow{"MarkerNotASavesOwn", With(kOld, {{"x.ydc.commit", "x.jdc.tmp-aaaaaaaaa1\n"}}), false, "old"},
        // A marker naming files elsewhere, however well they match, is never followed.
        InterruptRow{"MarkerNamingASubfolder",
                     With(kOld, {{"sub/x.jdc.tmp-aaaaaaaaa1", "new-j\r\n"}, {"sub/x.ydc.tmp-bbbbbbbbb2", "new-y\r\n"}}),
                     false, "old", V{"sub"},
                     CommitMarker("sub/x.jdc.tmp-aaaaaaaaa1", "new-j\r\n", "sub/x.ydc.tmp-bbbbbbbbb2", "new-y\r\n")}),
    [](const auto& info) { return std::string(info.param.name); });

// The real thing: a process saving two versions in turn is killed at varying
// moments; each time the pair found afterwards is one version, whole, in both files.
TEST(SavePairTest, KilledInTheMiddleLeavesOneWholeVersion) {
  TempFolder folder;
  const fs::path jukugo = folder / "x.jdc";
  const fs::path yomi = folder / "x.ydc";
  auto version = [](char tag) {
    V entries;
    for (int i = 0; i < 3000; ++i) entries.push_back(std::string(1, tag) + std::to_string(i));
    return entries;
  };
  const V a = version('a');
  const V b = version('b');
  SavePair(jukugo, a, yomi, a);
  std::uint32_t delay = 7;
  int interrupted = 0;  // rounds killed while a save had files in flight
  for (int round = 0; round < 12; ++round) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      try {
        for (int i = 0;; ++i) {
          const V& v = (i % 2 == 0) ? b : a;
          SavePair(jukugo, v, yomi, v);
        }
      } catch (...) {
      }
      ::_exit(1);
    }
    delay = delay * 1103515245u + 12345u;
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + (delay >> 8) % 30000));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);

    if (folder.Names().size() > 2) ++interrupted;
    Recover(folder);
    V j, y;
    ASSERT_EQ(ReadEntries(Opened(folder), "x.jdc", j), ReadResult::kRead);
    ASSERT_EQ(ReadEntries(Opened(folder), "x.ydc", y), ReadResult::kRead);
    EXPECT_TRUE(j == a || j == b) << "round " << round << ": jukugo file has " << j.size() << " lines";
    EXPECT_EQ(j, y) << "round " << round << ": the two files are from different saves";
    EXPECT_EQ(folder.Names(), (V{"x.jdc", "x.ydc"}));
  }
  EXPECT_GT(interrupted, 0) << "no kill landed inside a save; the test proved nothing";
}

}  // namespace
}  // namespace renkomi
