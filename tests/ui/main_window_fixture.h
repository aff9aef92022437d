// A main window over a temporary program folder, shown on the offscreen screen,
// with a recording sound, a known random state and a hand for its dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "main_window.h"
#include "message_sets.h"
#include "random.h"
#include "widget_test_support.h"

namespace renkomi::test {

class MainWindowFixture : public ::testing::Test {
 protected:
  // The random state after the window is made: with it the opening move of a
  // dictionary draws its first word, and every later draw is known.
  static constexpr std::uint32_t kRandomState = 0;

  void TearDown() override {
    form.reset();
    EXPECT_EQ(answerer.Unexpected(), 0) << "dialogs nobody expected: "
                                        << answerer.Texts().join(QStringLiteral(" / ")).toStdString();
    EXPECT_EQ(answerer.Waiting(), 0) << "answers never asked for";
  }

  void Open(bool show = true) {
    form = std::make_unique<TForm1>(folder.Path(), folder.Path(), random, sound);
    random.SetState(kRandomState);
    if (show) {
      form->show();
      form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
  }

  template <typename T = QWidget>
  T* Find(const char* name) const {
    return FindElement<T>(*form, name);
  }

  // The seven lines of the speech bubble, and their colour.
  QStringList Bubble() const { return Find<QPlainTextEdit>("memFUKIDASI")->toPlainText().split(QLatin1Char('\n')); }
  QColor BubbleColour() const { return Find<QPlainTextEdit>("memFUKIDASI")->palette().color(QPalette::Text); }
  // The seven lines of message set `number`, as the bubble shows them.
  static QStringList Set(int number) {
    QStringList lines;
    for (const std::u16string_view line : ui::GetMessageSet(number))
      lines << QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
    return lines;
  }

  // The pointer comes to rest at `point` of the window. Qt drops a move to where
  // the pointer already is, so it arrives from a pixel away.
  void Hover(QPoint point) const {
    QTest::mouseMove(form->windowHandle(), point + QPoint(1, 1));
    QTest::mouseMove(form->windowHandle(), point);
  }

  // Enter in an element, as the keyboard sends it.
  static void Enter(QWidget* element) { QTest::keyClick(element, Qt::Key_Return); }
  // Types into a player's box and presses Enter there.
  void Submit(const char* box, const QString& text) {
    QLineEdit* edit = Find<QLineEdit>(box);
    TypeText(edit, text);
    Enter(edit);
  }

  // "えらぶ" on the shared dictionary: the state between matches.
  void ChooseShared() {
    Find<QPushButton>("bbtnJisyoOK")->click();
    ASSERT_FALSE(Find("pnlSelDic")->isVisible());
  }

  // The element that has the window's focus, also while a dialog holds the
  // application's.
  QWidget* Focused() const { return form->focusWidget(); }

  ProgramFolder folder;
  Random random;
  RecordingSound sound;
  DialogAnswerer answerer;
  std::unique_ptr<TForm1> form;
};

}  // namespace renkomi::test
