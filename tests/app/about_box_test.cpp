#include "about_box.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "widget_test_support.h"

namespace renkomi::app {
namespace {

using renkomi::test::FindElement;

// Runs the About box modally; `act` runs inside once it is up and must close it.
int RunModal(TRenkomiAboutBox& box, const std::function<void()>& act) {
  QObject context;
  QTimer::singleShot(0, &context, act);
  QTimer::singleShot(3000, &context, [&] { box.done(-1); });
  return box.exec();
}

TEST(AboutBoxTest, OpensCentredWithCloseFocusedAndEnterClosesIt) {
  TRenkomiAboutBox box;
  QPoint shownAt;
  QWidget* focused = nullptr;
  const int result = RunModal(box, [&] {
    shownAt = box.pos();
    focused = box.focusWidget();
    QTest::keyClick(box.focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(focused, FindElement<QPushButton>(box, "OKButton"));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(shownAt + QPoint(box.width() / 2, box.height() / 2), screen.center());
  EXPECT_EQ(box.size(), QSize(427, 334));
}

TEST(AboutBoxTest, EscDoesNothing) {
  TRenkomiAboutBox box;
  bool openAfterEsc = false;
  const int result = RunModal(box, [&] {
    QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Escape);
    openAfterEsc = box.isVisible();
    FindElement<QPushButton>(box, "OKButton")->click();
  });
  EXPECT_TRUE(openAfterEsc);
  EXPECT_EQ(result, QDialog::Accepted);
}

TEST(AboutBoxTest, ReopensWhereThePlayerLeftIt) {
  TRenkomiAboutBox box;
  const QPoint movedTo(40, 50);
  RunModal(box, [&] {
    box.move(movedTo);
    QTest::mouseClick(FindElement<QPushButton>(box, "OKButton"), Qt::LeftButton);
  });
  QPoint shownAt;
  QWidget* focused = nullptr;
  const int result = RunModal(box, [&] {
    shownAt = box.pos();
    focused = box.focusWidget();
    box.close();
  });
  EXPECT_EQ(shownAt, movedTo);
  EXPECT_EQ(focused, FindElement<QPushButton>(box, "OKButton"));
  EXPECT_EQ(result, QDialog::Rejected);
}

TEST(AboutBoxTest, TextsFitTheirPlaces) {
  ASSERT_FALSE(QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
      << "no Japanese font: every glyph would be a box";
  TRenkomiAboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
  // The word-wrapped text must not run past the bottom of its 72 pixels.
  const QLabel& text = *FindElement<QLabel>(box, "Label1");
  EXPECT_LE(text.heightForWidth(text.width()), text.height());
  for (QLabel* label : {FindElement<QLabel>(box, "ProductName"), FindElement<QLabel>(box, "Version")}) {
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
  }
  const QPushButton& close = *FindElement<QPushButton>(box, "OKButton");
  EXPECT_LE(QFontMetrics(close.font()).horizontalAdvance(close.text()) + 20, close.width());
}

TEST(AboutBoxTest, ShowsTheProgramIcon) {
  TRenkomiAboutBox box;
  QLabel* picture = FindElement<QLabel>(box, "ProgramIcon");
  const QPixmap icon = picture->pixmap();
  ASSERT_FALSE(icon.isNull()) << "the program icon is missing from the resources";
  EXPECT_EQ(icon.size(), QSize(32, 32));
  EXPECT_EQ(picture->geometry(), QRect(24, 16, 32, 32));
  // A screen reader says what the picture is.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(picture)->text(QAccessible::Name),
            QStringLiteral("Renkomiのアイコン"));
}

}  // namespace
}  // namespace renkomi::app
