#include "animate_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>

#include "app_shell.h"
#include "widget_test_support.h"

namespace renkomi::app {
namespace {

using renkomi::test::PrintTo;
using renkomi::test::RecordingSound;
using renkomi::test::RowName;

const std::string kMin = kMinimizeSound;
const std::string kRestore = kRestoreSound;

// A window to carry the component, the sounds it played and the application's record.
class AnimateFormTest : public ::testing::Test {
 protected:
  QWidget form;
  RecordingSound sound;
  AppShell shell;
};

struct StateCase {
  const char* name;
  std::vector<std::function<void(QWidget&)>> steps;
  std::vector<std::string> sounds;
};

void Normal(QWidget& w) { w.showNormal(); }
void Minimize(QWidget& w) { w.showMinimized(); }
void Maximize(QWidget& w) { w.showMaximized(); }
void FullScreen(QWidget& w) { w.showFullScreen(); }
void MinimizeMaximized(QWidget& w) {
  w.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
}
void RestoreMaximized(QWidget& w) { w.setWindowState(Qt::WindowMaximized); }

class AnimateFormStateTest : public AnimateFormTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(AnimateFormStateTest, SoundsOnlyOnMinimizeAndRestore) {
  form.setWindowTitle(QStringLiteral("Renkomi Ver.2.0"));
  auto* animate = new TAnimateForm(&form, sound, shell);
  ASSERT_EQ(animate->parent(), &form);
  shell.SetMainForm(form);
  const QString appName = QCoreApplication::applicationName();

  form.show();
  for (const auto& step : GetParam().steps) step(form);

  EXPECT_EQ(sound.played, GetParam().sounds);
  // Nothing borrows the application's or the window's title for the minimize.
  EXPECT_EQ(QCoreApplication::applicationName(), appName);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Renkomi Ver.2.0"));
}

INSTANTIATE_TEST_SUITE_P(
    States, AnimateFormStateTest,
    ::testing::Values(
        StateCase{"MinimizeThenRestore", {Minimize, Normal}, {kMin, kRestore}},
        StateCase{"EveryMinimizeAndRestore",
                  {Minimize, Normal, Minimize, Normal, Minimize},
                  {kMin, kRestore, kMin, kRestore, kMin}},
        StateCase{"MaximizeAndFullScreenAreSilent", {Maximize, Normal, FullScreen, Normal}, {}},
        StateCase{"MinimizedFromMaximizedAndBack", {Maximize, MinimizeMaximized, RestoreMaximized}, {kMin, kRestore}},
        StateCase{"MinimizeFromFullScreenAndRestore", {FullScreen, Minimize, Normal}, {kMin, kRestore}}),
    RowName);

TEST_F(AnimateFormTest, DestroyedComponentGivesTheWindowItsOwnHandlingBack) {
  auto animate = std::make_unique<TAnimateForm>(&form, sound, shell);
  form.show();
  form.showMinimized();
  animate.reset();
  form.showNormal();
  form.showMinimized();
  EXPECT_EQ(sound.played, std::vector<std::string>{kMin});
  EXPECT_TRUE(form.isMinimized());
}

TEST_F(AnimateFormTest, DiesWithItsWindow) {
  QPointer<TAnimateForm> animate;
  {
    QWidget window;
    animate = new TAnimateForm(&window, sound, shell);
  }
  EXPECT_TRUE(animate.isNull());
}

TEST_F(AnimateFormTest, LeavesNoWindowOfItsOwn) {
  const auto before = QApplication::topLevelWidgets().size();
  const auto* animate = new TAnimateForm(&form, sound, shell);
  ASSERT_EQ(animate->parent(), &form);
  form.show();
  form.showMinimized();
  form.showNormal();
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

struct OwnerCase {
  const char* name;
  std::function<QObject*(QWidget& form)> makeOwner;
};

class AnimateFormOwnerTest : public AnimateFormTest, public ::testing::WithParamInterface<OwnerCase> {};

TEST_P(AnimateFormOwnerTest, OwnerMustBeAForm) {
  QObject* owner = GetParam().makeOwner(form);
  try {
    TAnimateForm animate(owner, sound, shell);
    ADD_FAILURE() << "no error";
  } catch (const EAnimateFormError& e) {
    EXPECT_STREQ(e.what(), "Owner must be a form");
  }
  if (owner != nullptr) {
    EXPECT_TRUE(owner->children().isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Owners, AnimateFormOwnerTest,
    ::testing::Values(OwnerCase{"None", [](QWidget&) -> QObject* { return nullptr; }},
                      OwnerCase{"PlainObject", [](QWidget& form) -> QObject* { return new QObject(&form); }},
                      OwnerCase{"ControlOnAForm", [](QWidget& form) -> QObject* { return new QWidget(&form); }}),
    RowName);

TEST_F(AnimateFormTest, OnlyTheFirstFormMayCarryIt) {
  TAnimateForm first(&form, sound, shell);
  shell.SetMainForm(form);

  QWidget secondForm;
  try {
    TAnimateForm second(&secondForm, sound, shell);
    ADD_FAILURE() << "no error";
  } catch (const EAnimateFormError& e) {
    EXPECT_STREQ(e.what(), "AnimateForm muse be placed in a main form");
  }
  EXPECT_TRUE(secondForm.children().isEmpty());
  // The refused one hooked nothing: the second window minimizes in silence.
  secondForm.show();
  secondForm.showMinimized();
  EXPECT_TRUE(sound.played.empty());
}

}  // namespace
}  // namespace renkomi::app
