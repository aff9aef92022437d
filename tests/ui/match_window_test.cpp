// Whole matches played in the real window, as a player plays them: the jukugo and
// readings arrive from the input method, Enter submits, the dialogs are answered.
// Each test checks what the player sees and what the dictionary files hold after.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

#include "application.h"
#include "errors.h"
#include "gauge.h"
#include "main_window_fixture.h"

namespace renkomi::test {
namespace {

using Words = std::vector<std::pair<QString, QString>>;

// The shared dictionary a new player gets: the five built-in words. With the
// fixture's random state the opening move draws the first, 日本.
const Words kBuiltIn{{"日本", "にほん"}, {"本日", "ほんじつ"}, {"本当", "ほんとう"},
                     {"当日", "とうじつ"}, {"入口", "いりぐち"}};
// The same after the player's 本当 and the computer's 当日: the words played go last.
const Words kAfterHontou{
    {"本日", "ほんじつ"}, {"入口", "いりぐち"}, {"日本", "にほん"}, {"本当", "ほんとう"}, {"当日", "とうじつ"}};

class MatchWindowTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    folder.CopyInstalledFiles();
    Open();
    ChooseShared();
    // The last hint is "やめる"'s, so the focus on "はじめる" at a match's end hints again.
    Hover(Find("btnFINISH")->geometry().center());
    Find<QPushButton>("btnSTART")->click();
  }

  // Draws the game will make after the opening one, worked out on a copy of the state.
  static std::vector<std::uint32_t> Draws(std::initializer_list<std::uint32_t> bounds) {
    Random copy(kRandomState);
    copy.RandomBelow(static_cast<std::uint32_t>(kBuiltIn.size()));  // the opening word
    std::vector<std::uint32_t> draws;
    for (const std::uint32_t n : bounds) draws.push_back(copy.RandomBelow(n));
    return draws;
  }

  QString CompJukugo() const { return Find<QLineEdit>("edtCOMP_JUKU")->text(); }
  QString CompYomi() const { return Find<QLineEdit>("edtCOMP_YOMI")->text(); }
  int Gauge() const { return Find<ui::Gauge>("gagHitPoint")->Progress(); }
  void Play(const QString& jukugo, const QString& reading) {
    Submit("edtUSER_JUKU", jukugo);
    Submit("edtUSER_YOMI", reading);
  }
  QString SoundFile(const char* name) const { return folder.File(QStringLiteral("media/")) + QLatin1String(name); }

  // The window between matches, as every end of a match leaves it.
  void ExpectIdle() const {
    for (const char* box : {"edtCOMP_JUKU", "edtCOMP_YOMI", "edtUSER_JUKU", "edtUSER_YOMI"}) {
      EXPECT_TRUE(Find<QLineEdit>(box)->text().isEmpty()) << box;
    }
    EXPECT_FALSE(Find("edtUSER_JUKU")->isEnabled());
    EXPECT_FALSE(Find("edtUSER_YOMI")->isEnabled());
    for (const char* button : {"btnSTART", "btnFINISH", "btnTEACH"}) {
      EXPECT_TRUE(Find(button)->isEnabled()) << button;
    }
    EXPECT_EQ(Focused(), Find("btnSTART"));
    EXPECT_EQ(Bubble(), Set(1));
    EXPECT_EQ(Gauge(), 0);
    EXPECT_EQ(BubbleColour(), QColor(0, 0, 255));
  }

  // What the window shows while the loss dialog is up.
  struct AtDialog {
    QStringList bubble;
    int gauge = -1;
    QColor colour;
    Words onDisk;
  };
  DialogAnswerer::Action Capture(AtDialog& at) {
    return [this, &at](QWidget&) {
      at.bubble = Bubble();
      at.gauge = Gauge();
      at.colour = BubbleColour();
      at.onDisk = folder.ReadDictionary(QStringLiteral("renkomi"));
    };
  }
};

TEST_F(MatchWindowTest, OpeningMoveShowsTheFirstWordAndHandsOverToThePlayer) {
  EXPECT_EQ(CompJukugo(), QStringLiteral("日本"));
  EXPECT_EQ(CompYomi(), QStringLiteral("にほん"));
  EXPECT_EQ(Bubble(), Set(5));
  EXPECT_TRUE(Find("edtUSER_JUKU")->isEnabled());
  EXPECT_TRUE(Find("edtUSER_YOMI")->isEnabled());
  for (const char* button : {"btnSTART", "btnFINISH", "btnTEACH"}) {
    EXPECT_FALSE(Find(button)->isEnabled()) << button;
  }
  EXPECT_EQ(Focused(), Find("edtUSER_JUKU"));

  // The hints are off during a match.
  Hover(QPoint(336, 100));
  EXPECT_EQ(Bubble(), Set(5));
}

TEST_F(MatchWindowTest, WrongTextIsAskedForAgainAndEnterNeverReachesTheBox) {
  auto* jukugo = Find<QLineEdit>("edtUSER_JUKU");
  auto* yomi = Find<QLineEdit>("edtUSER_YOMI");
  QSignalSpy returns(jukugo, &QLineEdit::returnPressed);

  Submit("edtUSER_JUKU", QStringLiteral("ほんとう"));
  EXPECT_EQ(Bubble(), Set(9));
  EXPECT_TRUE(jukugo->text().isEmpty());
  EXPECT_EQ(Focused(), jukugo);

  Submit("edtUSER_JUKU", QStringLiteral("本当"));
  EXPECT_EQ(Bubble(), Set(11)) << "all seven lines of set 9 replaced";
  EXPECT_EQ(Focused(), yomi);

  Submit("edtUSER_YOMI", QStringLiteral("ホントウ"));
  EXPECT_EQ(Bubble(), Set(10));
  EXPECT_TRUE(yomi->text().isEmpty());
  EXPECT_EQ(jukugo->text(), QStringLiteral("本当"));
  EXPECT_EQ(Focused(), yomi);
  EXPECT_EQ(returns.count(), 0);

  // A click into the bubble hands the focus back to the box that had it.
  QTest::mouseClick(Find<QPlainTextEdit>("memFUKIDASI")->viewport(), Qt::LeftButton);
  EXPECT_EQ(Focused(), yomi);
  EXPECT_EQ(Bubble(), Set(10));
}

TEST_F(MatchWindowTest, WonMatchTeachesNothingOnNoAndSavesEveryWordPlayed) {
  const std::vector<std::uint32_t> draws = Draws({1, 4});
  Play(QStringLiteral("本当"), QStringLiteral("ほんとう"));
  // Only 当日 continues 本当: one candidate, the gauge at 99.
  EXPECT_EQ(CompJukugo(), QStringLiteral("当日"));
  EXPECT_EQ(CompYomi(), QStringLiteral("とうじつ"));
  EXPECT_EQ(Gauge(), 99);
  EXPECT_EQ(Find<ui::Gauge>("gagHitPoint")->Text(), QStringLiteral("99%"));
  EXPECT_EQ(Bubble(), Set(12 + static_cast<int>(draws[1])));
  EXPECT_TRUE(Find<QLineEdit>("edtUSER_JUKU")->text().isEmpty());
  EXPECT_TRUE(Find<QLineEdit>("edtUSER_YOMI")->text().isEmpty());
  EXPECT_EQ(Focused(), Find("edtUSER_JUKU"));

  // 日光 is no dictionary word, continues 当日, and nothing continues it.
  AtDialog atInformation;
  AtDialog atQuestion;
  answerer.Click(QStringLiteral("yesButton"), Capture(atInformation));
  answerer.Click(QStringLiteral("noButton"), Capture(atQuestion));
  Play(QStringLiteral("日光"), QStringLiteral("にっこう"));
  ASSERT_TRUE(answerer.WaitUntilAnswered());

  EXPECT_EQ(answerer.Captions(), (QStringList{"情報", "確認"}));
  EXPECT_EQ(answerer.Texts(), (QStringList{"あなたの勝ちです。", "日光 に続くことばをおしえてくれますか？"}));
  EXPECT_EQ(atInformation.bubble, Set(8));
  EXPECT_EQ(atInformation.colour, QColor(128, 0, 128));
  EXPECT_EQ(atInformation.gauge, 100);
  EXPECT_EQ(atQuestion.onDisk, kBuiltIn) << "a win saves after the teaching step";
  EXPECT_EQ(sound.files, std::vector<QString>{SoundFile("Tada.wav")});

  ExpectIdle();
  Words won = kAfterHontou;
  won.emplace_back("日光", "にっこう");
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")), won);
}

// The reading's Enter takes the jukugo as its box holds it then, also when the
// player changed it after the jukugo's own Enter.
TEST_F(MatchWindowTest, ReadingsEnterTakesTheJukugoBoxAsItThenStands) {
  Submit("edtUSER_JUKU", QStringLiteral("本日"));
  auto* jukugo = Find<QLineEdit>("edtUSER_JUKU");
  jukugo->clear();
  TypeText(jukugo, QStringLiteral("本気"));  // no Enter: only the reading is submitted
  answerer.Click(QStringLiteral("yesButton"));
  answerer.Click(QStringLiteral("noButton"));
  Submit("edtUSER_YOMI", QStringLiteral("ほんき"));  // nothing continues 本気: a win
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Texts().value(1), QStringLiteral("本気 に続くことばをおしえてくれますか？"));
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")).back(), (std::pair<QString, QString>{"本気", "ほんき"}));
}

// The reasons for a loss are the match's own tests; here, that the window shows
// the loss in its order: the reason, the sound, the saved files, then the dialog;
// and that "やめる" closes the window after it.
TEST_F(MatchWindowTest, LostMatchShowsTheReasonSavesThenTellsThePlayer) {
  AtDialog at;
  answerer.Click(QStringLiteral("yesButton"), Capture(at));
  Play(QStringLiteral("本当"), QStringLiteral("ほんとう"));  // the computer answers 当日
  Play(QStringLiteral("日本"), QStringLiteral("にほん"));    // played already
  ASSERT_TRUE(answerer.WaitUntilAnswered());

  EXPECT_EQ(answerer.Captions(), QStringList{"情報"});
  EXPECT_EQ(answerer.Texts(), QStringList{"あなたの負けです。"});
  EXPECT_EQ(at.bubble, Set(7));
  EXPECT_EQ(at.colour, QColor(0, 0, 255));
  EXPECT_EQ(at.onDisk, kAfterHontou) << "a loss saves before the dialog";
  EXPECT_EQ(sound.files, std::vector<QString>{SoundFile("Chimes.wav")});
  ExpectIdle();
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")), kAfterHontou);
  QTest::mouseClick(Find("btnFINISH"), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(MatchWindowTest, ClosingDuringAMatchSavesTheWordsPlayedSoFarOrKeepsTheWindowWhenItCannot) {
  Play(QStringLiteral("本当"), QStringLiteral("ほんとう"));
  ASSERT_EQ(CompJukugo(), QStringLiteral("当日"));
  // The disk fills up under the game: not a byte more can be written. (Moving the
  // folder away would not do: the game keeps saving into the folder it opened.)
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit room{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &room), 0);
  rlimit full = room;
  full.rlim_cur = 0;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);

  // The error, then "quit without saving?": "いいえ" keeps the game.
  answerer.Click(QStringLiteral("yesButton"));
  answerer.Click(QStringLiteral("noButton"));
  EXPECT_FALSE(form->close());
  ::setrlimit(RLIMIT_FSIZE, &room);
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Captions(), (QStringList{"エラー", "確認"}));
  EXPECT_TRUE(form->isVisible());

  // With room again, closing saves and ends.
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")), kAfterHontou);
}

TEST_F(MatchWindowTest, MissingSoundFilesLeaveTheEndOfAMatchUnchanged) {
  ASSERT_TRUE(QDir(folder.File(QStringLiteral("media"))).removeRecursively());
  answerer.Click(QStringLiteral("yesButton"));
  Submit("edtUSER_JUKU", QStringLiteral("こうさん"));
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(sound.files, std::vector<QString>{SoundFile("Chimes.wav")});
  ExpectIdle();
}

class EmptyDictionaryTest : public MainWindowFixture {};

TEST_F(EmptyDictionaryTest, StartingOnAnEmptyDictionaryIsReportedAndNoMatchOpens) {
  folder.WriteDictionary(QStringLiteral("renkomi"), {});
  Open();
  ChooseShared();
  answerer.Click(QStringLiteral("yesButton"));
  QTest::mouseClick(Find("btnSTART"), Qt::LeftButton);
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Captions(), QStringList{"エラー"});
  EXPECT_TRUE(Find("btnSTART")->isEnabled());
  EXPECT_FALSE(Find("edtUSER_JUKU")->isEnabled());
}

// Two handlers failing before the first error dialog opens: the player gets one
// dialog, the first failure's, never a second one stacked behind it.
TEST(ErrorDialogTest, TwoFailuresBeforeTheFirstDialogShowOne) {
  DialogAnswerer answerer;
  answerer.Click(QStringLiteral("yesButton"));
  // The first a fault of the program, whose English the player never reads; the
  // second one of the game's own errors.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { ui::Guarded([] { throw std::runtime_error("first"); }); },
      Qt::QueuedConnection);
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { ui::Guarded([] { throw Error("second"); }); }, Qt::QueuedConnection);
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  // Time for a second dialog to open, were there one.
  EXPECT_FALSE(WaitFor([&] { return answerer.Captions().size() > 1 || answerer.Unexpected() > 0; }, 300));
  EXPECT_EQ(answerer.Captions(), QStringList{"エラー"});
  EXPECT_EQ(answerer.Texts(), QStringList{"予期しないエラーが発生しました。"});
  EXPECT_EQ(answerer.Unexpected(), 0);
}

}  // namespace
}  // namespace renkomi::test
