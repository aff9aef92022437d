#include "match.h"

#include <gtest/gtest.h>

#include <functional>

#include "dictionary_files.h"
#include "pair_save.h"
#include "errors.h"
#include "engine_test_names.h"
#include "recording_window.h"

namespace renkomi {
namespace {

using test::RecordingWindow;
using test::Screen;

constexpr auto kBlue = BubbleColour::Blue;
const std::string kBoxes = "UserJukugo UserYomi";  // enabled during a match
// The window between matches, as every end of a match leaves it.
const Screen kIdle{.enabled = "Start Finish Teach", .focus = "Start", .messageSet = 1};

// The first generator state whose next draws are exactly `draws` ({n, result}).
std::uint32_t StateGiving(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> draws) {
  for (std::uint32_t state = 0;; ++state) {
    Random probe(state);
    bool all = true;
    for (auto [n, result] : draws) all = all && probe.RandomBelow(n) == result;
    if (all) return state;
  }
}

class MatchTest : public testing::Test {
 protected:
  TempFolder folder;
  DictionaryStore store{folder.Path()};
  RecordingWindow window;
  Random random;
  Match match{store, window, random};

  // Writes the dictionary files from UTF-8 pairs and chooses them.
  void UseDictionary(std::initializer_list<std::pair<const char*, const char*>> words) {
    V jukugo, yomi;
    for (auto [j, y] : words) {
      jukugo.push_back(Sj(j));
      yomi.push_back(Sj(y));
    }
    SavePair(folder / "d.jdc", jukugo, folder / "d.ydc", yomi);
    store.ChooseDictionary("d");
  }

  // Opens a match whose opening word is COMP entry `k` of `count`.
  void StartWith(std::uint32_t count, std::uint32_t k) {
    random.SetState(StateGiving({{count, k}}));
    match.Start();
    window.Take();
  }

  // The player clicks into a box and types; Enter is then pressed in that box.
  void Type(Control c, const char* utf8) {
    window.text[c] = Sj(utf8);
    window.focus = c;
  }
  // Enter in a player's box: the window hands the match what its boxes hold then.
  void EnterJukugo() { match.SubmitJukugo(window.Text(Control::UserJukugo)); }
  void EnterYomi() { match.SubmitYomi(window.Text(Control::UserJukugo), window.Text(Control::UserYomi)); }

  // Types a move and submits both boxes.
  void Play(const char* jukugo, const char* yomi) {
    Type(Control::UserJukugo, jukugo);
    EnterJukugo();
    Type(Control::UserYomi, yomi);
    EnterYomi();
  }

  void DefaultDictionary() {
    UseDictionary({{"日本", "にほん"}, {"本日", "ほんじつ"}, {"本当", "ほんとう"},
                   {"当日", "とうじつ"}, {"入口", "いりぐち"}});
  }
};

TEST_F(MatchTest, OpeningMove) {
  DefaultDictionary();
  store.used.Append("stale", "stale");
  store.comp.Append("unsaved", "unsaved");
  random.SetState(StateGiving({{5, 3}}));
  match.Start();
  EXPECT_EQ(window.Now(), (Screen{.compJukugo = "当日", .compYomi = "とうじつ", .enabled = kBoxes,
                                  .focus = "UserJukugo", .messageSet = 5}));
  EXPECT_TRUE(window.Take().empty());
  EXPECT_TRUE(match.InProgress());
  EXPECT_EQ(match.ComputerWord(), (WordPair{Sj("当日"), Sj("とうじつ")}));
  EXPECT_EQ(store.used.jukugo().Entries(), SjList({"当日"}));
  EXPECT_EQ(store.used.yomi().Entries(), SjList({"とうじつ"}));
  EXPECT_EQ(store.comp.jukugo().Entries(), SjList({"日本", "本日", "本当", "入口"}));
  EXPECT_EQ(store.comp.yomi().Entries(), SjList({"にほん", "ほんじつ", "ほんとう", "いりぐち"}));
}

TEST_F(MatchTest, EmptyDictionaryStartsNoMatch) {
  UseDictionary({});
  store.used.Append("stale", "stale");
  try {
    match.Start();
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "辞書にことばがひとつもありません。");
  }
  EXPECT_EQ(window.Now(), Screen{});
  EXPECT_TRUE(window.Take().empty());
  EXPECT_FALSE(match.InProgress());
  EXPECT_EQ(store.used.jukugo().Count(), 0u);
}

// A save cut short leaves its commit marker for the next load to finish. A marker
// naming a temporary anywhere but beside the dictionary is no save's own: the
// match opens on the pair in place, and what the marker named stays untouched.
TEST_F(MatchTest, StartTrustsNoMarkerNamingAFileInASubfolder) {
  UseDictionary({{"日本", "にほん"}});
  const std::string jukugo = "d.jdc.tmp-sub/aaaaaa", yomi = "d.ydc.tmp-sub/bbbbbb";
  fs::create_directory(folder / "d.jdc.tmp-sub");
  fs::create_directory(folder / "d.ydc.tmp-sub");
  WriteBytes(folder / jukugo, Sj("入口\r\n"));
  WriteBytes(folder / yomi, Sj("いりぐち\r\n"));
  WriteBytes(folder / "d.ydc.commit", CommitMarker(jukugo, Sj("入口\r\n"), yomi, Sj("いりぐち\r\n")));
  StartWith(1, 0);
  EXPECT_EQ(window.Now().compJukugo, "日本");
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("日本\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), Sj("にほん\r\n"));
  EXPECT_EQ(ReadBytes(folder / jukugo), Sj("入口\r\n"));
  EXPECT_FALSE(fs::exists(folder / "d.ydc.commit"));
}

struct JukugoRow {
  const char* name;
  const char* typed;
  bool accepted;  // the reading is asked for; else the box is emptied for a new try
};

class JukugoSubmissionTest : public MatchTest, public testing::WithParamInterface<JukugoRow> {};

TEST_P(JukugoSubmissionTest, Row) {
  DefaultDictionary();
  StartWith(5, 0);
  Type(Control::UserYomi, "ほん");
  Type(Control::UserJukugo, GetParam().typed);
  Screen expected = window.Now();
  EnterJukugo();
  if (GetParam().accepted) {
    expected.focus = "UserYomi";
    expected.messageSet = 11;
  } else {
    expected.userJukugo = "";
    expected.messageSet = 9;
  }
  EXPECT_EQ(window.Now(), expected);
  EXPECT_TRUE(window.Take().empty());
  EXPECT_TRUE(match.InProgress());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, JukugoSubmissionTest,
    testing::Values(JukugoRow{"Kanji", "本日", true}, JukugoRow{"KanjiNotChainedStillAccepted", "入口", true},
                    JukugoRow{"Hiragana", "ほんじつ", false}, JukugoRow{"Empty", "", false},
                    JukugoRow{"KousanWithSpaceBefore", " こうさん", false},
                    JukugoRow{"KousanWithSpaceAfter", "こうさん ", false},
                    JukugoRow{"IterationMark", "日々", false}, JukugoRow{"KanjiAndAscii", "本日a", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MatchTest, ReadingRefused) {
  DefaultDictionary();
  StartWith(5, 0);
  for (const char* reading : {"ホンジツ", "ほんじつー", "", "ほん じつ", "ぁ"}) {
    Type(Control::UserJukugo, "本日");
    Type(Control::UserYomi, reading);
    Screen expected = window.Now();
    EnterYomi();
    expected.userYomi = "";
    expected.messageSet = 10;
    EXPECT_EQ(window.Now(), expected) << reading;
  }
  EXPECT_TRUE(window.Take().empty());
  EXPECT_TRUE(match.InProgress());
  EXPECT_EQ(store.used.jukugo().Count(), 1u);
}

TEST_F(MatchTest, ComputerReplies) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  random.SetState(StateGiving({{1, 0}, {4, 2}}));
  Play("本当", "ほんとう");
  EXPECT_EQ(window.Now(), (Screen{.compJukugo = "当日", .compYomi = "とうじつ", .enabled = kBoxes,
                                  .focus = "UserJukugo", .messageSet = 14, .gauge = 99}));
  EXPECT_TRUE(window.Take().empty());
  EXPECT_EQ(match.ComputerWord(), (WordPair{Sj("当日"), Sj("とうじつ")}));
  EXPECT_EQ(store.used.jukugo().Entries(), SjList({"日本", "本当", "当日"}));
  EXPECT_EQ(store.used.yomi().Entries(), SjList({"にほん", "ほんとう", "とうじつ"}));
  EXPECT_EQ(store.comp.jukugo().Entries(), SjList({"本日", "入口"}));
  EXPECT_TRUE(match.InProgress());
}

TEST_F(MatchTest, ReplyDrawsCandidateThenMessageAndTakesOutTheDrawnEntry) {
  // 日日 stands twice; the drawn one leaves COMP, not the first one found.
  UseDictionary({{"日本", "にほん"}, {"日日", "ひび"}, {"本日", "ほんじつ"}, {"日日", "にちにち"},
                 {"日光", "にっこう"}});
  StartWith(5, 0);  // 日本
  random.SetState(StateGiving({{3, 1}, {4, 3}}));
  Play("本日", "ほんび");
  EXPECT_EQ(window.Now(), (Screen{.compJukugo = "日日", .compYomi = "にちにち", .enabled = kBoxes,
                                  .focus = "UserJukugo", .messageSet = 15, .gauge = 58}));
  EXPECT_EQ(store.comp.jukugo().Entries(), SjList({"日日", "日光"}));
  EXPECT_EQ(store.comp.yomi().Entries(), SjList({"ひび", "にっこう"}));
  // The player's pair went to USED with the reading typed, whatever COMP had.
  EXPECT_EQ(store.used.yomi().Entries(), SjList({"にほん", "ほんび", "にちにち"}));
}

// The sound plays before the dialog, and the reason stays in the bubble behind it.
std::vector<std::string> Lost(int messageSet, int gauge = 0) {
  return {"sound Chimes.wav", "information あなたの負けです。 [" + std::to_string(messageSet) + " Blue " +
                                  std::to_string(gauge) + "%]"};
}
// A win keeps the gauge at 100 and the purple bubble behind both dialogs.
const V kWon{"sound Tada.wav", "information あなたの勝ちです。 [8 Purple 100%]",
             "question 本気 に続くことばをおしえてくれますか？ [8 Purple 100%]"};

struct LossRow {
  const char* name;
  const char* jukugo;  // typed for the move (nullptr: surrender in the jukugo box)
  const char* yomi;
  int messageSet;
};

class LossTest : public MatchTest, public testing::WithParamInterface<LossRow> {};

TEST_P(LossTest, EndsTheMatchSavedBeforeTheDialog) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  std::string fileAtDialog;
  window.onInformation = [&] { fileAtDialog = ReadBytes(folder / "d.jdc"); };
  Type(Control::UserJukugo, GetParam().jukugo);
  if (GetParam().yomi == nullptr) {
    EnterJukugo();
  } else {
    Type(Control::UserYomi, GetParam().yomi);
    EnterYomi();
  }
  EXPECT_EQ(window.Take(), Lost(GetParam().messageSet));
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_FALSE(match.InProgress());
  // The opening word went back to the end of the dictionary before the dialog.
  EXPECT_EQ(fileAtDialog, Sj("本日\r\n本当\r\n当日\r\n入口\r\n日本\r\n"));
  EXPECT_EQ(store.used.jukugo().Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LossTest,
    testing::Values(LossRow{"Surrender", "こうさん", nullptr, 17},
                    LossRow{"BrokenChain", "入口", "いりぐち", 6},
                    LossRow{"EmptyJukugoAtReading", "", "ほん", 6},
                    // The chain is tested before repetition.
                    LossRow{"UsedAndBrokenChain", "日本", "にほん", 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MatchTest, RepeatedWordLosesWithReasonTwo) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  random.SetState(StateGiving({{1, 0}, {4, 0}}));
  Play("本当", "ほんとう");  // the computer answers 当日
  Play("日本", "にほん");   // chains to 当日, but was the opening word
  EXPECT_EQ(window.Take(), Lost(7, 99));
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_FALSE(match.InProgress());
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("本日\r\n入口\r\n日本\r\n本当\r\n当日\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), Sj("ほんじつ\r\nいりぐち\r\nにほん\r\nほんとう\r\nとうじつ\r\n"));
}

TEST_F(MatchTest, WinWithoutTeaching) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  const std::uint32_t stateBefore = random.State();
  // 本気 is no dictionary word; nothing in the dictionary starts with 気.
  Play("本気", "ほんき");
  EXPECT_EQ(window.Take(), kWon);
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_EQ(random.State(), stateBefore) << "a win draws nothing";
  EXPECT_FALSE(match.InProgress());
  // The new word joined the dictionary with the player's reading, after the rest.
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("本日\r\n本当\r\n当日\r\n入口\r\n日本\r\n本気\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"),
            Sj("ほんじつ\r\nほんとう\r\nとうじつ\r\nいりぐち\r\nにほん\r\nほんき\r\n"));
}

TEST_F(MatchTest, ReadingKousanIsAnOrdinaryReadingAndJukugoIsTakenAsItStands) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  Type(Control::UserJukugo, "本日");
  EnterJukugo();
  Type(Control::UserJukugo, "本気");  // changed after Enter, not submitted again
  Type(Control::UserYomi, "こうさん");
  EnterYomi();
  EXPECT_EQ(window.Take(), kWon);
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("本日\r\n本当\r\n当日\r\n入口\r\n日本\r\n本気\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"),
            Sj("ほんじつ\r\nほんとう\r\nとうじつ\r\nいりぐち\r\nにほん\r\nこうさん\r\n"));
}

TEST_F(MatchTest, WinThenTeachingAChainedWord) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  window.answers = {true};
  window.pairs = {{Sj("入口"), Sj("いりぐち")}, {Sj("気分"), Sj("きぶん")}};
  Play("本気", "ほんき");
  V moments = kWon;
  const std::string entry = "word entry じゅくごをおしえて / 本気 につづくことばを入れてね。";
  moments.insert(moments.end(), {entry + " [8 Purple 100%]", "beep", entry + " [16 Red 100%]"});
  EXPECT_EQ(window.Take(), moments);
  EXPECT_EQ(window.Now(), kIdle);
  // Saved at once, after the words of the match.
  EXPECT_EQ(ReadBytes(folder / "d.jdc"),
            Sj("本日\r\n本当\r\n当日\r\n入口\r\n日本\r\n本気\r\n気分\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"),
            Sj("ほんじつ\r\nほんとう\r\nとうじつ\r\nいりぐち\r\nにほん\r\nほんき\r\nきぶん\r\n"));
}

TEST_F(MatchTest, SaveFailureAtTheEndStillEndsTheMatch) {
  DefaultDictionary();
  StartWith(5, 0);
  fs::create_directory(folder / "d.ydc.commit");  // the save cannot commit
  Type(Control::UserJukugo, "こうさん");
  try {
    EnterJukugo();
    ADD_FAILURE() << "the failed save was not reported";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル " + (folder / "d.ydc.commit").string() + " を作成できません (フォルダです)");
  }
  EXPECT_EQ(window.Take(), Lost(17));
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_FALSE(match.InProgress());
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("日本\r\n本日\r\n本当\r\n当日\r\n入口\r\n"));
}

TEST_F(MatchTest, SubmissionsBetweenMatchesDoNothing) {
  DefaultDictionary();
  Type(Control::UserYomi, "ほん");
  Type(Control::UserJukugo, "こうさん");
  const Screen before = window.Now();
  EnterJukugo();
  EnterYomi();
  EXPECT_EQ(window.Now(), before);
  EXPECT_TRUE(window.Take().empty());
  EXPECT_FALSE(fs::exists(folder / "d.jdc.tmp"));
}

// The next match reloads the files: a taught word is already there.
TEST_F(MatchTest, TaughtWordIsWrittenAtOnceAndSurvivesTheNextMatch) {
  DefaultDictionary();
  StartWith(5, 0);
  Type(Control::UserJukugo, "こうさん");
  EnterJukugo();
  window.pairs = {{Sj("気分"), Sj("きぶん")}};
  match.TeachWord("");
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), Sj("本日\r\n本当\r\n当日\r\n入口\r\n日本\r\n気分\r\n"));
  EXPECT_EQ(ReadBytes(folder / "d.ydc"), Sj("ほんじつ\r\nほんとう\r\nとうじつ\r\nいりぐち\r\nにほん\r\nきぶん\r\n"));
  StartWith(6, 0);
  EXPECT_EQ(store.comp.jukugo().Find(Sj("気分")), 4);
}

// However the dialog was passed, a text that would break the files' lines never
// enters a word list: in the match, the jukugo box edited after its Enter.
TEST_F(MatchTest, ControlCharactersNeverReachTheWordLists) {
  DefaultDictionary();
  StartWith(5, 0);  // 日本
  window.text[Control::UserJukugo] = Sj("本日") + "\n";
  Type(Control::UserYomi, "ほんじつ");
  Screen expected = window.Now();
  EnterYomi();
  expected.userJukugo = "";
  expected.focus = "UserJukugo";
  expected.messageSet = 9;
  EXPECT_EQ(window.Now(), expected);
  EXPECT_EQ(store.used.jukugo().Count(), 1u);
  EXPECT_TRUE(match.InProgress());
  Type(Control::UserJukugo, "こうさん");
  EnterJukugo();
  window.pairs = {{Sj("気分") + '\x1A', Sj("きぶん")}};
  match.TeachWord("");
  EXPECT_EQ(store.comp.jukugo().Find(Sj("気分") + '\x1A'), -1);
  EXPECT_EQ(store.comp.jukugo().Count(), 5u);
}

struct TeachRow {
  const char* name;
  const char* previous;
  std::vector<std::pair<const char*, const char*>> entered;
  V moments;
  V compAfter;  // jukugo list; the fixture's COMP is 日本 本日 and USED holds 入口
};

class TeachWordTest : public MatchTest, public testing::WithParamInterface<TeachRow> {};

TEST_P(TeachWordTest, Row) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  store.comp.Clear();
  store.comp.Append(Sj("日本"), Sj("にほん"));
  store.comp.Append(Sj("本日"), Sj("ほんじつ"));
  store.used.Append(Sj("入口"), Sj("いりぐち"));
  for (auto [j, y] : GetParam().entered) window.pairs.push_back({Sj(j), Sj(y)});
  match.TeachWord(Sj(GetParam().previous));
  EXPECT_EQ(window.Take(), GetParam().moments);
  EXPECT_EQ(window.bubble, kBlue);
  V expected;
  for (const auto& e : GetParam().compAfter) expected.push_back(Sj(e));
  EXPECT_EQ(store.comp.jukugo().Entries(), expected);
  EXPECT_EQ(store.comp.jukugo().Count(), store.comp.yomi().Count());
  EXPECT_TRUE(window.pairs.empty()) << "the loop stopped early";
  // A word added is in the files at once; nothing else is written.
  const bool added = expected.size() == 4;
  std::string file;
  for (const auto& e : (added ? expected : SjList({"日本", "本日", "本当", "当日", "入口"}))) file += e + "\r\n";
  EXPECT_EQ(ReadBytes(folder / "d.jdc"), file);
}

const std::string kFree = "word entry じゅくごをおしえて / 新しいことばを入れて下さい。 [0 Blue 0%]";
const std::string kAfterNihon = "word entry じゅくごをおしえて / 日本 につづくことばを入れてね。";
// A refused word turns the bubble red with set 16, behind the dialog asking again.
const V kAskedAgain{"beep", kAfterNihon + " [16 Red 0%]"};

INSTANTIATE_TEST_SUITE_P(
    Rows, TeachWordTest,
    testing::Values(
        TeachRow{"FreeNewWordAppendedAfterUsed", "", {{"気分", "きぶん"}}, V{kFree},
                 V{"日本", "本日", "入口", "気分"}},
        TeachRow{"FreeNeedsNoChain", "", {{"出口", "でぐち"}}, V{kFree}, V{"日本", "本日", "入口", "出口"}},
        TeachRow{"FreeKnownWordOtherReadingNotAdded", "", {{"日本", "にっぽん"}}, V{kFree},
                 V{"日本", "本日", "入口"}},
        TeachRow{"KatakanaReadingAppendedUnchanged", "", {{"気分", "キブン"}}, V{kFree},
                 V{"日本", "本日", "入口", "気分"}},
        TeachRow{"GiveUpEmptyReading", "", {{"気分", ""}}, V{kFree}, V{"日本", "本日"}},
        TeachRow{"GiveUpEmptyJukugo", "日本", {{"", "ほん"}}, V{kAfterNihon + " [0 Blue 0%]"}, V{"日本", "本日"}},
        TeachRow{"ChainedAfterWin", "日本", {{"本気", "ほんき"}}, V{kAfterNihon + " [0 Blue 0%]"},
                 V{"日本", "本日", "入口", "本気"}},
        TeachRow{"NotChainedAskedAgainThenGivenUp", "日本", {{"入口", "いりぐち"}, {"", ""}},
                 V{kAfterNihon + " [0 Blue 0%]", kAskedAgain[0], kAskedAgain[1]}, V{"日本", "本日"}},
        TeachRow{"NotChainedTwiceThenChained", "日本",
                 {{"入口", "いりぐち"}, {"日本", "にほん"}, {"本番", "ほんばん"}},
                 V{kAfterNihon + " [0 Blue 0%]", kAskedAgain[0], kAskedAgain[1], kAskedAgain[0], kAskedAgain[1]},
                 V{"日本", "本日", "入口", "本番"}},
        TeachRow{"PlayedInTheMatchCountsAsKnown", "出入", {{"入口", "にゅうこう"}},
                 V{"word entry じゅくごをおしえて / 出入 につづくことばを入れてね。 [0 Blue 0%]"},
                 V{"日本", "本日", "入口"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi
