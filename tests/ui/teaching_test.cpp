// Teaching the computer words through the real windows: the main window, the word
// entry dialog and the match behind them, over a program folder of its own. Every
// modal dialog is answered by the test as the player would answer it.
#include <algorithm>
#include <functional>

#include "input_box.h"
#include "main_window_fixture.h"
#include "text.h"

namespace renkomi::test {
namespace {

using Words = std::vector<std::pair<QString, QString>>;

const QColor kBlue(0, 0, 255);
const Words kDictionary{{"日本", "にほん"}, {"会社", "かいしゃ"}};

// What the player saw when the word entry dialog opened.
struct Showing {
  QString caption;
  QString prompt;
  QString jukugo;
  QString reading;
  QStringList bubble;
  QColor colour;
  int beeps = 0;
};

class TeachingTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    folder.WriteDictionary(QStringLiteral("renkomi"), kDictionary);
    Open();
    // Beside the shown main window, as at start-up; owned by it as in the game.
    inputBox = new TfrmInputBox(*form, *form, form.get());
    form->SetInputBox(inputBox);
    ChooseShared();
  }

  int Beeps() const {
    return static_cast<int>(
        std::count(sound.themeSounds.begin(), sound.themeSounds.end(), std::string(ui::kExclamationSound)));
  }
  bool CompHolds(const QString& jukugo) const { return form->Store().Comp().jukugo().Find(ui::ToGame(jukugo)) >= 0; }

  // The word entry dialog's next showing: what it showed, then the player types
  // the pair with Enter after each box and Enter on "はい".
  void Teach(const QString& jukugo, const QString& reading) {
    answerer.Handle([this, jukugo, reading](QWidget& dialog) {
      TfrmInputBox* box = Record(dialog);
      if (box == nullptr) return;
      for (const QString& text : {jukugo, reading}) {
        TypeText(box->focusWidget(), text);
        Enter(box->focusWidget());
      }
      Enter(box->focusWidget());
    });
  }
  // The next showing is left by `leave` after the jukugo has been typed.
  void GiveUp(const std::function<void(TfrmInputBox&)>& leave) {
    answerer.Handle([this, leave](QWidget& dialog) {
      if (TfrmInputBox* box = Record(dialog)) {
        TypeText(box->focusWidget(), QStringLiteral("日記"));
        leave(*box);
      }
    });
  }
  // Notes what the word entry dialog shows; any other dialog fails the test and is closed.
  TfrmInputBox* Record(QWidget& dialog) {
    auto* box = qobject_cast<TfrmInputBox*>(&dialog);
    if (box != inputBox) {
      ADD_FAILURE() << "expected the word entry dialog, got " << dialog.windowTitle().toStdString();
      dialog.close();
      return nullptr;
    }
    showings.push_back(Showing{box->windowTitle(), FindElement<ui::Panel>(*box, "pnlTitle")->Caption(),
                               FindElement<QLineEdit>(*box, "edtINPUT_JUKU")->text(),
                               FindElement<QLineEdit>(*box, "edtINPUT_YOMI")->text(), Bubble(), BubbleColour(),
                               Beeps()});
    return box;
  }

  // A whole match won: the computer opens with 日本, the player answers 本日, and
  // no word of the dictionary begins with 日. Then "はい" to teaching, where
  // `teaching` answers the word entry dialog.
  void WinOnHonjitsu(const std::function<void()>& teaching) {
    answerer.Click(QStringLiteral("yesButton"));  // あなたの勝ちです。
    answerer.Click(QStringLiteral("yesButton"));  // 本日 に続くことばをおしえてくれますか？
    teaching();
    Find<QPushButton>("btnSTART")->click();
    ASSERT_EQ(Find<QLineEdit>("edtCOMP_JUKU")->text(), QStringLiteral("日本"));
    Submit("edtUSER_JUKU", QStringLiteral("本日"));
    Submit("edtUSER_YOMI", QStringLiteral("ほんじつ"));
    EXPECT_EQ(answerer.Texts().mid(0, 2),
              (QStringList{"あなたの勝ちです。", "本日 に続くことばをおしえてくれますか？"}));
  }

  // Free teaching with "おしえる".
  void TeachButton() { Find<QPushButton>("btnTEACH")->click(); }

  void ExpectBetweenMatches() {
    EXPECT_EQ(BubbleColour(), kBlue);
    EXPECT_TRUE(Find<QPushButton>("btnSTART")->isEnabled());
    EXPECT_EQ(Focused(), Find("btnSTART"));
  }

  TfrmInputBox* inputBox = nullptr;
  std::vector<Showing> showings;
};

TEST_F(TeachingTest, WordTaughtAfterAWinFollowsThePlayedWordsAndIsSavedAtOnce) {
  WinOnHonjitsu([this] { Teach(QStringLiteral("日記"), QStringLiteral("にっき")); });

  ASSERT_EQ(showings.size(), 1u);
  EXPECT_EQ(showings[0].caption, QStringLiteral("じゅくごをおしえて"));
  EXPECT_EQ(showings[0].prompt, QStringLiteral("本日 につづくことばを入れてね。"));
  // Saved before the window closes: the match's words came back to the
  // dictionary first, the taught one after them.
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")),
            (Words{{"会社", "かいしゃ"}, {"日本", "にほん"}, {"本日", "ほんじつ"}, {"日記", "にっき"}}));
  EXPECT_EQ(Bubble(), Set(1));
  EXPECT_EQ(Beeps(), 0);
  ExpectBetweenMatches();
}

TEST_F(TeachingTest, PairThatDoesNotContinueIsAskedForAgainThenGivingUpChangesNothing) {
  WinOnHonjitsu([this] {
    Teach(QStringLiteral("入口"), QStringLiteral("いりぐち"));
    // Given up by the title bar: an empty pair, not the refused one again.
    GiveUp([](TfrmInputBox& box) { box.close(); });
  });

  ASSERT_EQ(showings.size(), 2u);
  // Asked again with the same prompt and empty boxes, the refusal in red in the bubble.
  EXPECT_EQ(showings[1].caption, showings[0].caption);
  EXPECT_EQ(showings[1].prompt, QStringLiteral("本日 につづくことばを入れてね。"));
  EXPECT_EQ(showings[1].jukugo, QString());
  EXPECT_EQ(showings[1].reading, QString());
  EXPECT_EQ(showings[1].bubble, Set(16));
  EXPECT_EQ(showings[1].colour, QColor(255, 0, 0));
  EXPECT_EQ(showings[1].beeps, 1);
  EXPECT_EQ(Beeps(), 1);
  // Only the words of the match came back.
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")),
            (Words{{"会社", "かいしゃ"}, {"日本", "にほん"}, {"本日", "ほんじつ"}}));
  ExpectBetweenMatches();
}

TEST_F(TeachingTest, KnownJukugoWithAnotherReadingAddsNothing) {
  Teach(QStringLiteral("日本"), QStringLiteral("にっぽん"));
  TeachButton();
  ASSERT_EQ(showings.size(), 1u);
  EXPECT_EQ(showings[0].prompt, QStringLiteral("新しいことばを入れて下さい。"));
  EXPECT_EQ(form->Store().Comp().jukugo().Count(), 2u);
  EXPECT_EQ(form->Store().Comp().yomi().Find(ui::ToGame(QStringLiteral("にっぽん"))), -1);
  // The bubble keeps the comment the dialog made (set 11 on the jukugo's Enter).
  EXPECT_EQ(Bubble(), Set(11));
  ExpectBetweenMatches();
  form->close();
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")), kDictionary);
}

// A taught word is written at once, and giving up the next teaching adds
// nothing: the next start, which reloads the files, still has the word.
TEST_F(TeachingTest, FreeTeachingIsWrittenAtOnceAndGivingUpLaterAddsNothing) {
  Teach(QStringLiteral("日記"), QStringLiteral("にっき"));
  TeachButton();
  Words expected = kDictionary;
  expected.emplace_back(QStringLiteral("日記"), QStringLiteral("にっき"));
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")), expected);
  ASSERT_TRUE(CompHolds(QStringLiteral("日記")));

  GiveUp([](TfrmInputBox& box) { QTest::mouseClick(FindElement(box, "btnYAMERU"), Qt::LeftButton); });
  TeachButton();
  ASSERT_EQ(showings.size(), 2u);
  EXPECT_EQ(showings[1].jukugo, QString());
  EXPECT_EQ(form->Store().Comp().jukugo().Count(), 3u);
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")), expected);
  ExpectBetweenMatches();
  Find<QPushButton>("btnSTART")->click();
  EXPECT_TRUE(CompHolds(QStringLiteral("日記")) ||
              form->Store().Used().jukugo().Find(ui::ToGame(QStringLiteral("日記"))) >= 0);
}

}  // namespace
}  // namespace renkomi::test
