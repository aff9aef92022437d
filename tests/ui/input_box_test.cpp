// The word entry dialog alone, driven as a player drives it: text committed by
// the input method, Enter keys and clicks, against a window that records what the
// character was told to do.
#include "input_box.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "application.h"
#include "text.h"
#include "recording_window.h"
#include "widget_test_support.h"

// Readable positions in failure messages.
inline void PrintTo(const QPoint& point, std::ostream* out) {
  *out << '(' << point.x() << ", " << point.y() << ')';
}

namespace {

using renkomi::Control;
using renkomi::ui::FromGame;
using renkomi::test::RecordingWindow;
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

TEST_F(InputBoxTest, KeyboardOnlyEntryReturnsThePair) {
  int setDuringEntry = 0;
  bool startHandedBackEarly = false;
  bool focusInJukugo = false;
  bool focusInReading = false;
  bool focusOnHai = false;
  const TRenkomiString pair = Run([&] {
    focusInJukugo = Focused() == Find<QLineEdit>("edtINPUT_JUKU");
    Type(QStringLiteral("日本"));
    Enter();
    focusInReading = Focused() == Find<QLineEdit>("edtINPUT_YOMI");
    Type(QStringLiteral("にほん"));
    Enter();
    focusOnHai = Focused() == Find<QPushButton>("btnHAI");
    setDuringEntry = game_.messageSet;
    startHandedBackEarly = game_.focus.has_value() || game_.Enabled(Control::Start);
    Enter();
  });
  EXPECT_TRUE(focusInJukugo);
  EXPECT_TRUE(focusInReading);
  EXPECT_TRUE(focusOnHai);
  EXPECT_EQ(setDuringEntry, 11);
  EXPECT_FALSE(startHandedBackEarly);
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
void PrintTo(const RefusalCase& row, std::ostream* out) { *out << row.name; }

class InputBoxRefusalTest : public InputBoxTest,
                            public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(InputBoxRefusalTest, EnterEmptiesOnlyTheRefusedBox) {
  const RefusalCase& c = GetParam();
  int shown = 0;
  QString jukugoLeft, readingLeft;
  QWidget* focusAfter = nullptr;
  Run([&] {
    Find<QLineEdit>("edtINPUT_YOMI")->setFocus();
    Type(QString::fromUtf8(c.reading));
    Find<QLineEdit>("edtINPUT_JUKU")->setFocus();
    Type(QString::fromUtf8(c.jukugo));
    if (!c.inJukugo) Find<QLineEdit>("edtINPUT_YOMI")->setFocus();
    Enter();
    shown = game_.messageSet;
    jukugoLeft = Find<QLineEdit>("edtINPUT_JUKU")->text();
    readingLeft = Find<QLineEdit>("edtINPUT_YOMI")->text();
    focusAfter = Focused();
    QTest::mouseClick(Find<QPushButton>("btnYAMERU"), Qt::LeftButton);
  });
  EXPECT_EQ(shown, c.set);
  if (c.inJukugo) {
    EXPECT_EQ(jukugoLeft, QString());
    EXPECT_EQ(readingLeft, QString::fromUtf8(c.reading));
    EXPECT_EQ(focusAfter, Find<QLineEdit>("edtINPUT_JUKU"));
  } else {
    EXPECT_EQ(jukugoLeft, QString::fromUtf8(c.jukugo));
    EXPECT_EQ(readingLeft, QString());
    EXPECT_EQ(focusAfter, Find<QLineEdit>("edtINPUT_YOMI"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InputBoxRefusalTest,
    ::testing::Values(RefusalCase{"KanjiAndKanaMixed", "日ほん", "にほん", true, 9},
                      RefusalCase{"JukugoInHiragana", "にほん", "にほん", true, 9},
                      RefusalCase{"JukugoInLetters", "Nihon", "にほん", true, 9},
                      RefusalCase{"ReadingInKatakana", "日本", "ニホン", false, 10},
                      RefusalCase{"ReadingWithKanji", "日本", "に本", false, 10},
                      RefusalCase{"EmptyReading", "日本", "", false, 10},
                      RefusalCase{"ReadingWithEmoji", "日本", "にほん😀", false, 10}),
    [](const auto& info) { return std::string(info.param.name); });

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
  std::function<void(TfrmInputBox&)> leave;
};
void PrintTo(const GiveUpCase& row, std::ostream* out) { *out << row.name; }

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
    GetParam().leave(*box_);
  });
  EXPECT_EQ(pair, TRenkomiString{});
  EXPECT_TRUE(StartHandedBack(game_));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, InputBoxGiveUpTest,
    ::testing::Values(
        GiveUpCase{"YameruClicked",
                   [](TfrmInputBox& box) {
                     QTest::mouseClick(renkomi::test::FindElement(box, "btnYAMERU"), Qt::LeftButton);
                   }},
        GiveUpCase{"EnterOnYameru",
                   [](TfrmInputBox& box) {
                     QWidget* yameru = renkomi::test::FindElement(box, "btnYAMERU");
                     yameru->setFocus();
                     QTest::keyClick(yameru, Qt::Key_Return);
                   }},
        GiveUpCase{"SpaceOnYameru",
                   [](TfrmInputBox& box) {
                     QWidget* yameru = renkomi::test::FindElement(box, "btnYAMERU");
                     yameru->setFocus();
                     QTest::keyClick(yameru, Qt::Key_Space);
                   }},
        GiveUpCase{"TitleBarClose", [](TfrmInputBox& box) { box.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputBoxTest, EscapeDoesNotCloseIt) {
  bool openAfterEscape = false;
  QString jukugoAfterEscape;
  Run([&] {
    Type(QStringLiteral("日本"));
    QTest::keyClick(Focused(), Qt::Key_Escape);
    QTest::keyClick(box_.operator->(), Qt::Key_Escape);
    openAfterEscape = box_->isVisible();
    jukugoAfterEscape = Find<QLineEdit>("edtINPUT_JUKU")->text();
    QTest::mouseClick(Find<QPushButton>("btnYAMERU"), Qt::LeftButton);
  });
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(jukugoAfterEscape, QStringLiteral("日本"));
}

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
void PrintTo(const PendingCase& row, std::ostream* out) { *out << row.name; }

class PendingConversionTest : public InputBoxTest, public testing::WithParamInterface<PendingCase> {};

TEST_P(PendingConversionTest, LandsOnlyInTheBoxItWasTypedIn) {
  QString jukugo, reading;
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
    jukugo = Find<QLineEdit>("edtINPUT_JUKU")->text();
    reading = Find<QLineEdit>("edtINPUT_YOMI")->text();
    QTest::mouseClick(Find<QPushButton>("btnYAMERU"), Qt::LeftButton);
  });
  EXPECT_EQ(jukugo, QString::fromUtf8(GetParam().jukugo));
  EXPECT_EQ(reading, QString::fromUtf8(GetParam().reading));
}

INSTANTIATE_TEST_SUITE_P(
    ReadingBoxClicked, PendingConversionTest,
    testing::Values(
        // Qt 6.4 with ibus: Qt commits into the box losing the focus, then the
        // engine's own commit reaches the box that gained it.
        PendingCase{"CommittedTwice",
                    {{'J', 'p', "ほうこく"}, {'J', 'p', "報告"}, {'J', 'c', "報告"}, {'Y', 'f', ""},
                     {'Y', 'p', ""}, {'Y', 'c', "報告"}},
                    "報告", ""},
        PendingCase{"CommittedOnlyAfterTheMove",
                    {{'J', 'p', "報告"}, {'Y', 'f', ""}, {'Y', 'c', "報告"}}, "報告", ""},
        PendingCase{"TheSameWordTypedAgainInTheReadingBox",
                    {{'J', 'p', "報告"}, {'J', 'c', "報告"}, {'Y', 'f', ""}, {'Y', 'p', "ほうこく"},
                     {'Y', 'c', "報告"}},
                    "報告", "報告"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputBoxTest, EveryShowingStartsAfreshWithItsCaptionAndPrompt) {
  Run([&] {
    Type(QStringLiteral("日本"));
    Enter();
    Type(QStringLiteral("にほん"));
    QTest::mouseClick(Find<QPushButton>("btnYAMERU"), Qt::LeftButton);
  });
  QString title, prompt, jukugo, reading;
  QWidget* focused = nullptr;
  Run(
      [&] {
        title = box_->windowTitle();
        prompt = Find<renkomi::ui::Panel>("pnlTitle")->Caption();
        jukugo = Find<QLineEdit>("edtINPUT_JUKU")->text();
        reading = Find<QLineEdit>("edtINPUT_YOMI")->text();
        focused = Focused();
        box_->close();
      },
      QStringLiteral("じゅくごをおしえて"), QStringLiteral("日本 につづくことばを入れてね。"));
  EXPECT_EQ(title, QStringLiteral("じゅくごをおしえて"));
  EXPECT_EQ(prompt, QStringLiteral("日本 につづくことばを入れてね。"));
  EXPECT_EQ(jukugo, QString());
  EXPECT_EQ(reading, QString());
  EXPECT_EQ(focused, Find<QLineEdit>("edtINPUT_JUKU"));
}

TEST_F(InputBoxTest, PlacedBesideTheMainWindowOnceThenWhereLeft) {
  QPoint firstPlace;
  Run([&] {
    firstPlace = box_->pos();
    box_->move(40, 60);
    box_->close();
  });
  EXPECT_EQ(firstPlace, mainWindow_.pos() + QPoint(100, 200));
  // The main window moving later does not move the dialog.
  mainWindow_.move(10, 10);
  QPoint secondPlace;
  Run([&] {
    secondPlace = box_->pos();
    box_->close();
  });
  EXPECT_EQ(secondPlace, QPoint(40, 60));
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

  QPoint placed;
  QObject context;
  QTimer::singleShot(0, &context, [&] {
    placed = box.frameGeometry().topLeft();
    box.close();
  });
  box.InputWordPair(QStringLiteral("じゅくごをおしえて"), QString());
  EXPECT_EQ(placed, frame + QPoint(100, 200));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  renkomi::ui::Application app(argc, argv);
  return RUN_ALL_TESTS();
}
