// Window states the window system may impose, seen on a platform that is not
// X11 (offscreen here, as on Wayland, where the game itself must keep owned
// windows with their owner): title-bar buttons the design does not give are
// undone, the waiting owner brings back the window it waits for, and the help
// goes down and comes back with the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "secondary_window.h"
#include "title_bar.h"

namespace renkomi::test {
namespace {

constexpr Qt::WindowFlags kFrame = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

struct StateCase {
  const char* name;
  Qt::WindowFlags buttons;
  Qt::WindowState imposed;
  bool kept;
};

class TitleBarTest : public testing::TestWithParam<StateCase> {};

TEST_P(TitleBarTest, ImposedStateStaysOnlyWithItsButton) {
  QWidget window(nullptr, kFrame | GetParam().buttons);
  window.resize(200, 100);
  renkomi::ui::KeepToTitleBarButtons(window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.setWindowState(GetParam().imposed);
  QTest::qWait(100);
  EXPECT_EQ((window.windowState() & GetParam().imposed) != 0, GetParam().kept);
  EXPECT_TRUE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    States, TitleBarTest,
    testing::Values(StateCase{"MainWindowMaximized", Qt::WindowMinimizeButtonHint, Qt::WindowMaximized, false},
                    StateCase{"MainWindowMinimized", Qt::WindowMinimizeButtonHint, Qt::WindowMinimized, true},
                    StateCase{"OrganizerMaximized", Qt::WindowMaximizeButtonHint, Qt::WindowMaximized, true},
                    StateCase{"OrganizerMinimized", Qt::WindowMaximizeButtonHint, Qt::WindowMinimized, false},
                    StateCase{"DialogMinimized", Qt::WindowFlags(), Qt::WindowMinimized, false}),
    [](const testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

class OwnerTest : public testing::Test {
 protected:
  void SetUp() override {
    owner.resize(300, 200);
    organizer.resize(200, 150);
    help.resize(200, 150);
    renkomi::ui::MakeSecondaryWindow(organizer, owner, renkomi::ui::OwnerWaits::Yes);
    renkomi::ui::MakeSecondaryWindow(help, owner);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  }

  QWidget owner{nullptr, kFrame | Qt::WindowMinimizeButtonHint};
  QWidget organizer{nullptr, kFrame | Qt::WindowMaximizeButtonHint};
  QWidget help{nullptr, kFrame};
};

TEST_F(OwnerTest, ActivatingTheWaitingOwnerBringsTheOrganizerToTheKeys) {
  organizer.show();
  owner.setEnabled(false);
  owner.activateWindow();
  QTest::qWait(100);
  EXPECT_TRUE(organizer.isVisible());
  EXPECT_FALSE(organizer.isMinimized());
  EXPECT_EQ(QApplication::activeWindow(), &organizer);
}

TEST_F(OwnerTest, AnOwnerThatWaitsForNothingKeepsTheKeys) {
  help.show();
  owner.activateWindow();
  QTest::qWait(100);
  EXPECT_EQ(QApplication::activeWindow(), &owner);
}

TEST_F(OwnerTest, HelpGoesDownAndComesBackWithTheMainWindow) {
  help.show();
  owner.showMinimized();
  QTest::qWait(50);
  EXPECT_FALSE(help.isVisible()) << "the help stays on the screen of a minimized game";
  // Restored as a compositor restores it: the window comes back active.
  owner.showNormal();
  owner.activateWindow();
  QTest::qWait(50);
  EXPECT_TRUE(help.isVisible());
}

}  // namespace
}  // namespace renkomi::test
