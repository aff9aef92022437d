// The word entry dialog alone, driven as a player drives it: text committed by
// the input method, Enter keys and clicks, against a window that records what the
// character was told to do.
#include "input_box.h"

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "recording_window.h"
#include "text.h"
#include "widget_test_support.h"

// Readable positions in failure messages.
inline void PrintTo(const QPoint& point, std::ostream* out) {
  *out << '(' << point.x() << ", " << point.y() << ')';
}

namespace {

using renkomi::Control;
using renkomi::test::PrintTo;
using renkomi::test::RecordingWindow;
using renkomi::test::RowName;
using renkomi::ui::ToGame;

// Closed by whatever means, the dialog hands "はじめる" back to the player.
bool StartHandedBack(const RecordingWindow& game) {
  return game.Enabled(Control::Start) && game.focus == Control::Start;
}

class InputBoxTest : public ::testing::Test {
 protected:
  InputBoxTest() {
    mainWindow_.setGeometry(300, 200, 616, 403);
    mainWindow_.show();
    box_.emplace(mainWindow_, game_, &mainWindow_);
  }

  // Runs InputWordPair with `steps` inside the dialog once it is up. The steps
  // must close the dialog; a dialog still open after a while fails the test.
  TRenkomiString Run(const std::function<void()>& steps,
                     const QString& caption = QStringLiteral("じゅくごをおしえて"),
                     const QString& prompt = QStringLiteral("新しいことばを入れて下さい。")) {
    QObject context;
    bool ran = false;
    QTimer::singleShot(0, &context, [&] {
      EXPECT_TRUE(box_->isVisible());
      steps();
      ran = true;
    });
    QTimer::singleShot(5000, &context, [&] {
      ADD_FAILURE() << "the dialog did not close";
      box_->done(QDialog::Rejected);
    });
    game_ = RecordingWindow();
    const TRenkomiString result = box_->InputWordPair(caption, prompt);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(box_->isVisible());
    return result;
  }

  QWidget* Focused() const { return box_->focusWidget(); }
  template <typename T = QWidget>
  T* Find(const char* name) const {
    return renkomi::test::FindElement<T>(*box_, name);
  }

  // Text as an input method commits it, into whatever has the focus.
  void Type(const QString& text) {
    QWidget* target = Focused();
    ASSERT_NE(target, nullptr);
    renkomi::test::TypeText(target, text);
  }
  void Enter() { QTest::keyClick(Focused(), Qt::Key_Return); }

  QWidget mainWindow_;
  RecordingWindow game_;
  std::optional<TfrmInputBox> box_;
};

// Esc on the way closes nothing and keeps what was typed.
TEST_F(InputBoxTest, KeyboardOnlyEntryReturnsThePair) {
  const TRenkomiString pair = Run([&] {
    EXPECT_EQ(Focused(), Find("edtINPUT_JUKU"));
    Type(QStringLiteral("日本"));
    QTest::keyClick(Focused(), Qt::Key_Escape);
    QTest::keyClick(&*box_, Qt::Key_Escape);
    EXPECT_TRUE(box_->isVisible());
    EXPECT_EQ(Find<QLineEdit>("edtINPUT_JUKU")->text(), QStringLiteral("日本"));
    Enter();
    EXPECT_EQ(Focused(), Find("edtINPUT_YOMI"));
    Type(QStringLiteral("にほん"));
    Enter();
    EXPECT_EQ(Focused(), Find("btnHAI"));
    EXPECT_EQ(game_.messageSet, 11);
    EXPECT_FALSE(game_.focus.has_value() || game_.Enabled(Control::Start)) << "はじめる handed back early";
    Enter();
  });
  EXPECT_EQ(pair, (TRenkomiString{ToGame(QStringLiteral("日本")), ToGame(QStringLiteral("にほん"))}));
  EXPECT_EQ(game_.messageSet, 11);
  EXPECT_TRUE(StartHandedBack(game_));
}

struct RefusalCase {
  const char* name;
  const char* jukugo;  // typed first, Enter pressed in the jukugo box when `inJukugo`
  const char* reading;
  bool inJukugo;
  int set;
};

class InputBoxRefusalTest : public InputBoxTest,
                            public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(InputBoxRefusalTest, EnterEmptiesOnlyTheRefusedBox) {
  const RefusalCase& c = GetParam();
  Run([&] {
    auto* jukugo = Find<QLineEdit>("edtINPUT_JUKU");
    auto* reading = Find<QLineEdit>("edtINPUT_YOMI");
    reading->setFocus();
    Type(QString::fromUtf8(c.reading));
    jukugo->setFocus();
    Type(QString::fromUtf8(c.jukugo));
    if (!c.inJukugo) reading->setFocus();
    Enter();
    EXPECT_EQ(game_.messageSet, c.set);
    EXPECT_EQ(jukugo->text(), c.inJukugo ? QString() : QString::fromUtf8(c.jukugo));
    EXPECT_EQ(reading->text(), c.inJukugo ? QString::fromUtf8(c.reading) : QString());
    EXPECT_EQ(Focused(), c.inJukugo ? jukugo : reading);
    QTest::mouseClick(Find("btnYAMERU"), Qt::LeftButton);
  });
}

INSTANTIATE_TEST_SUITE_P(Texts, InputBoxRefusalTest,
                         ::testing::Values(RefusalCase{"KanjiAndKanaMixed", "日ほん", "にほん", true, 9},
                                           RefusalCase{"JukugoInHiragana", "にほん", "にほん", true, 9},
                                           RefusalCase{"JukugoInLetters", "Nihon", "にほん", true, 9},
                                           RefusalCase{"ReadingInKatakana", "日本", "ニホン", false, 10},
                                           RefusalCase{"ReadingWithKanji", "日本", "に本", false, 10},
                                           RefusalCase{"EmptyReading", "日本", "", false, 10},
                                           RefusalCase{"ReadingWithEmoji", "日本", "にほん😀", false, 10}),
                         RowName);

TEST_F(InputBoxTest, HaiStoresTheTextsUnchecked) {
  const TRenkomiString pair = Run([&] {
    Type(QStringLiteral("にほん"));
    Find<QLineEdit>("edtINPUT_YOMI")->setFocus();
    Type(QStringLiteral("ニホン"));
    QTest::mouseClick(Find<QPushButton>("btnHAI"), Qt::LeftButton);
  });
  EXPECT_EQ(pair, (TRenkomiString{ToGame(QStringLiteral("にほん")), ToGame(QStringLiteral("ニホン"))}));
  EXPECT_EQ(game_.messageSet, 0) << "no message set on はい";
  EXPECT_TRUE(StartHandedBack(game_));

  EXPECT_EQ(Run([&] { QTest::mouseClick(Find<QPushButton>("btnHAI"), Qt::LeftButton); }), TRenkomiString{});
}

struct GiveUpCase {
  const char* name;
  std::function<void(QWidget& yameru)> leave;
};

class InputBoxGiveUpTest : public InputBoxTest,
                           public ::testing::WithParamInterface<GiveUpCase> {};

TEST_P(InputBoxGiveUpTest, ReturnsAnEmptyPairWhateverCameBefore) {
  const TRenkomiString first = Run([&] {
    Type(QStringLiteral("日本"));
    Enter();
    Type(QStringLiteral("にほん"));
    Enter();
    Enter();
  });
  ASSERT_EQ(first.jukugo, ToGame(QStringLiteral("日本")));

  const TRenkomiString pair = Run([&] {
    Type(QStringLiteral("本日"));
    Enter();
    Type(QStringLiteral("ほんじつ"));
    GetParam().leave(*Find("btnYAMERU"));
  });
  EXPECT_EQ(pair, TRenkomiString{});
  EXPECT_TRUE(StartHandedBack(game_));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, InputBoxGiveUpTest,
    ::testing::Values(GiveUpCase{"YameruClicked", [](QWidget& yameru) { QTest::mouseClick(&yameru, Qt::LeftButton); }},
                      GiveUpCase{"EnterOnYameru",
                                 [](QWidget& yameru) {
                                   yameru.setFocus();
                                   QTest::keyClick(&yameru, Qt::Key_Return);
                                 }},
                      GiveUpCase{"SpaceOnYameru",
                                 [](QWidget& yameru) {
                                   yameru.setFocus();
                                   QTest::keyClick(&yameru, Qt::Key_Space);
                                 }},
                      GiveUpCase{"TitleBarClose", [](QWidget& yameru) { yameru.window()->close(); }}),
    RowName);

// What an input method sends while the player moves from the jukugo box to the
// reading box: a step goes to a box ('J' or 'Y'), as a preedit ('p'), a commit ('c')
// or the focus moving there ('f').
struct ImeStep {
  char box;
  char kind;
  const char* text;
};
struct PendingCase {
  const char* name;
  std::vector<ImeStep> steps;
  const char* jukugo;
  const char* reading;
};

class PendingConversionTest : public InputBoxTest, public testing::WithParamInterface<PendingCase> {};

TEST_P(PendingConversionTest, LandsOnlyInTheBoxItWasTypedIn) {
  Run([&] {
    for (const ImeStep& step : GetParam().steps) {
      QLineEdit* box = step.box == 'J' ? Find<QLineEdit>("edtINPUT_JUKU") : Find<QLineEdit>("edtINPUT_YOMI");
      if (step.kind == 'f') {
        box->setFocus();
        continue;
      }
      QInputMethodEvent event(step.kind == 'p' ? QString::fromUtf8(step.text) : QString(), {});
      if (step.kind == 'c') event.setCommitString(QString::fromUtf8(step.text));
      QCoreApplication::sendEvent(box, &event);
    }
    EXPECT_EQ(Find<QLineEdit>("edtINPUT_JUKU")->text(), QString::fromUtf8(GetParam().jukugo));
    EXPECT_EQ(Find<QLineEdit>("edtINPUT_YOMI")->text(), QString::fromUtf8(GetParam().reading));
    QTest::mouseClick(Find("btnYAMERU"), Qt::LeftButton);
  });
}

INSTANTIATE_TEST_SUITE_P(
    ReadingBoxClicked, PendingConversionTest,
    testing::Values(
        // Qt 6.4 with ibus: Qt commits into the box losing the focus, then the
        // engine's own commit reaches the box that gained it.
        PendingCase{"CommittedTwice",
                    {{'J', 'p', "ほうこく"},
                     {'J', 'p', "報告"},
                     {'J', 'c', "報告"},
                     {'Y', 'f', ""},
                     {'Y', 'p', ""},
                     {'Y', 'c', "報告"}},
                    "報告",
                    ""},
        PendingCase{"CommittedOnlyAfterTheMove", {{'J', 'p', "報告"}, {'Y', 'f', ""}, {'Y', 'c', "報告"}}, "報告", ""},
        PendingCase{
            "TheSameWordTypedAgainInTheReadingBox",
            {{'J', 'p', "報告"}, {'J', 'c', "報告"}, {'Y', 'f', ""}, {'Y', 'p', "ほうこく"}, {'Y', 'c', "報告"}},
            "報告",
            "報告"}),
    RowName);

TEST_F(InputBoxTest, EveryShowingStartsAfreshWithItsCaptionAndPrompt) {
  Run([&] {
    Type(QStringLiteral("日本"));
    Enter();
    Type(QStringLiteral("にほん"));
    QTest::mouseClick(Find("btnYAMERU"), Qt::LeftButton);
  });
  Run(
      [&] {
        EXPECT_EQ(box_->windowTitle(), QStringLiteral("じゅくごをおしえて"));
        EXPECT_EQ(Find<renkomi::ui::Panel>("pnlTitle")->Caption(), QStringLiteral("日本 につづくことばを入れてね。"));
        EXPECT_EQ(Find<QLineEdit>("edtINPUT_JUKU")->text(), QString());
        EXPECT_EQ(Find<QLineEdit>("edtINPUT_YOMI")->text(), QString());
        EXPECT_EQ(Focused(), Find("edtINPUT_JUKU"));
        box_->close();
      },
      QStringLiteral("じゅくごをおしえて"), QStringLiteral("日本 につづくことばを入れてね。"));
}

TEST_F(InputBoxTest, PlacedBesideTheMainWindowOnceThenWhereLeft) {
  Run([&] {
    EXPECT_EQ(box_->pos(), mainWindow_.pos() + QPoint(100, 200));
    box_->move(40, 60);
    box_->close();
  });
  // The main window moving later does not move the dialog.
  mainWindow_.move(10, 10);
  Run([&] {
    EXPECT_EQ(box_->pos(), QPoint(40, 60));
    box_->close();
  });
  EXPECT_EQ(box_->size(), QSize(346, 194));
}

// Right after the game shows its main window the window manager may not have
// framed it yet; the dialog is still placed frame to frame.
TEST(InputBoxPlacementTest, FrameToFrameWhenTheMainWindowIsFramedLate) {
  QWidget mainWindow;
  mainWindow.setGeometry(300, 200, 616, 403);
  RecordingWindow game;
  TfrmInputBox box(mainWindow, game, &mainWindow);
  mainWindow.show();
  const QPoint frame = mainWindow.frameGeometry().topLeft();
  ASSERT_NE(frame, mainWindow.geometry().topLeft()) << "the platform gives windows no frame";

  QObject context;
  QTimer::singleShot(0, &context, [&] {
    EXPECT_EQ(box.frameGeometry().topLeft(), frame + QPoint(100, 200));
    box.close();
  });
  box.InputWordPair(QStringLiteral("じゅくごをおしえて"), QString());
}

}  // namespace
