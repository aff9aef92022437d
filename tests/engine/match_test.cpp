#include "match.h"

#include <gtest/gtest.h>

#include <algorithm>
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

const std::string kBoxes = "UserJukugo UserYomi";  // enabled during a match
// The window between matches, as every end of a match leaves it.
const Screen kIdle{.enabled = "Start Finish Teach", .focus = "Start", .messageSet = 1};
// A new dictionary's file of jukugo, as Lines() gives it.
const std::string kBuiltIn = "日本 本日 本当 当日 入口 ";

// The first generator state whose next draws are exactly `draws` ({n, result}).
std::uint32_t StateGiving(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> draws) {
  for (std::uint32_t state = 0;; ++state) {
    Random probe(state);
    bool all = true;
    for (auto [n, result] : draws) all = all && probe.RandomBelow(n) == result;
    if (all) return state;
  }
}

// A file's lines in UTF-8, each followed by a space where the file has CR LF.
std::string Lines(const fs::path& file) {
  std::string text = Cp932ToUtf8(ReadBytes(file));
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " ");
  return text;
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
  std::string Saved() { return Lines(folder / "d.jdc") + "/ " + Lines(folder / "d.ydc"); }
};

// A match on the five built-in words, opened on 日本.
class InMatchTest : public MatchTest {
 protected:
  void SetUp() override {
    DefaultDictionary();
    StartWith(5, 0);
  }
};

TEST_F(MatchTest, OpeningMove) {
  DefaultDictionary();
  store.PlayWord("stale", "stale");
  store.AddWord("unsaved", "unsaved");
  random.SetState(StateGiving({{5, 3}}));
  match.Start();
  EXPECT_EQ(window.Now(), (Screen{.compJukugo = "当日", .compYomi = "とうじつ", .enabled = kBoxes,
                                  .focus = "UserJukugo", .messageSet = 5}));
  EXPECT_TRUE(window.Take().empty());
  EXPECT_TRUE(match.InProgress());
  EXPECT_EQ(match.ComputerWord(), (WordPair{Sj("当日"), Sj("とうじつ")}));
  EXPECT_EQ(store.Used().jukugo().Entries(), SjList({"当日"}));
  EXPECT_EQ(store.Used().yomi().Entries(), SjList({"とうじつ"}));
  EXPECT_EQ(store.Comp().jukugo().Entries(), SjList({"日本", "本日", "本当", "入口"}));
  EXPECT_EQ(store.Comp().yomi().Entries(), SjList({"にほん", "ほんじつ", "ほんとう", "いりぐち"}));
}

TEST_F(MatchTest, EmptyDictionaryStartsNoMatch) {
  UseDictionary({});
  store.PlayWord("stale", "stale");
  EXPECT_EQ(test::ErrorOf([&] { match.Start(); }), "辞書にことばがひとつもありません。");
  EXPECT_EQ(window.Now(), Screen{});
  EXPECT_TRUE(window.Take().empty());
  EXPECT_FALSE(match.InProgress());
  EXPECT_EQ(store.Used().jukugo().Count(), 0u);
}

// A save cut short leaves its commit marker for the next load to finish. A marker
// naming a temporary anywhere but beside the dictionary is no save's own: the
// match opens on the pair in place, and what the marker named stays untouched.
TEST_F(MatchTest, StartTrustsNoMarkerNamingAFileInASubfolder) {
  UseDictionary({{"日本", "にほん"}});
  const std::string jukugo = "d.jdc.tmp-sub/aaaaaa", yomi = "d.ydc.tmp-sub/bbbbbb";
  for (const char* subfolder : {"d.jdc.tmp-sub", "d.ydc.tmp-sub"}) fs::create_directory(folder / subfolder);
  WriteBytes(folder / jukugo, Sj("入口\r\n"));
  WriteBytes(folder / yomi, Sj("いりぐち\r\n"));
  WriteBytes(folder / "d.ydc.commit", CommitMarker(jukugo, Sj("入口\r\n"), yomi, Sj("いりぐち\r\n")));
  StartWith(1, 0);
  EXPECT_EQ(window.Now().compJukugo, "日本");
  EXPECT_EQ(Saved(), "日本 / にほん ");
  EXPECT_EQ(Lines(folder / jukugo), "入口 ");
  EXPECT_FALSE(fs::exists(folder / "d.ydc.commit"));
}

struct JukugoRow {
  const char* name;
  const char* typed;
  bool accepted;  // the reading is asked for; else the box is emptied for a new try
};

class JukugoSubmissionTest : public InMatchTest, public testing::WithParamInterface<JukugoRow> {};

TEST_P(JukugoSubmissionTest, Row) {
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

TEST_F(InMatchTest, ReadingRefused) {
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
  EXPECT_EQ(store.Used().jukugo().Count(), 1u);
}

TEST_F(InMatchTest, ComputerReplies) {
  random.SetState(StateGiving({{1, 0}, {4, 2}}));
  Play("本当", "ほんとう");
  EXPECT_EQ(window.Now(), (Screen{.compJukugo = "当日", .compYomi = "とうじつ", .enabled = kBoxes,
                                  .focus = "UserJukugo", .messageSet = 14, .gauge = 99}));
  EXPECT_TRUE(window.Take().empty());
  EXPECT_EQ(match.ComputerWord(), (WordPair{Sj("当日"), Sj("とうじつ")}));
  EXPECT_EQ(store.Used().jukugo().Entries(), SjList({"日本", "本当", "当日"}));
  EXPECT_EQ(store.Used().yomi().Entries(), SjList({"にほん", "ほんとう", "とうじつ"}));
  EXPECT_EQ(store.Comp().jukugo().Entries(), SjList({"本日", "入口"}));
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
  EXPECT_EQ(store.Comp().jukugo().Entries(), SjList({"日日", "日光"}));
  EXPECT_EQ(store.Comp().yomi().Entries(), SjList({"ひび", "にっこう"}));
  // The player's pair went to USED with the reading typed, whatever COMP had.
  EXPECT_EQ(store.Used().yomi().Entries(), SjList({"にほん", "ほんび", "にちにち"}));
}

// The sound plays before the dialog, and the reason stays in the bubble behind it.
V Lost(int messageSet, int gauge = 0) {
  return {"sound Chimes.wav",
          "information あなたの負けです。 [" + std::to_string(messageSet) + " Blue " + std::to_string(gauge) + "%]"};
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

class LossTest : public InMatchTest, public testing::WithParamInterface<LossRow> {};

TEST_P(LossTest, EndsTheMatchSavedBeforeTheDialog) {
  std::string savedAtDialog;
  window.onInformation = [&] { savedAtDialog = Saved(); };
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
  EXPECT_EQ(savedAtDialog, "本日 本当 当日 入口 日本 / ほんじつ ほんとう とうじつ いりぐち にほん ");
  EXPECT_EQ(store.Used().jukugo().Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LossTest,
    testing::Values(LossRow{"Surrender", "こうさん", nullptr, 17},
                    LossRow{"BrokenChain", "入口", "いりぐち", 6},
                    LossRow{"EmptyJukugoAtReading", "", "ほん", 6},
                    // The chain is tested before repetition.
                    LossRow{"UsedAndBrokenChain", "日本", "にほん", 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InMatchTest, RepeatedWordLosesWithReasonTwo) {
  random.SetState(StateGiving({{1, 0}, {4, 0}}));
  Play("本当", "ほんとう");  // the computer answers 当日
  Play("日本", "にほん");   // chains to 当日, but was the opening word
  EXPECT_EQ(window.Take(), Lost(7, 99));
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_FALSE(match.InProgress());
  EXPECT_EQ(Saved(), "本日 入口 日本 本当 当日 / ほんじつ いりぐち にほん ほんとう とうじつ ");
}

TEST_F(InMatchTest, WinWithoutTeaching) {
  const std::uint32_t stateBefore = random.State();
  // 本気 is no dictionary word; nothing in the dictionary starts with 気.
  Play("本気", "ほんき");
  EXPECT_EQ(window.Take(), kWon);
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_EQ(random.State(), stateBefore) << "a win draws nothing";
  EXPECT_FALSE(match.InProgress());
  // The new word joined the dictionary with the player's reading, after the rest.
  EXPECT_EQ(Saved(), "本日 本当 当日 入口 日本 本気 / ほんじつ ほんとう とうじつ いりぐち にほん ほんき ");
}

TEST_F(InMatchTest, ReadingKousanIsAnOrdinaryReadingAndJukugoIsTakenAsItStands) {
  Type(Control::UserJukugo, "本日");
  EnterJukugo();
  Type(Control::UserJukugo, "本気");  // changed after Enter, not submitted again
  Type(Control::UserYomi, "こうさん");
  EnterYomi();
  EXPECT_EQ(window.Take(), kWon);
  EXPECT_EQ(Saved(), "本日 本当 当日 入口 日本 本気 / ほんじつ ほんとう とうじつ いりぐち にほん こうさん ");
}

TEST_F(InMatchTest, WinThenTeachingAChainedWord) {
  window.answers = {true};
  window.pairs = {{Sj("入口"), Sj("いりぐち")}, {Sj("気分"), Sj("きぶん")}};
  Play("本気", "ほんき");
  V moments = kWon;
  const std::string entry = "word entry じゅくごをおしえて / 本気 につづくことばを入れてね。";
  moments.insert(moments.end(), {entry + " [8 Purple 100%]", "beep", entry + " [16 Red 100%]"});
  EXPECT_EQ(window.Take(), moments);
  EXPECT_EQ(window.Now(), kIdle);
  // Saved at once, after the words of the match.
  EXPECT_EQ(Saved(), "本日 本当 当日 入口 日本 本気 気分 / ほんじつ ほんとう とうじつ いりぐち にほん ほんき きぶん ");
}

TEST_F(InMatchTest, SaveFailureAtTheEndStillEndsTheMatch) {
  fs::create_directory(folder / "d.ydc.commit");  // the save cannot commit
  Type(Control::UserJukugo, "こうさん");
  EXPECT_EQ(test::ErrorOf([&] { EnterJukugo(); }),
            "ファイル " + (folder / "d.ydc.commit").string() + " を作成できません (フォルダです)");
  EXPECT_EQ(window.Take(), Lost(17));
  EXPECT_EQ(window.Now(), kIdle);
  EXPECT_FALSE(match.InProgress());
  EXPECT_EQ(Lines(folder / "d.jdc"), kBuiltIn);
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
TEST_F(InMatchTest, TaughtWordIsWrittenAtOnceAndSurvivesTheNextMatch) {
  Type(Control::UserJukugo, "こうさん");
  EnterJukugo();
  window.pairs = {{Sj("気分"), Sj("きぶん")}};
  match.TeachWord("");
  EXPECT_EQ(Saved(), "本日 本当 当日 入口 日本 気分 / ほんじつ ほんとう とうじつ いりぐち にほん きぶん ");
  StartWith(6, 0);
  EXPECT_EQ(store.Comp().jukugo().Find(Sj("気分")), 4);
}

// However the dialog was passed, a text that would break the files' lines never
// enters a word list: in the match, the jukugo box edited after its Enter.
TEST_F(InMatchTest, ControlCharactersNeverReachTheWordLists) {
  window.text[Control::UserJukugo] = Sj("本日") + "\n";
  Type(Control::UserYomi, "ほんじつ");
  Screen expected = window.Now();
  EnterYomi();
  expected.userJukugo = "";
  expected.focus = "UserJukugo";
  expected.messageSet = 9;
  EXPECT_EQ(window.Now(), expected);
  EXPECT_EQ(store.Used().jukugo().Count(), 1u);
  EXPECT_TRUE(match.InProgress());
  Type(Control::UserJukugo, "こうさん");
  EnterJukugo();
  window.pairs = {{Sj("気分") + '\x1A', Sj("きぶん")}};
  match.TeachWord("");
  EXPECT_EQ(store.Comp().jukugo().Find(Sj("気分") + '\x1A'), -1);
  EXPECT_EQ(store.Comp().jukugo().Count(), 5u);
}

// The word entry dialog for `previous`, asked again after each of `refusals`: a
// refused word beeps and turns the bubble red with set 16 behind the next dialog.
V Asked(const std::string& previous, int refusals = 0) {
  const std::string entry = "word entry じゅくごをおしえて / " +
                            (previous.empty() ? "新しいことばを入れて下さい。" : previous + " につづくことばを入れてね。");
  V moments{entry + " [0 Blue 0%]"};
  for (int i = 0; i < refusals; ++i) moments.insert(moments.end(), {"beep", entry + " [16 Red 0%]"});
  return moments;
}

struct TeachRow {
  const char* name;
  const char* previous;
  std::vector<std::pair<const char*, const char*>> entered;
  int refusals;
  const char* comp;  // COMP's jukugo after
};

class TeachWordTest : public MatchTest, public testing::WithParamInterface<TeachRow> {};

// COMP holds 日本 本日 and USED 入口; the files hold the built-in words.
TEST_P(TeachWordTest, Row) {
  store.ChooseDictionary("d");
  store.LoadDictionary();
  store.GiveBackWords({});
  store.AddWord(Sj("日本"), Sj("にほん"));
  store.AddWord(Sj("本日"), Sj("ほんじつ"));
  store.PlayWord(Sj("入口"), Sj("いりぐち"));
  for (auto [j, y] : GetParam().entered) window.pairs.push_back({Sj(j), Sj(y)});
  match.TeachWord(Sj(GetParam().previous));
  EXPECT_EQ(window.Take(), Asked(GetParam().previous, GetParam().refusals));
  EXPECT_EQ(window.bubble, BubbleColour::Blue);
  EXPECT_TRUE(window.pairs.empty()) << "the loop stopped early";
  std::string comp;
  for (const std::string& jukugo : store.Comp().jukugo().Entries()) comp += Cp932ToUtf8(jukugo) + " ";
  EXPECT_EQ(comp, GetParam().comp);
  EXPECT_EQ(store.Comp().jukugo().Count(), store.Comp().yomi().Count());
  // A word added is in the files at once; nothing else is written.
  const bool added = std::count(comp.begin(), comp.end(), ' ') == 4;
  EXPECT_EQ(Lines(folder / "d.jdc"), added ? comp : kBuiltIn);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TeachWordTest,
    testing::Values(
        TeachRow{"FreeNewWordAppendedAfterUsed", "", {{"気分", "きぶん"}}, 0, "日本 本日 入口 気分 "},
        TeachRow{"FreeNeedsNoChain", "", {{"出口", "でぐち"}}, 0, "日本 本日 入口 出口 "},
        TeachRow{"FreeKnownWordOtherReadingNotAdded", "", {{"日本", "にっぽん"}}, 0, "日本 本日 入口 "},
        TeachRow{"KatakanaReadingAppendedUnchanged", "", {{"気分", "キブン"}}, 0, "日本 本日 入口 気分 "},
        TeachRow{"GiveUpEmptyReading", "", {{"気分", ""}}, 0, "日本 本日 "},
        TeachRow{"GiveUpEmptyJukugo", "日本", {{"", "ほん"}}, 0, "日本 本日 "},
        TeachRow{"ChainedAfterWin", "日本", {{"本気", "ほんき"}}, 0, "日本 本日 入口 本気 "},
        TeachRow{"NotChainedAskedAgainThenGivenUp", "日本", {{"入口", "いりぐち"}, {"", ""}}, 1, "日本 本日 "},
        TeachRow{"NotChainedTwiceThenChained", "日本", {{"入口", "いりぐち"}, {"日本", "にほん"}, {"本番", "ほんばん"}},
                 2, "日本 本日 入口 本番 "},
        TeachRow{"PlayedInTheMatchCountsAsKnown", "出入", {{"入口", "にゅうこう"}}, 0, "日本 本日 入口 "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi
