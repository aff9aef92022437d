#include "app_shell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "game_windows.h"
#include "random.h"
#include "widget_test_support.h"

namespace renkomi::app {
namespace {

// A window that refuses to close, as the main window does when its save fails.
class StubbornForm : public QWidget {
 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// A window that asks before it closes, as the main window does when its save
// fails: a dialog's own event loop runs inside the close, then it accepts.
class AskingForm : public QWidget {
 protected:
  void closeEvent(QCloseEvent* event) override {
    QEventLoop dialog;
    QTimer::singleShot(50, &dialog, &QEventLoop::quit);
    dialog.exec();
    event->accept();
  }
};

// Runs the event loop with `act` inside it; true when the loop was ended by the
// shell before the time ran out.
bool LoopEndedBy(const std::function<void()>& act) {
  bool timedOut = false;
  QObject context;
  QTimer::singleShot(0, &context, act);
  QTimer::singleShot(500, &context, [&] {
    timedOut = true;
    QCoreApplication::exit(7);
  });
  const int code = QCoreApplication::exec();
  return !timedOut && code == 0;
}

TEST(AppShellTest, RecordsTheFirstFormOnly) {
  AppShell shell;
  QWidget first;
  QWidget second;
  EXPECT_FALSE(shell.HasMainForm());
  shell.SetMainForm(first);
  shell.SetMainForm(second);
  EXPECT_EQ(shell.MainForm(), &first);
}

enum class FormKind { Plain, Asking, Stubborn };

struct ClosingRow {
  const char* name;
  FormKind mainForm;
  bool closeTheOther;  // close the other window rather than the main form
  bool ends;
};

class ClosingTest : public testing::TestWithParam<ClosingRow> {};

// The other window open beside the main form plays the organizer's part.
TEST_P(ClosingTest, OnlyTheMainFormsClosingEndsTheGame) {
  const ClosingRow& row = GetParam();
  AppShell shell;
  std::unique_ptr<QWidget> mainForm = row.mainForm == FormKind::Asking     ? std::make_unique<AskingForm>()
                                      : row.mainForm == FormKind::Stubborn ? std::make_unique<StubbornForm>()
                                                                           : std::make_unique<QWidget>();
  QWidget other;
  shell.SetMainForm(*mainForm);
  mainForm->show();
  other.show();
  EXPECT_EQ(LoopEndedBy([&] { (row.closeTheOther ? other : *mainForm).close(); }), row.ends);
  EXPECT_EQ(mainForm->isVisible(), !row.ends);
}

INSTANTIATE_TEST_SUITE_P(Windows, ClosingTest,
                         testing::Values(ClosingRow{"MainFormWithOtherWindowsOpen", FormKind::Plain, false, true},
                                         ClosingRow{"AnotherWindow", FormKind::Plain, true, false},
                                         ClosingRow{"MainFormAcceptingAfterADialog", FormKind::Asking, false, true},
                                         ClosingRow{"MainFormRefusing", FormKind::Stubborn, false, false}),
                         test::RowName);

// The game's real windows over a program folder of their own.
class GameWindowsTest : public testing::Test {
 protected:
  test::ProgramFolder folder;
  Random random;
  test::RecordingSound sound;
  AppShell shell;
  GameWindows windows{folder.Path(), random, sound, shell};
};

struct FrameRow {
  const char* name;
  Qt::WindowFlags buttons;  // minimize and maximize, as the design gives them
  bool fixedSize;
};

using test::PrintTo;

class WindowFrameTest : public GameWindowsTest, public testing::WithParamInterface<FrameRow> {};

// Each window's title bar has the buttons of its design besides the system menu
// and the close box, and a dialog keeps its size, asking for a fixed frame.
TEST_P(WindowFrameTest, TitleBarAndSizeAreAsDesigned) {
  QWidget* window = nullptr;
  const QList<QWidget*> all{&windows.Form1(), &windows.RenkomiAboutBox(), &windows.FrmInputBox(),
                            &windows.FrmDicOpt(), &windows.FrmRenkomiWait()};
  for (QWidget* candidate : all) {
    if (candidate->objectName() == QLatin1String(GetParam().name)) window = candidate;
  }
  ASSERT_NE(window, nullptr);
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_EQ(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint), GetParam().buttons);
  for (const Qt::WindowType needed : {Qt::WindowTitleHint, Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint}) {
    EXPECT_TRUE(flags.testFlag(needed)) << std::hex << needed;
  }
  EXPECT_EQ(window->minimumSize() == window->maximumSize(), GetParam().fixedSize);
  EXPECT_EQ(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint), GetParam().fixedSize);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowFrameTest,
                         testing::Values(FrameRow{"Form1", Qt::WindowMinimizeButtonHint, false},
                                         FrameRow{"RenkomiAboutBox", Qt::WindowFlags(), true},
                                         FrameRow{"frmInputBox", Qt::WindowFlags(), true},
                                         FrameRow{"frmDicOpt", Qt::WindowMaximizeButtonHint, false},
                                         FrameRow{"frmRenkomiWait", Qt::WindowFlags(), true}),
                         test::RowName);

// Every other window of the game belongs to the main window: the desktop keeps it
// above the main window and takes it down with it. (Which windows get no taskbar
// entry only an X11 window manager sees; the desktop suite checks that.)
TEST_F(GameWindowsTest, SecondaryWindowsBelongToTheMainWindow) {
  QWidget& main = windows.Form1();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  const std::pair<const char*, QWidget*> secondary[] = {
      {"about box", &windows.RenkomiAboutBox()}, {"word entry", &windows.FrmInputBox()},
      {"organizer", &windows.FrmDicOpt()}, {"progress", &windows.FrmRenkomiWait()}};
  for (const auto& [name, window] : secondary) {
    SCOPED_TRACE(name);
    window->show();
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), main.windowHandle());
    // Down with the game; a modal dialog stays, since hiding it would end it.
    main.showMinimized();
    QTest::qWait(50);
    EXPECT_EQ(window->isVisible(), window->isModal()) << "minimized with the game";
    main.showNormal();
    main.activateWindow();
    QTest::qWait(50);
    EXPECT_TRUE(window->isVisible()) << "not back with the game";
    window->hide();
  }
}

// The organizer keeps its table clear of its panel, with a gap between them.
TEST_F(GameWindowsTest, OrganizerKeepsItsTableClearOfThePanel) {
  windows.Form1().Store().ChooseDictionary("renkomi");
  windows.Form1().Store().LoadDictionary();
  TfrmDicOpt& organizer = windows.FrmDicOpt();
  organizer.show();
  organizer.resize(300, 444);
  EXPECT_EQ(test::FindElement<QTableView>(organizer, "stgWord")->width(), 300 - (225 + 5));
  organizer.close();
}

}  // namespace
}  // namespace renkomi::app
