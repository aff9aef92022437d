// The organizer window on a dictionary in a temporary folder: the sorted table,
// deleting and the refusal to delete the last word, the count, the progress
// gauge, the window's sizes, the columns' widths from the font, and writing the
// dictionary back on closing.
#include "dic_opt.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <vector>

#include "cp932.h"
#include "gauge.h"
#include "look.h"
#include "organizer_test_support.h"
#include "renkomi_wait.h"
#include "sorted_fill.h"
#include "text_widths.h"
#include "widget_test_support.h"
#include "word_table_model.h"

namespace renkomi::organizer {
namespace {

using testing::FileContent;
using testing::PrintTo;
using testing::ReadBytes;
using testing::RecordingSound;
using testing::RowName;
using testing::Sj;
using testing::TempDictionary;
using testing::Words;

const Words kFourWords = {
    {"日本", "にほん"}, {"本日", "ほんじつ"}, {"入口", "いりぐち"}, {"当日", "とうじつ"}};

class Organizer : public ::testing::Test {
 protected:
  Organizer() { organizer.SetWaitDialog(&wait); }
  // A dialog that no step of the test answers is closed at once and fails the
  // test, where it would otherwise wait for a player for ever.
  void TearDown() override { EXPECT_EQ(answerer.Unexpected(), 0) << "unexpected dialogs"; }

  void Open(const Words& words) {
    dictionary.Load(words);
    organizer.show();
    QCoreApplication::processEvents();  // the table lays itself out as on the screen
  }
  template <typename T = QWidget>
  T* Find(const char* name) const {
    return renkomi::test::FindElement<T>(organizer, name);
  }
  QTableView& Grid() const { return *Find<QTableView>("stgWord"); }
  void Press(const char* button) const { Find<QPushButton>(button)->click(); }
  QAbstractItemModel& Table() { return *Grid().model(); }
  QModelIndex Cell(int row, int column) { return Table().index(row, column); }
  // The cell's place in the table's viewport, and whether all of it is there.
  QRect Place(int row, int column) { return Grid().visualRect(Cell(row, column)); }
  bool InView(int row, int column) {
    const QRect place = Place(row, column);
    return place.width() > 0 && Grid().viewport()->rect().contains(place);
  }
  int TextWidth(const QString& text) { return Grid().fontMetrics().horizontalAdvance(text); }
  // The tooltip the player gets by resting the pointer on the cell; empty for none.
  QString ToolTipOf(int row, int column) {
    QToolTip::hideText();  // an earlier tooltip fades out first
    for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) QTest::qWait(10);
    QWidget& viewport = *Grid().viewport();
    const QPoint at = Place(row, column).center();
    QHelpEvent rest(QEvent::ToolTip, at, viewport.mapToGlobal(at));
    QCoreApplication::sendEvent(&viewport, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  }
  QStringList Column(int column) {
    QStringList cells;
    for (int row = 0; row < Table().rowCount(); ++row)
      cells << Table().data(Table().index(row, column)).toString();
    return cells;
  }
  void SelectRow(int row) { Grid().setCurrentIndex(Table().index(row, 1)); }
  QString Count() const { return Find<QLineEdit>("Memo2")->text(); }
  std::vector<std::string> CompJukugo() const {
    std::vector<std::string> jukugo;
    for (const std::string& entry : dictionary.store.Comp().jukugo().Entries())
      jukugo.push_back(Cp932ToUtf8(entry));
    return jukugo;
  }

  TempDictionary dictionary;
  QWidget mainWindow;
  RecordingSound sound;
  TfrmRenkomiWait wait;
  TfrmDicOpt organizer{dictionary.store, mainWindow, sound};
  renkomi::test::DialogAnswerer answerer;
};

TEST_F(Organizer, OpensWithTheDictionarySortedByReadingAndTakesItOutOfComp) {
  Open(kFourWords);
  EXPECT_TRUE(organizer.isVisible());
  EXPECT_EQ(organizer.windowTitle(), QStringLiteral("辞書の整理"));
  EXPECT_EQ(Column(0), (QStringList{"1", "2", "3", "4"}));
  EXPECT_EQ(Column(1), (QStringList{"入口", "当日", "日本", "本日"}));
  EXPECT_EQ(Column(2), (QStringList{"いりぐち", "とうじつ", "にほん", "ほんじつ"}));
  EXPECT_EQ(Table().headerData(0, Qt::Horizontal).toString(), QString());
  EXPECT_EQ(Table().headerData(1, Qt::Horizontal).toString(), QStringLiteral("熟語"));
  EXPECT_EQ(Table().headerData(2, Qt::Horizontal).toString(), QStringLiteral("よみがな"));
  EXPECT_EQ(Count(), QStringLiteral("4"));
  EXPECT_EQ(dictionary.store.Comp().jukugo().Count(), 0u);
  EXPECT_EQ(dictionary.store.Comp().yomi().Count(), 0u);
  EXPECT_FALSE(mainWindow.isEnabled());
  EXPECT_FALSE(wait.isVisible());
  EXPECT_EQ(Grid().currentIndex().row(), 0);
  EXPECT_EQ(Find<QPlainTextEdit>("Memo1")->document()->blockCount(), 15);
  EXPECT_EQ(Find<QPlainTextEdit>("Memo1")->document()->findBlockByNumber(9).text(),
            QStringLiteral("移動し、【DELETE】ｷｰ"));
  // Tab runs from the table to "終了" and "削除", past both memos.
  EXPECT_EQ(renkomi::test::NextTabStop(&Grid()), Find("btnEND"));
  EXPECT_EQ(renkomi::test::NextTabStop(Find("btnEND")), Find("btnDelete"));
}

TEST_F(Organizer, ScreenReaderNamesTheTableTheCountAndTheProgressAndReadsTheCountAsReadOnly) {
  Open(kFourWords);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&Grid())->text(QAccessible::Name),
            QStringLiteral("辞書のことば"));
  QAccessibleInterface* count = QAccessible::queryAccessibleInterface(Find("Memo2"));
  EXPECT_EQ(count->text(QAccessible::Name), QStringLiteral("現在の登録数"));
  EXPECT_TRUE(count->state().readOnly);
  EXPECT_FALSE(count->state().editable);
  ASSERT_NE(count->textInterface(), nullptr);
  EXPECT_EQ(count->textInterface()->text(0, count->textInterface()->characterCount()), QStringLiteral("4"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(renkomi::test::FindElement(wait, "Gauge1"))->text(QAccessible::Name),
            QStringLiteral("現在の進行状況"));
}

TEST_F(Organizer, ClosingWritesTheRemainingWordsBackInTableOrder) {
  Open(kFourWords);
  SelectRow(1);
  Press("btnDelete");
  EXPECT_EQ(Column(1), (QStringList{"入口", "", "日本", "本日"}));
  EXPECT_EQ(Column(0), (QStringList{"1", "", "3", "4"}));
  EXPECT_EQ(Count(), QStringLiteral("3"));

  Press("btnEND");
  EXPECT_FALSE(organizer.isVisible());
  EXPECT_TRUE(mainWindow.isEnabled());
  EXPECT_EQ(ReadBytes(dictionary.JukugoFile()), FileContent({"入口", "日本", "本日"}));
  EXPECT_EQ(ReadBytes(dictionary.YomiFile()), FileContent({"いりぐち", "にほん", "ほんじつ"}));
  EXPECT_EQ(CompJukugo(), (std::vector<std::string>{"入口", "日本", "本日"}));
}

// A file made elsewhere may hold a jukugo without its reading, or a reading without
// its jukugo. The player deleted only one row, so only that word leaves the files.
TEST_F(Organizer, RowsWithAnEmptyCellGoBackAsTheyAre) {
  Open({{"日本", "にほん"}, {"気分", ""}, {"", "ほんじつ"}, {"入口", "いりぐち"}});
  ASSERT_EQ(Column(1), (QStringList{"気分", "入口", "日本", ""}));
  SelectRow(1);
  Press("btnDelete");
  Press("btnEND");
  EXPECT_EQ(ReadBytes(dictionary.JukugoFile()), FileContent({"気分", "日本", ""}));
  EXPECT_EQ(ReadBytes(dictionary.YomiFile()), FileContent({"", "にほん", "ほんじつ"}));
  EXPECT_EQ(CompJukugo(), (std::vector<std::string>{"気分", "日本", ""}));
}

// An entry of megabytes (a file that was never a dictionary) shows its start with
// an ellipsis, opens quickly, and goes back to the file whole.
TEST_F(Organizer, HugeEntryIsShownCutAndKeptWhole) {
  std::string huge;
  for (int i = 0; i < 500000; ++i) huge += "長";
  QElapsedTimer clock;
  clock.start();
  Open({{"日本", "にほん"}, {huge, "ながい"}});
  organizer.grab();  // painted once, as the player sees it
  EXPECT_LT(clock.elapsed(), 5000);
  const QString cell = Column(1).at(0);  // ながい comes first
  EXPECT_TRUE(cell == QString(256, QChar(0x9577)) + QChar(0x2026)) << cell.size() << " characters";
  Press("btnEND");
  EXPECT_TRUE(ReadBytes(dictionary.JukugoFile()) == FileContent({huge, "日本"}));
}

// Collating equal is not being equal: あ/ア and かっこ/かつこ stay apart, in the
// order of their bytes whichever came first in the dictionary.
TEST_F(Organizer, EqualReadingsStandTogetherInDictionaryOrder) {
  ASSERT_EQ(ReadingCollator().compare(QStringLiteral("かっこ"), QStringLiteral("かつこ")), 0)
      << "the collation no longer treats small and large kana alike";
  Open({{"甲", "かつこ"}, {"乙", "ア"}, {"丙", "かっこ"}, {"丁", "かつこ"}, {"戊", "あ"}, {"己", "かっこ"}});
  // あ (82 A0) before ア (83 41); かっこ (82 A9 82 C1 ...) before かつこ (82 A9 82 C2 ...).
  EXPECT_EQ(Column(1), (QStringList{"戊", "乙", "丙", "己", "甲", "丁"}));
}

struct DeleteKeyCase {
  const char* name;
  Qt::KeyboardModifiers modifiers;
};

class DeleteKey : public Organizer, public ::testing::WithParamInterface<DeleteKeyCase> {};

TEST_P(DeleteKey, DeletesTheSelectedRowUnderAnyModifier) {
  Open(kFourWords);
  SelectRow(2);
  QTest::keyClick(&Grid(), Qt::Key_Delete, GetParam().modifiers);
  EXPECT_EQ(Column(1), (QStringList{"入口", "当日", "", "本日"}));
  EXPECT_EQ(Count(), QStringLiteral("3"));
  EXPECT_TRUE(sound.themeSounds.empty());
}

INSTANTIATE_TEST_SUITE_P(Modifiers, DeleteKey,
                         ::testing::Values(DeleteKeyCase{"Plain", Qt::NoModifier},
                                           DeleteKeyCase{"Shift", Qt::ShiftModifier},
                                           DeleteKeyCase{"Ctrl", Qt::ControlModifier},
                                           DeleteKeyCase{"ShiftCtrl", Qt::ShiftModifier | Qt::ControlModifier}),
                         RowName);

TEST_F(Organizer, DeletingAnEmptiedRowCountsNothingAndReopeningRebuildsTheTable) {
  Open(kFourWords);
  SelectRow(3);
  Press("btnDelete");
  Press("btnDelete");
  QTest::keyClick(&Grid(), Qt::Key_Delete);
  EXPECT_EQ(Count(), QStringLiteral("3"));
  EXPECT_EQ(Column(1), (QStringList{"入口", "当日", "日本", ""}));
  organizer.close();
  EXPECT_EQ(CompJukugo(), (std::vector<std::string>{"入口", "当日", "日本"}));
  organizer.show();
  EXPECT_EQ(Column(1), (QStringList{"入口", "当日", "日本"}));
  EXPECT_EQ(Count(), QStringLiteral("3"));
}

// The refusal follows the words left, not the words loaded, by button and by key.
TEST_F(Organizer, TheLastWordCannotBeDeleted) {
  Open({{"日本", "にほん"}, {"入口", "いりぐち"}});
  SelectRow(0);
  Press("btnDelete");
  EXPECT_EQ(Count(), QStringLiteral("1"));
  answerer.Click(QStringLiteral("yesButton"));
  answerer.Click(QStringLiteral("yesButton"));
  SelectRow(1);
  Press("btnDelete");
  QTest::keyClick(&Grid(), Qt::Key_Delete, Qt::ShiftModifier);
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Captions(), (QStringList{"エラー", "エラー"}));
  EXPECT_EQ(answerer.Texts(), (QStringList{"すべてのことばを削除することはできません。",
                                           "すべてのことばを削除することはできません。"}));
  EXPECT_EQ(sound.themeSounds, (std::vector<std::string>{"dialog-warning", "dialog-warning"}));
  EXPECT_EQ(Column(1), (QStringList{"", "日本"}));
  EXPECT_EQ(Count(), QStringLiteral("1"));
}

TEST_F(Organizer, EmptyDictionaryShowsHeadingsOnlyAndWritesNothing) {
  Open({});
  const auto jukugoTime = std::filesystem::last_write_time(dictionary.JukugoFile());
  EXPECT_EQ(Table().rowCount(), 0);
  EXPECT_EQ(Table().headerData(1, Qt::Horizontal).toString(), QStringLiteral("熟語"));
  EXPECT_GT(Grid().columnWidth(1), 0);
  EXPECT_GT(Grid().columnWidth(2), 0);
  EXPECT_EQ(Count(), QStringLiteral("0"));
  Press("btnDelete");  // nothing to delete, nothing refused
  EXPECT_EQ(Count(), QStringLiteral("0"));
  EXPECT_TRUE(sound.themeSounds.empty());

  organizer.close();
  EXPECT_TRUE(mainWindow.isEnabled());
  EXPECT_EQ(ReadBytes(dictionary.JukugoFile()), "");
  EXPECT_EQ(ReadBytes(dictionary.YomiFile()), "");
  EXPECT_EQ(std::filesystem::last_write_time(dictionary.JukugoFile()), jukugoTime);
  EXPECT_EQ(dictionary.store.Comp().jukugo().Count(), 0u);
}

// The fill's tenths are the sorted fill's own (sorted_fill_test). The dialog
// shows them from nothing, however full an earlier opening left it, and the
// organizer leaves it full; a screen reader reads the value.
TEST_F(Organizer, ProgressDialogStartsFromNothingAndEndsFull) {
  auto* gauge = renkomi::test::FindElement<renkomi::ui::Gauge>(wait, "Gauge1");
  QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(gauge)->valueInterface();
  ASSERT_NE(value, nullptr);
  gauge->SetProgress(100);  // left full by an earlier opening
  wait.show();
  EXPECT_EQ(value->currentValue().toInt(), 0);
  wait.hide();
  Open(kFourWords);
  EXPECT_EQ(value->currentValue().toInt(), 100);
}

TEST(Gauge, ShowsOnlyZeroToHundred) {
  renkomi::ui::Gauge gauge;
  for (const auto& [given, shown] : {std::pair{120, 100}, std::pair{-5, 0}, std::pair{40, 40}}) {
    gauge.SetProgress(given);
    EXPECT_EQ(gauge.Progress(), shown) << given;
  }
}

// A deleted row is redrawn whole: the view hears of every column of it, however
// many the table has.
TEST(WordTable, DeletingARowRedrawsEveryColumnOfIt) {
  WordTableModel table;
  table.SetWords({{Sj("日本"), Sj("にほん")}, {Sj("入口"), Sj("いりぐち")}});
  QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
  table.ClearRow(1);
  ASSERT_EQ(table.KeptCount(), 1);
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0][0].value<QModelIndex>(), table.index(1, 0));
  EXPECT_EQ(changed[0][1].value<QModelIndex>(), table.index(1, table.columnCount() - 1));
}

TEST_F(Organizer, ClientHeightGrowsBackToShowTheCount) {
  organizer.resize(530, 300);
  Open(kFourWords);
  EXPECT_EQ(organizer.height(), 444);
  organizer.close();
  organizer.resize(530, 500);
  organizer.show();
  EXPECT_EQ(organizer.height(), 500);
}

TEST_F(Organizer, GridIsAsWideAsItsTextsOrAsTheRoomLeftOfThePanel) {
  Open(kFourWords);
  QTableView& grid = Grid();
  QWidget* panel = Find("Panel1");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->width(), 225);
  EXPECT_EQ(panel->x() + panel->width(), organizer.width());
  // Short words leave room: the grid is no wider than they need.
  EXPECT_LT(grid.width(), organizer.width() - (225 + 5));
  EXPECT_EQ(grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2), grid.viewport()->width());

  organizer.resize(300, 444);
  EXPECT_EQ(grid.width(), 300 - (225 + 5));
  EXPECT_EQ(grid.height(), 444);
  organizer.resize(100, 444);
  EXPECT_EQ(grid.width(), 0);
}

// Each column as wide as its widest text in the font: the texts show whole, and
// no column is far wider than its text (as a width per byte of text made it).
TEST_F(Organizer, ColumnsFitTheirTextsInTheFont) {
  Words words;  // enough to scroll: every column's width is its own
  for (int i = 0; i < 40; ++i) words.emplace_back("日本", "にほん");
  words.emplace_back("入口", "いりぐち");
  Open(words);
  QTableView& grid = Grid();
  ASSERT_TRUE(grid.verticalScrollBar()->isVisible());
  const int slack = 16;  // the cell's margins and grid line, and no more
  for (const auto& [column, widest] : {std::pair{0, "41"}, std::pair{1, "入口"}, std::pair{2, "いりぐち"}}) {
    EXPECT_GE(grid.columnWidth(column), TextWidth(widest)) << "column " << column;
    EXPECT_LE(grid.columnWidth(column), TextWidth(widest) + slack) << "column " << column;
  }
  // Shown whole, so resting on them gives no tooltip.
  EXPECT_EQ(ToolTipOf(0, 1), QString());
  EXPECT_EQ(ToolTipOf(0, 2), QString());
}

// Every cell is drawn as it is with room to spare, in the sizes a desktop may give
// the table's font. The widest jukugo has letters, as a dictionary edited by hand
// may: the font draws them a fraction of a pixel wider than their rounded advances.
TEST_F(Organizer, ColumnsDrawTheirWidestTextsWhole) {
  const Words words{{"日本", "にほん"}, {"CD再生機", "しーでぃー"}, {"入口", "いりぐち"}};
  QTableView& grid = Grid();
  for (int pixels = 10; pixels <= 20; ++pixels) {
    QFont font = grid.font();
    font.setPixelSize(pixels);
    grid.setFont(font);
    Open(words);
    grid.setCurrentIndex({});  // no focus frame, which a wider cell would draw wider
    for (int column = 0; column < 3; ++column) {
      const QRect cells = Place(0, column).united(Place(Table().rowCount() - 1, column));
      const QImage drawn = grid.viewport()->grab(cells).toImage();
      const int width = grid.columnWidth(column);
      grid.setColumnWidth(column, width + 100);
      EXPECT_EQ(drawn, grid.viewport()->grab(cells).toImage()) << pixels << " px, column " << column;
      grid.setColumnWidth(column, width);
    }
    organizer.close();
  }
}

// Words shaped like the shipped dictionaries': five or six-digit row numbers,
// mostly short words, and one long pair that sorts first.
const std::string kLongJukugo = "安全保障理事会常任理事国";
const std::string kLongYomi = "あんぜんほしょうりじかいじょうにんりじこく";

Words ShippedLike(int count) {
  const char* kanji[] = {"日", "本", "入", "口", "当", "会", "話", "面"};
  const char* kana[] = {"か", "き", "く", "け", "こ", "さ", "し", "す"};
  Words words{{kLongJukugo, kLongYomi}};
  for (int i = 1; i < count; ++i)
    words.emplace_back(std::string(kanji[i % 8]) + kanji[(i / 8) % 8] + kanji[(i / 64) % 8],
                       std::string(kana[i % 8]) + kana[(i / 8) % 8] + kana[(i / 64) % 8] + "う");
  return words;
}

struct ShippedCase {
  const char* name;
  int words;
};

class ShippedDictionary : public Organizer, public ::testing::WithParamInterface<ShippedCase> {};

// At the default size the first row's number, jukugo and reading are all in
// view, the long ones elided, with the whole text as their tooltip.
TEST_P(ShippedDictionary, FirstRowShowsNumberJukugoAndReading) {
  Open(ShippedLike(GetParam().words));
  const QString yomi = QString::fromStdString(kLongYomi);
  ASSERT_EQ(Table().data(Cell(0, 2)).toString(), yomi);
  QTableView& grid = Grid();
  EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
  for (int column = 0; column < 3; ++column) EXPECT_TRUE(InView(0, column)) << "column " << column;
  // Each shows a good part of its text: four characters at least.
  EXPECT_GE(grid.columnWidth(1), TextWidth(QStringLiteral("安全保障")));
  EXPECT_GE(grid.columnWidth(2), TextWidth(QStringLiteral("あんぜん")));
  EXPECT_LT(grid.columnWidth(2), TextWidth(yomi));
  EXPECT_EQ(grid.textElideMode(), Qt::ElideRight);
  EXPECT_EQ(ToolTipOf(0, 2), yomi);
  // The last rows' numbers, the widest, show whole as the style lays out a cell.
  grid.scrollToBottom();
  EXPECT_GE(grid.columnWidth(0), static_cast<QAbstractItemView&>(grid).sizeHintForColumn(0));
  EXPECT_EQ(ToolTipOf(Table().rowCount() - 1, 0), QString());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShippedDictionary,
                         ::testing::Values(ShippedCase{"Shared", 12343}, ShippedCase{"Large", 109358}), RowName);

// Nothing scrolls sideways, however narrow the organizer: the row numbers stay in
// view when the player moves right or clicks a cell, and the reading shrinks.
TEST_F(Organizer, NarrowedTableKeepsTheRowNumbersInView) {
  Open(ShippedLike(50));
  QTableView& grid = Grid();
  organizer.resize(225 + 5 + 140, 444);
  QCoreApplication::processEvents();
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Right);
  ASSERT_EQ(grid.currentIndex().column(), 2);
  for (int column = 0; column < 3; ++column) EXPECT_TRUE(InView(0, column)) << "column " << column;
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Place(3, 2).center());
  ASSERT_EQ(grid.currentIndex(), Cell(3, 2));
  QTest::keyClick(&grid, Qt::Key_Right);
  for (int column = 0; column < 3; ++column) EXPECT_TRUE(InView(3, column)) << "column " << column;
  EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
  EXPECT_EQ(ToolTipOf(0, 1), QString::fromStdString(kLongJukugo));
}

struct WidestCase {
  const char* name;
  std::vector<std::string> texts;  // UTF-8
};

class WidestText : public ::testing::TestWithParam<WidestCase> {};

// The widest text as the font draws it, which need not be the longest in bytes.
TEST_P(WidestText, IsTheWidestInTheFont) {
  const QFontMetrics metrics(renkomi::ui::GameFont(13));
  std::vector<WordPair> words;
  int expected = 0;
  for (const std::string& text : GetParam().texts) {
    words.push_back({Sj(text), Sj("よみ")});
    expected = std::max(expected, metrics.horizontalAdvance(QString::fromStdString(text)));
  }
  TextWidths widths(metrics);
  EXPECT_EQ(widths.Widest(words, &WordPair::jukugo), expected);
}

std::vector<std::string> ManyThenOneWide() {
  std::vector<std::string> texts(40, "iii");
  texts.push_back("日本語");
  return texts;
}

INSTANTIATE_TEST_SUITE_P(Texts, WidestText,
                         ::testing::Values(WidestCase{"KanjiBeatLongerNarrowLetters", {"iiiiii", "日本"}},
                                           WidestCase{"WideLettersBeatKanji", {"WWWWWWWW", "日本"}},
                                           WidestCase{"HalfWidthKanaAgainstKana", {"ｱｲｳｴｵｶｷｸ", "あいう"}},
                                           WidestCase{"OneWideAmongMany", ManyThenOneWide()}, WidestCase{"None", {}}),
                         RowName);

TEST_F(Organizer, FailedSaveIsReportedAndKeepsTheWordsInMemory) {
  Open(kFourWords);
  SelectRow(0);
  Press("btnDelete");
  // The program folder turns into a plain file: nothing can be written there.
  std::filesystem::remove_all(dictionary.Folder());
  { std::ofstream(dictionary.Folder()) << "not a folder"; }

  answerer.Click(QStringLiteral("yesButton"));
  Press("btnEND");
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Captions(), QStringList{"エラー"});
  const QStringList texts = answerer.Texts();
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("作成できません"))) << texts[0].toStdString();
  EXPECT_FALSE(organizer.isVisible());
  EXPECT_TRUE(mainWindow.isEnabled());
  EXPECT_EQ(CompJukugo(), (std::vector<std::string>{"当日", "日本", "本日"}));
  std::filesystem::remove(dictionary.Folder());
}

}  // namespace
}  // namespace renkomi::organizer
