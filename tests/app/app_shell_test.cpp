#include "app_shell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

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

TEST(AppShellTest, ClosingTheMainFormEndsTheGameWithOtherWindowsOpen) {
  AppShell shell;
  QWidget mainForm;
  QWidget organizer;
  shell.SetMainForm(mainForm);
  mainForm.show();
  organizer.show();
  EXPECT_TRUE(LoopEndedBy([&] { mainForm.close(); }));
}

TEST(AppShellTest, ClosingAnotherWindowDoesNotEndTheGame) {
  AppShell shell;
  QWidget mainForm;
  QWidget organizer;
  shell.SetMainForm(mainForm);
  mainForm.show();
  organizer.show();
  EXPECT_FALSE(LoopEndedBy([&] { organizer.close(); }));
  EXPECT_TRUE(mainForm.isVisible());
}

TEST(AppShellTest, CloseAcceptedAfterADialogEndsTheGame) {
  AppShell shell;
  AskingForm mainForm;
  shell.SetMainForm(mainForm);
  mainForm.show();
  EXPECT_TRUE(LoopEndedBy([&] { mainForm.close(); }));
}

TEST(AppShellTest, RefusedCloseKeepsTheGameRunning) {
  AppShell shell;
  StubbornForm mainForm;
  shell.SetMainForm(mainForm);
  mainForm.show();
  EXPECT_FALSE(LoopEndedBy([&] { mainForm.close(); }));
  EXPECT_TRUE(mainForm.isVisible());
}

}  // namespace
}  // namespace renkomi::app
