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

// Esc does nothing; Enter on the focused close button closes it.
TEST(AboutBoxTest, OpensCentredWithCloseFocusedAndOnlyEnterClosesIt) {
  TRenkomiAboutBox box;
  QPushButton* close = FindElement<QPushButton>(box, "OKButton");
  const int result = RunModal(box, [&] {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(box.pos() + QPoint(box.width() / 2, box.height() / 2), screen.center());
    EXPECT_EQ(box.focusWidget(), close);
    QTest::keyClick(close, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible()) << "Esc closed it";
    QTest::keyClick(close, Qt::Key_Return);
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(box.size(), QSize(427, 334));
}

TEST(AboutBoxTest, ReopensWhereThePlayerLeftIt) {
  TRenkomiAboutBox box;
  RunModal(box, [&] {
    box.move(40, 50);
    QTest::mouseClick(FindElement<QPushButton>(box, "OKButton"), Qt::LeftButton);
  });
  const int result = RunModal(box, [&] {
    EXPECT_EQ(box.pos(), QPoint(40, 50));
    EXPECT_EQ(box.focusWidget(), FindElement<QPushButton>(box, "OKButton"));
    box.close();
  });
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
