#include "animate_form.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app_shell.h"
#include "recording_sound.h"

namespace renkomi::app {
namespace {

using renkomi::test::RecordingSound;

const std::string kMin = kMinimizeSound;
const std::string kRestore = kRestoreSound;

struct StateCase {
  const char* name;
  std::vector<std::function<void(QWidget&)>> steps;
  std::vector<std::string> sounds;
};
void PrintTo(const StateCase& row, std::ostream* out) { *out << row.name; }

void Normal(QWidget& w) { w.showNormal(); }
void Minimize(QWidget& w) { w.showMinimized(); }
void Maximize(QWidget& w) { w.showMaximized(); }
void FullScreen(QWidget& w) { w.showFullScreen(); }
void MinimizeMaximized(QWidget& w) {
  w.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
}
void RestoreMaximized(QWidget& w) { w.setWindowState(Qt::WindowMaximized); }

class AnimateFormStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(AnimateFormStateTest, SoundsOnlyOnMinimizeAndRestore) {
  QWidget form;
  form.setWindowTitle(QStringLiteral("Renkomi Ver.2.0"));
  RecordingSound sound;
  AppShell shell;
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
        StateCase{"MinimizedFromMaximizedAndBack",
                  {Maximize, MinimizeMaximized, RestoreMaximized},
                  {kMin, kRestore}},
        StateCase{"MinimizeFromFullScreenAndRestore", {FullScreen, Minimize, Normal},
                  {kMin, kRestore}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnimateFormTest, DestroyedComponentGivesTheWindowItsOwnHandlingBack) {
  QWidget form;
  RecordingSound sound;
  AppShell shell;
  auto animate = std::make_unique<TAnimateForm>(&form, sound, shell);
  form.show();
  form.showMinimized();
  animate.reset();
  form.showNormal();
  form.showMinimized();
  EXPECT_EQ(sound.played, std::vector<std::string>{kMin});
  EXPECT_TRUE(form.isMinimized());
}

TEST(AnimateFormTest, DiesWithItsWindow) {
  RecordingSound sound;
  AppShell shell;
  QPointer<TAnimateForm> animate;
  {
    QWidget form;
    animate = new TAnimateForm(&form, sound, shell);
  }
  EXPECT_TRUE(animate.isNull());
}

TEST(AnimateFormTest, LeavesNoWindowOfItsOwn) {
  QWidget form;
  RecordingSound sound;
  AppShell shell;
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
void PrintTo(const OwnerCase& row, std::ostream* out) { *out << row.name; }

class AnimateFormOwnerTest : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(AnimateFormOwnerTest, OwnerMustBeAForm) {
  QWidget form;
  RecordingSound sound;
  AppShell shell;
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
    ::testing::Values(
        OwnerCase{"None", [](QWidget&) -> QObject* { return nullptr; }},
        OwnerCase{"PlainObject", [](QWidget& form) -> QObject* { return new QObject(&form); }},
        OwnerCase{"ControlOnAForm", [](QWidget& form) -> QObject* { return new QWidget(&form); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnimateFormTest, OnlyTheFirstFormMayCarryIt) {
  RecordingSound sound;
  AppShell shell;
  QWidget mainForm;
  TAnimateForm first(&mainForm, sound, shell);
  shell.SetMainForm(mainForm);

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
