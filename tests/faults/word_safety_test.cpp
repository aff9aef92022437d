// The words a player taught or played are never lost or mispaired: not by the next
// match, a kill, a pasted text, files other programs wrote, links planted in the
// program folder, or a folder that cannot be written when the game closes. Each
// test plays the real windows and then reads the files byte by byte.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <thread>

#include "fault_support.h"

namespace renkomi::faults {
namespace {

using test::PrintTo;

const std::vector<std::string> kJukugo{"日本", "本日", "本当", "当日", "入口", "来日", "来年", "本来", "日記", "記念"};
const std::vector<std::string> kYomi{"にほん", "ほんじつ", "ほんとう", "とうじつ", "いりぐち",
                                     "らいにち", "らいねん", "ほんらい", "にっき", "きねん"};

std::string Lines(const std::vector<std::string>& entries, std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += Cp932(entries[i]) + "\r\n";
  return bytes;
}

std::vector<Word> Words(const std::vector<std::size_t>& indexes) {
  std::vector<Word> words;
  for (const std::size_t i : indexes) words.emplace_back(Cp932(kJukugo[i]), Cp932(kYomi[i]));
  return words;
}
// The ten words after a lost match on the first: it moved to the end.
const std::vector<std::size_t> kAfterTheLoss{1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

// {j} and {y} in a text replaced by the two paths.
std::string Fill(std::string text, const fs::path& jukugo, const fs::path& yomi) {
  for (const auto& [mark, path] : {std::pair{std::string("{j}"), jukugo}, std::pair{std::string("{y}"), yomi}}) {
    for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 3, path.string());
  }
  return text;
}

// A program folder holding the shared dictionary's two files, as given.
class WordSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = temp_.Path() / "program";
    fs::create_directories(folder_);
  }
  void Write(const std::string& jukugo, const std::string& yomi) {
    WriteBytes(Jukugo(), jukugo);
    WriteBytes(Yomi(), yomi);
  }
  fs::path Jukugo() const { return folder_ / "renkomi.jdc"; }
  fs::path Yomi() const { return folder_ / "renkomi.ydc"; }

  // Runs a script to its end; the report, with the log kept for the messages.
  std::vector<ReportLine> Play(const std::vector<std::string>& arguments) {
    Played played = faults::Play(arguments.at(0), folder_, {arguments.begin() + 1, arguments.end()});
    log_ = played.log;
    return played.report;
  }

  std::vector<Word> Pairs() const { return PairsOf(ReadFile(Jukugo()), ReadFile(Yomi())); }
  static std::vector<Word> PairsOf(const std::string& jukugo, const std::string& yomi) {
    std::vector<Word> pairs;
    EXPECT_TRUE(CutPairs(jukugo, yomi, pairs));
    return pairs;
  }

  TempFolder temp_;
  fs::path folder_;
  std::string log_;
};

bool Holds(const std::vector<Word>& pairs, const std::string& jukugo, const std::string& yomi) {
  return std::find(pairs.begin(), pairs.end(), Word{Cp932(jukugo), Cp932(yomi)}) != pairs.end();
}

// A taught word is in the files at once: "はじめる" reloads them, and a kill right
// after loses nothing.
TEST_F(WordSafetyTest, TaughtWordSurvivesTheNextStartAndAKill) {
  Write(Lines(kJukugo, 5), Lines(kYomi, 5));
  PlayerProcess player({"teach-start", folder_.string()});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (StateAt(ParseReport(player.Log()), "started").empty() && player.Running() &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(player.Running()) << player.Outcome() << "\n" << player.Log();
  player.Kill();
  EXPECT_EQ(StateAt(ParseReport(player.Log()), "started")["playing"], "1") << player.Log();
  const std::vector<Word> pairs = Pairs();
  EXPECT_EQ(pairs.size(), 6u);
  EXPECT_TRUE(Holds(pairs, "日記", "にっき")) << Hex(ReadFile(Jukugo()));
}

// A file made elsewhere may hold a jukugo whose reading line is empty, or a reading
// without its jukugo. Opening and closing the organizer deletes nothing, so every
// line stays where it is (the files are already in the organizer's reading order).
TEST_F(WordSafetyTest, OrganizerKeepsRowsWithAnEmptyCell) {
  std::string jukugo = Cp932("気分") + "\r\n";
  std::string yomi = "\r\n";
  for (const std::size_t i : {4, 3, 0, 1, 2}) {  // いりぐち, とうじつ, にほん, ほんじつ, ほんとう
    jukugo += Cp932(kJukugo[i]) + "\r\n";
    yomi += Cp932(kYomi[i]) + "\r\n";
  }
  jukugo += "\r\n";
  yomi += Cp932("らいねん") + "\r\n";
  Write(jukugo, yomi);
  const std::vector<ReportLine> report = Play({"organize"});
  EXPECT_EQ(StateAt(report, "organized")["organizer"], "0") << log_;
  EXPECT_TRUE(Errors(report).empty()) << log_;
  EXPECT_EQ(Hex(ReadFile(Jukugo())), Hex(jukugo));
  EXPECT_EQ(Hex(ReadFile(Yomi())), Hex(yomi));
}

// ---- Texts pasted into the word entry dialog

struct PasteRow {
  const char* name;
  const char* box;   // "jukugo" or "yomi"
  std::string text;  // UTF-8, as the clipboard holds it
  const char* set;   // the message set that refuses it
};
class PasteTest : public WordSafetyTest, public ::testing::WithParamInterface<PasteRow> {};

TEST_P(PasteTest, RefusedLikeEnterAndNothingStored) {
  const std::string jukugo = Lines(kJukugo, 5);
  const std::string yomi = Lines(kYomi, 5);
  Write(jukugo, yomi);
  const std::vector<ReportLine> report = Play({"paste-teach", GetParam().box, Hex(GetParam().text)});
  // The box really held the pasted text, control character and all.
  ASSERT_FALSE(report.empty());
  auto after = StateAt(report, "after-hai");
  EXPECT_EQ(after["dialog"], "1") << "the dialog closed on a text Enter refuses\n" << log_;
  EXPECT_EQ(after["set"], GetParam().set) << log_;
  EXPECT_EQ(after[GetParam().box], "") << "the refused box is emptied";
  EXPECT_EQ(after["focus"], std::string("edtINPUT_") + (std::string(GetParam().box) == "jukugo" ? "JUKU" : "YOMI"));
  EXPECT_TRUE(Errors(report).empty()) << log_;
  EXPECT_EQ(ReadFile(Jukugo()), jukugo);
  EXPECT_EQ(ReadFile(Yomi()), yomi);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PasteTest,
    ::testing::Values(PasteRow{"LineBreakAfterTheJukugo", "jukugo", "来日\n", "9"},
                      PasteRow{"LineBreakInsideTheReading", "yomi", "らい\r\nにち", "10"},
                      PasteRow{"NulInTheJukugo", "jukugo", std::string("来\0日", 4), "9"},
                      PasteRow{"Emoji", "jukugo", "来日\xF0\x9F\x98\x80", "9"},
                      // Unicode tag characters U+E0001 and U+E0041, as a copied flag carries them.
                      PasteRow{"TagCharacters", "jukugo", "来日\xF3\xA0\x80\x81\xF3\xA0\x81\x81", "9"},
                      PasteRow{"TagCharacterInTheReading", "yomi", "らい\xF3\xA0\x81\x81にち", "10"}),
    [](const ::testing::TestParamInfo<PasteRow>& info) { return std::string(info.param.name); });

// ---- Files the game must refuse, kept byte for byte

struct RefusedRow {
  const char* name;
  std::string jukugo;  // the files' bytes
  std::string yomi;
  std::string error;   // with {j} and {y} for the two paths
};
class RefusedFilesTest : public WordSafetyTest, public ::testing::WithParamInterface<RefusedRow> {};

std::string Utf16(const std::string& ascii) {
  std::string bytes("\xFF\xFE", 2);
  for (const char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}

// As a Linux text editor saves them: UTF-8, LF line ends.
std::string Utf8Lines(const std::vector<std::string>& entries, std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += entries[i] + "\n";
  return bytes;
}

TEST_P(RefusedFilesTest, ErrorNamesTheFileAndNothingIsWritten) {
  Write(GetParam().jukugo, GetParam().yomi);
  const std::vector<ReportLine> report = Play({"refused-choice"});
  EXPECT_EQ(Errors(report), std::vector<std::string>{Fill(GetParam().error, Jukugo(), Yomi())}) << log_;
  // The choice stays open: the dictionary is not used.
  auto state = StateAt(report, "refused");
  EXPECT_EQ(state["panel"], "1") << log_;
  EXPECT_EQ(state["buttons"], "0");
  // Every word is where it was: the files byte for byte, nothing beside them.
  EXPECT_EQ(ReadFile(Jukugo()), GetParam().jukugo);
  EXPECT_EQ(ReadFile(Yomi()), GetParam().yomi);
  EXPECT_EQ(CountFiles(folder_), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFilesTest,
    ::testing::Values(
        RefusedRow{"MoreJukugoThanReadings", Lines(kJukugo, 10), Lines(kYomi, 8),
                   "辞書のファイルの行数がそろっていません: {j} は 10 行、{y} は 8 行です"},
        RefusedRow{"MoreReadingsThanJukugo", Lines(kJukugo, 6), Lines(kYomi, 10),
                   "辞書のファイルの行数がそろっていません: {j} は 6 行、{y} は 10 行です"},
        RefusedRow{"NulInsideTheJukugoFile", Lines(kJukugo, 3) + std::string(1, '\0') + Lines(kJukugo, 10).substr(18),
                   Lines(kYomi, 10), "ファイル {j} を読み込めません (NUL 文字のあとにもデータがあります)"},
        RefusedRow{"Utf16ReadingFile", Lines(kJukugo, 2), Utf16("nihon\r\nhonjitsu\r\n"),
                   "ファイル {y} を読み込めません (NUL 文字のあとにもデータがあります)"},
        // One byte over the limit: refused by its size, before it is read.
        RefusedRow{"HugeJukugoFile", Lines(kJukugo, 10) + std::string((8 << 20) + 1 - Lines(kJukugo, 10).size(), 'x'),
                   Lines(kYomi, 10),
                   "ファイル {j} は大きすぎるので辞書に使えません (8388609 バイト。辞書のファイルは 8 MB まで)"},
        RefusedRow{"Utf8PairFromALinuxEditor", Utf8Lines(kJukugo, 10), Utf8Lines(kYomi, 10),
                   "ファイル {y} を読み込めません (UTF-8 のようです。Shift-JIS で保存してください)"},
        RefusedRow{"Utf8JukugoFileWithByteOrderMark", "\xEF\xBB\xBF" + Utf8Lines(kJukugo, 5), Lines(kYomi, 5),
                   "ファイル {j} を読み込めません (BOM 付きの UTF-8 のようです。Shift-JIS で保存してください)"},
        RefusedRow{"CharacterCutInHalfByALineEnd", Lines(kJukugo, 3) + "\x93\r\n\xFA\r\n", Lines(kYomi, 5),
                   "ファイル {j} を読み込めません (4 行目の終わりで Shift-JIS の文字が切れています)"},
        RefusedRow{"InvalidLeadByte", Lines(kJukugo, 5), Lines(kYomi, 2) + "\xFF" + Lines(kYomi, 5).substr(18),
                   "ファイル {y} を読み込めません (3 行目に Shift-JIS にないバイト 0xFF があります)"},
        RefusedRow{"EscInAnEntry", Lines(kJukugo, 1) + "\x1B[1m" + Lines(kJukugo, 2).substr(6), Lines(kYomi, 2),
                   "ファイル {j} を読み込めません (2 行目に制御文字 ESC (0x1B) があります)"},
        RefusedRow{"SubInAnEntry", Lines(kJukugo, 2), Cp932("にほん") + "\x1A\r\n" + Lines(kYomi, 2).substr(8),
                   "ファイル {y} を読み込めません (1 行目に制御文字 SUB (0x1A) があります)"},
        RefusedRow{"TabInAnEntry", Lines(kJukugo, 4) + Cp932("入口") + "\t" + Cp932("いりぐち") + "\r\n",
                   Lines(kYomi, 5), "ファイル {j} を読み込めません (5 行目に制御文字 TAB (0x09) があります)"}),
    [](const ::testing::TestParamInfo<RefusedRow>& info) { return std::string(info.param.name); });

// ---- Links planted where a save makes its files, and other dictionaries whose
// names begin like them

TEST_F(WordSafetyTest, PlantedLinksAndSaveLikeNamesAreNeverWrittenOrRemoved) {
  Write(Lines(kJukugo, 10), Lines(kYomi, 10));
  const fs::path secret = temp_.Path() / "secret";
  WriteBytes(secret, "not the game's");
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  // The names saves used to write to, and the commit marker's.
  for (const char* name : {"renkomi.jdc.tmp", "renkomi.ydc.tmp", "renkomi.ydc.ready", "renkomi.ydc.commit"})
    fs::create_symlink(secret, folder_ / name);
  // Personal dictionaries and backups the player keeps beside the shared one.
  const std::map<std::string, std::string> others{
      {"renkomi.jdc.tmp-old.jdc", Lines(kJukugo, 3)}, {"renkomi.jdc.tmp-old.ydc", Lines(kYomi, 3)},
      {"renkomi.ydc.commit-x", Lines(kYomi, 4)},      {"renkomi.ydc.tmp-backup", Lines(kYomi, 5)}};
  for (const auto& [name, bytes] : others) WriteBytes(folder_ / name, bytes);

  const std::vector<ReportLine> report = Play({"loss"});
  EXPECT_TRUE(Errors(report).empty()) << log_;
  EXPECT_EQ(ReadFile(secret), "not the game's");
  EXPECT_EQ(fs::status(secret).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  for (const auto& [name, bytes] : others) {
    ASSERT_TRUE(fs::exists(folder_ / name)) << name << " was removed";
    EXPECT_EQ(ReadFile(folder_ / name), bytes) << name;
  }
  EXPECT_EQ(Pairs(), Words(kAfterTheLoss)) << "the match was not saved whole";
  EXPECT_FALSE(fs::is_symlink(Jukugo()));
  EXPECT_FALSE(fs::is_symlink(Yomi()));
  std::size_t links = 0;
  for (const auto& entry : fs::directory_iterator(folder_)) links += entry.is_symlink() ? 1 : 0;
  EXPECT_EQ(CountFiles(folder_) - static_cast<std::ptrdiff_t>(links), 6) << "leftovers";
}

// ---- The program folder swapped for a link to another folder under a running game

TEST_F(WordSafetyTest, SavesGoIntoTheFolderTheGameOpened) {
  Write(Lines(kJukugo, 10), Lines(kYomi, 10));
  // Another folder with a dictionary of its own, which the game must never touch.
  const fs::path other = temp_.Path() / "other";
  fs::create_directories(other);
  WriteBytes(other / "renkomi.jdc", Lines(kJukugo, 2));
  WriteBytes(other / "renkomi.ydc", Lines(kYomi, 2));

  // Chosen, then the folder renamed to "moved" and a link to "other" put in its place.
  const std::vector<ReportLine> report = Play({"swap-folder", other.string()});
  EXPECT_TRUE(Errors(report).empty()) << log_;
  EXPECT_EQ(ReadFile(other / "renkomi.jdc"), Lines(kJukugo, 2));
  EXPECT_EQ(ReadFile(other / "renkomi.ydc"), Lines(kYomi, 2));
  EXPECT_EQ(CountFiles(other), 2);
  // The match, played on the game's own words, was saved in the game's own folder.
  ASSERT_TRUE(fs::is_symlink(folder_));
  folder_ = temp_.Path() / "moved";
  EXPECT_EQ(Pairs(), Words(kAfterTheLoss));
  EXPECT_EQ(CountFiles(folder_), 2) << "leftovers";
}

// ---- A program folder that cannot be written when the game closes

struct ReadOnlyRow {
  const char* name;
  const char* how;  // "unchanged": closed between matches; "changed": closed during a match
};
class ReadOnlyCloseTest : public WordSafetyTest, public ::testing::WithParamInterface<ReadOnlyRow> {};

TEST_P(ReadOnlyCloseTest, PlayerCanAlwaysQuit) {
  const std::string jukugo = Lines(kJukugo, 10);
  const std::string yomi = Lines(kYomi, 10);
  Write(jukugo, yomi);
  const std::vector<ReportLine> report = Play({"readonly-close", GetParam().how});
  fs::permissions(folder_, fs::perms::owner_all);
  const std::string question = "辞書を保存できませんでした。保存しないで終わりますか？";
  const std::string error = "ファイル " + Jukugo().string() + " を作成できません (アクセスが許可されていません)";
  if (std::string(GetParam().how) == "unchanged") {
    // Nothing to save: no error, no question, the game just ends.
    EXPECT_EQ(CountDialogs(report, "エラー", error), 0) << log_;
    EXPECT_EQ(CountDialogs(report, "確認", question), 0) << log_;
  } else {
    // Told what is in the way, then asked: "いいえ" kept the game, "はい" quit.
    EXPECT_EQ(CountDialogs(report, "エラー", error), 2) << log_;
    EXPECT_EQ(CountDialogs(report, "確認", question), 2) << log_;
    EXPECT_EQ(StateAt(report, "close-refused")["window"], "1") << log_;
  }
  EXPECT_EQ(ReadFile(Jukugo()), jukugo);
  EXPECT_EQ(ReadFile(Yomi()), yomi);
}

INSTANTIATE_TEST_SUITE_P(Moments, ReadOnlyCloseTest,
                         ::testing::Values(ReadOnlyRow{"Unchanged", "unchanged"}, ReadOnlyRow{"DuringAMatch", "changed"}),
                         [](const ::testing::TestParamInfo<ReadOnlyRow>& info) { return std::string(info.param.name); });

// ---- Files another program changes while the game holds them

// Shell commands of a text editor's kind, on {j} (the jukugo file) and {y}: the
// lines of the words at these indexes of kJukugo / kYomi appended (in place), or
// line N deleted (sed writes a new file and renames it over the old one).
std::string AppendTo(const char* file, const std::vector<std::string>& entries, std::size_t index) {
  std::string octal;
  for (const unsigned char c : Cp932(entries[index]) + "\r\n") {
    char digits[8];
    std::snprintf(digits, sizeof digits, "\\%03o", c);
    octal += digits;
  }
  return std::string("printf '") + octal + "' >> " + file;
}
std::string AppendPair(std::size_t index) { return AppendTo("{j}", kJukugo, index) + " && " + AppendTo("{y}", kYomi, index); }
std::string DeleteLine(const char* file, int line) { return "sed -i '" + std::to_string(line) + "d' " + file; }
std::string DeletePair(int line) { return DeleteLine("{j}", line) + " && " + DeleteLine("{y}", line); }

struct OutsideRow {
  const char* name;
  const char* moment;  // the save: "teach", "loss" (the end of a match), "organizer"
  std::string edit;    // the other program's command
  std::vector<std::size_t> saved;  // the pairs written by the save (indexes into kJukugo); empty: refused
  std::string repair = {};                 // refused: the player's repair
  std::vector<std::size_t> repaired = {};  // the pairs the next save or load writes after it
};
class OutsideEditTest : public WordSafetyTest, public ::testing::WithParamInterface<OutsideRow> {
 protected:
  std::string Command(const std::string& command) const { return Fill(command, Jukugo(), Yomi()); }
  // The pairs of a files line of the report, as Pairs() reads the files.
  static std::vector<Word> PairsAt(const std::vector<ReportLine>& report, const std::string& label) {
    auto files = FilesAt(report, label);
    return PairsOf(files["renkomi.jdc"], files["renkomi.ydc"]);
  }
};

// Both changes are kept: the other program's words added and deleted, and the
// game's own (a taught word, the played words going to the end, the organizer's
// deletion and sorted order). Files left uneven are never written over: the error
// names the dictionary, and the game's change waits for the repaired files.
TEST_P(OutsideEditTest, BothChangesKeptAndUnevenFilesNeverReplaced) {
  const OutsideRow& row = GetParam();
  Write(Lines(kJukugo, 5), Lines(kYomi, 5));
  std::vector<std::string> arguments{"outside-edit", row.moment, Command(row.edit)};
  if (!row.repair.empty()) arguments.push_back(Command(row.repair));
  const std::vector<ReportLine> report = Play(arguments);
  const auto saved = FilesAt(report, "saved");
  if (!row.saved.empty()) {
    EXPECT_TRUE(Errors(report).empty()) << log_;
    EXPECT_EQ(PairsAt(report, "saved"), Words(row.saved)) << log_;
    EXPECT_EQ(Pairs(), Words(row.saved)) << "closing wrote again";
    return;
  }
  // Refused: the files as the other program left them, byte for byte.
  WriteBytes(temp_.Path() / "j", Lines(kJukugo, 5));
  WriteBytes(temp_.Path() / "y", Lines(kYomi, 5));
  ASSERT_EQ(std::system(Fill(row.edit, temp_.Path() / "j", temp_.Path() / "y").c_str()), 0);
  EXPECT_EQ(saved.at("renkomi.jdc"), ReadFile(temp_.Path() / "j")) << log_;
  EXPECT_EQ(saved.at("renkomi.ydc"), ReadFile(temp_.Path() / "y")) << log_;
  std::vector<std::string> lines;
  CutStrictly(ReadFile(temp_.Path() / "j"), lines);
  const std::size_t jukugoLines = lines.size();
  CutStrictly(ReadFile(temp_.Path() / "y"), lines);
  EXPECT_EQ(Errors(report).at(0), "辞書「renkomi」はゲームの外で変更され、ファイルの行数がそろっていません: " +
                                      Jukugo().string() + " は " + std::to_string(jukugoLines) + " 行、" +
                                      Yomi().string() + " は " + std::to_string(lines.size()) +
                                      " 行です。辞書は保存していません。ファイルを直すと、次の保存でゲームの変更もあわせて保存します")
      << log_;
  // After the repair the game's change is written on top of the other program's.
  const std::vector<Word> repaired =
      std::string(row.moment) == "loss" ? PairsAt(report, "after-repair") : Pairs();
  EXPECT_EQ(repaired, Words(row.repaired)) << log_;
  EXPECT_EQ(Errors(report).size(), 1u) << log_;
}

// 0 日本, 1 本日, 2 本当, 3 当日, 4 入口 in the files; 5 来日 is the other program's
// word, 8 日記 the taught one; the match's first word is 日本. The organizer shows
// 入口 当日 日本 本日 本当 and deletes its first row.
INSTANTIATE_TEST_SUITE_P(
    Edits, OutsideEditTest,
    ::testing::Values(
        OutsideRow{"TeachingUnchangedFiles", "teach", "true", {0, 1, 2, 3, 4, 8}},
        OutsideRow{"TeachingAfterAnEditorAppended", "teach", AppendPair(5), {0, 1, 2, 3, 4, 8, 5}},
        OutsideRow{"TeachingAfterAnEditorDeleted", "teach", DeletePair(3), {0, 1, 3, 4, 8}},
        OutsideRow{"MatchEndUnchangedFiles", "loss", "true", {1, 2, 3, 4, 0}},
        OutsideRow{"MatchEndAfterAnEditorAppended", "loss", AppendPair(5), {1, 2, 3, 4, 0, 5}},
        OutsideRow{"MatchEndAfterAnEditorDeletedThePlayedWord", "loss", DeletePair(1), {1, 2, 3, 4}},
        OutsideRow{"OrganizerAfterAnEditorAppended", "organizer", AppendPair(5), {3, 0, 1, 2, 5}},
        OutsideRow{"OrganizerAfterAnEditorDeleted", "organizer", DeletePair(2), {3, 0, 2}},
        OutsideRow{"TeachingAfterAnUnevenEdit", "teach", AppendTo("{j}", kJukugo, 5), {},
                   AppendTo("{y}", kYomi, 5), {0, 1, 2, 3, 4, 8, 5}},
        OutsideRow{"MatchEndAfterAnUnevenEdit", "loss", DeleteLine("{y}", 3), {}, DeleteLine("{j}", 3),
                   {1, 3, 4, 0}},
        OutsideRow{"OrganizerAfterAnUnevenEdit", "organizer", AppendTo("{j}", kJukugo, 5), {},
                   AppendTo("{y}", kYomi, 5), {3, 0, 1, 2, 5}}),
    [](const ::testing::TestParamInfo<OutsideRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi::faults
