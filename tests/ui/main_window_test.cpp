// The main window as the player meets it: its layout and look, the dictionary
// choice, the character's hints, the picture's menu, painting and help.
#include <QAction>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <set>
#include <string_view>
#include <utility>

#include "gauge.h"
#include "help_window.h"
#include "layout.h"
#include "main_window_fixture.h"
#include "panel.h"
#include "text.h"

namespace renkomi::test {
namespace {

using MainWindowTest = MainWindowFixture;

// ---- Layout and look

TEST(JapaneseFontTest, APlatformJapaneseFontIsInstalled) {
  // Without one every glyph of the game is an empty box.
  EXPECT_FALSE(QFontDatabase::families(QFontDatabase::Japanese).isEmpty());
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("IPAexGothic")))
      << "install fonts-ipaexfont-gothic";
}

// The elements the layout rows made inside `parent`: its named children, not the
// parts Qt builds inside a widget of its own.
QList<QWidget*> LaidOut(const QWidget& parent) {
  QList<QWidget*> elements;
  for (QObject* child : parent.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr || widget->isWindow() || widget->objectName().isEmpty() ||
        widget->objectName().startsWith(QLatin1String("qt_"))) {
      continue;
    }
    elements << widget;
  }
  return elements;
}

// The overlaps the design has, and no others: the text area lies inside the
// speech bubble, whose tip reaches into the picture's top row; the damage caption
// and the gauge cover the picture's lower edge and share one column; the
// dictionary choice covers both players' panels until a dictionary is chosen.
const std::set<std::pair<QString, QString>> kDesignOverlaps{
    {"shpFUKIDASI", "Image1"}, {"shpFUKIDASI", "memFUKIDASI"}, {"Image1", "gagHitPoint"},
    {"Image1", "Panel5"},      {"gagHitPoint", "Panel5"},      {"Panel1", "pnlSelDic"},
    {"Panel3", "pnlSelDic"}};

TEST_F(MainWindowTest, ElementsLieInsideTheirParentsAndOverlapOnlyByDesignInTheirOrder) {
  Open(false);
  QList<QWidget*> parents{form.get()};
  QStringList names;
  for (qsizetype p = 0; p < parents.size(); ++p) {
    const QList<QWidget*> elements = LaidOut(*parents[p]);
    for (qsizetype i = 0; i < elements.size(); ++i) {
      const QWidget& element = *elements[i];
      names << element.objectName();
      EXPECT_TRUE(parents[p]->rect().contains(element.geometry()))
          << element.objectName().toStdString() << " leaves " << parents[p]->objectName().toStdString();
      for (qsizetype j = i + 1; j < elements.size(); ++j) {
        if (!element.geometry().intersects(elements[j]->geometry())) continue;
        EXPECT_TRUE(kDesignOverlaps.contains({element.objectName(), elements[j]->objectName()}))
            << element.objectName().toStdString() << " overlaps " << elements[j]->objectName().toStdString();
      }
    }
    parents << elements;
  }
  // Every element found by its own name, and all of the window's found.
  EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size()) << names.join(' ').toStdString();
  EXPECT_GE(names.size(), 24) << names.join(' ').toStdString();
  // Stacked with the shape, the picture and the gauge beneath the rest.
  EXPECT_EQ(names.mid(0, LaidOut(*form).size()),
            (QStringList{"shpFUKIDASI", "Image1", "gagHitPoint", "Panel1", "memFUKIDASI", "btnSTART", "btnFINISH",
                         "btnTEACH", "Panel3", "Panel5", "pnlSelDic"}));
}

// A window of the builder's test, whose members the rows bind.
struct BuiltWindow : QWidget {
  ui::Panel* pnlOuter = nullptr;
  QLabel* lblInner = nullptr;
  QLineEdit* edtBox = nullptr;
  QPushButton* btnOver = nullptr;
};

// The builder on a table of its own: each row an element of its kind, bound to
// its member, with its parent, place, caption, font, colours, hint tag, tab order,
// input method, state at start, box and spoken name, stacked in row order.
TEST(LayoutBuilderTest, RowsBecomeElementsStackedInRowOrder) {
  using ui::InputMethod;
  using ui::Kind;
  const ui::Element rows[] = {
      {RENKOMI_ELEMENT(BuiltWindow, pnlOuter), .kind = Kind::Panel, .left = 4, .top = 6, .width = 200,
       .height = 100, .text = u"外", .background = 0x800000, .tabOrder = 2},
      {RENKOMI_ELEMENT(BuiltWindow, lblInner), .kind = Kind::Label, .parent = "pnlOuter", .left = 10, .top = 12,
       .width = 60, .height = 18, .text = u"中", .fontPixels = 20, .bold = true, .colour = 0x0000FF, .tag = 7,
       .buddy = "edtBox"},
      {RENKOMI_ELEMENT(BuiltWindow, edtBox), .kind = Kind::LineEdit, .parent = "pnlOuter", .left = 80, .top = 12,
       .width = 100, .height = 26, .tabOrder = 0, .inputMethod = InputMethod::On, .enabled = false},
      {.name = "edtShown", .kind = Kind::DisplayBox, .parent = "pnlOuter", .left = 80, .top = 50, .width = 100,
       .height = 26, .tabStop = false, .arrowCursor = true, .inputMethod = InputMethod::Off, .shown = false},
      {RENKOMI_ELEMENT(BuiltWindow, btnOver), .kind = Kind::Button, .left = 100, .top = 50, .width = 80,
       .height = 30, .text = u"押す", .tabOrder = 1, .accessibleName = u"押すボタン"},
      {.name = "btnUnder", .kind = Kind::Button, .left = 100, .top = 150, .width = 80, .height = 30, .tabOrder = 0},
  };
  BuiltWindow window;
  ui::BuildElements(window, rows);
  ui::Panel* outer = window.pnlOuter;
  ASSERT_EQ(outer, FindElement<ui::Panel>(window, "pnlOuter"));
  EXPECT_EQ(outer->parentWidget(), &window);
  EXPECT_EQ(outer->geometry(), QRect(4, 6, 200, 100));
  EXPECT_EQ(outer->palette().color(QPalette::Window), QColor(0, 0, 128));
  QLabel* inner = window.lblInner;
  ASSERT_EQ(inner, FindElement<QLabel>(window, "lblInner"));
  EXPECT_EQ(inner->parentWidget(), outer);
  EXPECT_EQ(inner->geometry(), QRect(10, 12, 60, 18));
  EXPECT_EQ(inner->text(), QStringLiteral("中"));
  EXPECT_EQ(inner->font().pixelSize(), 20);
  EXPECT_TRUE(inner->font().bold());
  EXPECT_EQ(inner->palette().color(QPalette::WindowText), QColor(Qt::red));  // blue-green-red
  EXPECT_EQ(inner->property(ui::kTagProperty).toInt(), 7);
  EXPECT_EQ(inner->buddy(), window.edtBox);
  ASSERT_EQ(window.edtBox, FindElement<QLineEdit>(window, "edtBox"));
  EXPECT_FALSE(window.edtBox->isEnabled());
  EXPECT_TRUE(window.edtBox->testAttribute(Qt::WA_InputMethodEnabled));
  auto* shown = FindElement<QLineEdit>(window, "edtShown");
  EXPECT_TRUE(shown->isHidden());
  EXPECT_EQ(shown->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(shown->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(shown->testAttribute(Qt::WA_InputMethodEnabled));
  QPushButton* button = window.btnOver;
  ASSERT_EQ(button, FindElement<QPushButton>(window, "btnOver"));
  EXPECT_EQ(button->text(), QStringLiteral("押す"));
  EXPECT_EQ(button->accessibleName(), QStringLiteral("押すボタン"));
  EXPECT_FALSE(button->property(ui::kTagProperty).isValid());
  EXPECT_EQ(button->font(), window.font());
  auto* under = FindElement(window, "btnUnder");
  EXPECT_EQ(LaidOut(window), (QList<QWidget*>{outer, button, under}));
  // The window's own elements by their places, each container's after it: the
  // button under (0), the button over (1), the box in the panel (2, 0).
  EXPECT_EQ(NextTabStop(under), button);
  EXPECT_EQ(NextTabStop(button), window.edtBox);
  EXPECT_EQ(NextTabStop(window.edtBox), under);
}

TEST_F(MainWindowTest, WindowOpensCentredWithItsCaptionAndSize) {
  Open();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Renkomi Ver.2.0"));
  EXPECT_EQ(form->size(), QSize(616, 403));
  EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_NE(form->minimumSize(), form->maximumSize()) << "the frame is resizable";
  const QRect screen = form->screen()->availableGeometry();
  // Within the rounding of halving even and odd sizes.
  EXPECT_LE(std::abs(form->geometry().center().x() - screen.center().x()), 2);
  EXPECT_LE(std::abs(form->geometry().center().y() - screen.center().y()), 2);
}

TEST_F(MainWindowTest, TabOrderRunsThroughChoiceButtonsAndPlayersBoxes) {
  Open(false);
  QStringList order;
  QWidget* start = Find("bbtnJisyoOK");
  QWidget* widget = start;
  do {
    // The name box's own line edit is part of the name box.
    if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty()) {
      order << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  } while (widget != start);
  // The choice of dictionary is one stop, its selected item.
  EXPECT_EQ(order, (QStringList{"bbtnJisyoOK", "cbxJisyoSel", "rgpJisyoSelItem0", "btnSTART",
                                "btnFINISH", "btnTEACH", "edtUSER_JUKU", "edtUSER_YOMI"}));
  // The bubble and the computer's boxes are reached by a click only.
  for (const char* name : {"memFUKIDASI", "edtCOMP_JUKU", "edtCOMP_YOMI"}) {
    EXPECT_EQ(Find(name)->focusPolicy(), Qt::ClickFocus) << name;
  }
}

struct ChoiceKeys {
  const char* name;
  const char* selected;      // the item chosen with the mouse first
  QStringList tabs;          // where each Tab from the first focus leads
  Qt::Key arrow;             // then pressed on the selected item
  const char* selectedAfter;
  bool nameBoxShownAfter;
  const char* focusAfter;    // where the name the player then types lands
  const char* nameAfter;     // the name box's text after that typing
};

void PrintTo(const ChoiceKeys& row, std::ostream* out) { *out << row.name; }

class ChoiceKeysTest : public MainWindowFixture, public testing::WithParamInterface<ChoiceKeys> {};

TEST_P(ChoiceKeysTest, TabStopsOnceOnTheSelectedItemAndArrowsChangeTheChoice) {
  const ChoiceKeys& row = GetParam();
  Open();
  QTest::mouseClick(Find<QRadioButton>(row.selected), Qt::LeftButton);
  if (std::string_view(row.selected) == "rgpJisyoSelItem1") TypeText(Focused(), QStringLiteral("田中"));
  QStringList seen;
  for (int i = 0; i < row.tabs.size(); ++i) {
    QTest::keyClick(Focused(), Qt::Key_Tab);
    seen << Focused()->objectName();
  }
  EXPECT_EQ(seen, row.tabs);
  Find(row.selected)->setFocus();
  QTest::keyClick(Focused(), row.arrow);
  EXPECT_TRUE(Find<QRadioButton>(row.selectedAfter)->isChecked());
  EXPECT_EQ(Find("cbxJisyoSel")->isVisible(), row.nameBoxShownAfter);
  EXPECT_EQ(Focused()->objectName(), QString::fromUtf8(row.focusAfter));
  TypeText(Focused(), QStringLiteral("じろう"));
  EXPECT_EQ(Find<QComboBox>("cbxJisyoSel")->currentText(), QString::fromUtf8(row.nameAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Choice, ChoiceKeysTest,
    testing::Values(
        ChoiceKeys{"Shared", "rgpJisyoSelItem0", {"bbtnJisyoOK", "rgpJisyoSelItem0", "bbtnJisyoOK"},
                   Qt::Key_Down, "rgpJisyoSelItem1", true, "cbxJisyoSel", "じろう"},
        // From the name box: the selected item, "えらぶ", and round again.
        ChoiceKeys{"Own", "rgpJisyoSelItem1",
                   {"rgpJisyoSelItem1", "bbtnJisyoOK", "cbxJisyoSel", "rgpJisyoSelItem1"},
                   Qt::Key_Up, "rgpJisyoSelItem0", false, "rgpJisyoSelItem0", "田中"}),
    RowName);

TEST_F(MainWindowTest, FontsAndColoursFollowTheLayout) {
  Open(false);
  struct Expected {
    const char* name;
    int pixels;
    bool bold;
  };
  for (const Expected& e : {Expected{"Form1", 13, false}, Expected{"memFUKIDASI", 16, false},
                            Expected{"Panel1", 15, false}, Expected{"edtCOMP_JUKU", 15, false},
                            Expected{"btnSTART", 15, false}, Expected{"btnFINISH", 13, false},
                            Expected{"Panel3", 15, false}, Expected{"Panel5", 15, true},
                            Expected{"gagHitPoint", 15, true}, Expected{"rgpJisyoSel", 13, false}}) {
    SCOPED_TRACE(e.name);
    QWidget* element = std::string_view(e.name) == "Form1" ? form.get() : Find(e.name);
    const QFontInfo info(element->font());
    EXPECT_EQ(info.family(), QStringLiteral("IPAexGothic"));
    EXPECT_EQ(info.pixelSize(), e.pixels);
    EXPECT_EQ(info.bold(), e.bold);
  }
  EXPECT_EQ(Find("Panel1")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_EQ(Find("edtCOMP_JUKU")->palette().color(QPalette::Text), QColor(0, 0, 128));
  EXPECT_EQ(Find("edtUSER_JUKU")->palette().color(QPalette::Text), QColor(0, 128, 128));
  EXPECT_EQ(Find("Panel5")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
  EXPECT_EQ(Find("Panel5")->palette().color(QPalette::Window), QColor(0, 0, 128));
  EXPECT_EQ(BubbleColour(), QColor(0, 0, 255));
  // The damage gauge half full, as the player sees it: red from the left, lime after.
  form->SetGauge(50);
  const QImage gauge = Find("gagHitPoint")->grab().toImage();
  EXPECT_EQ(gauge.pixelColor(2, 2), QColor(255, 0, 0));
  EXPECT_EQ(gauge.pixelColor(gauge.width() - 3, 2), QColor(0, 255, 0));
  EXPECT_EQ(Find<ui::Panel>("Panel2")->Caption(), QStringLiteral("パソコン"));
  EXPECT_EQ(Find<ui::Panel>("Panel5")->Caption(), QStringLiteral("今のダメージは"));
  EXPECT_EQ(Find<ui::Panel>("pnlUserName")->Caption(), QStringLiteral("あなた"));
  EXPECT_EQ(Find<QLabel>("Label6")->text(), QStringLiteral("よみがな"));
}

TEST_F(MainWindowTest, EveryBubbleLineFitsAndSevenLinesFitTheBubble) {
  Open();
  auto* bubble = Find<QPlainTextEdit>("memFUKIDASI");
  const QFontMetrics metrics(bubble->font());
  const QRect area = bubble->viewport()->rect();
  for (int set = 1; set <= ui::kMessageSetCount; ++set) {
    form->ShowMessageSet(set);
    SCOPED_TRACE(set);
    EXPECT_EQ(bubble->blockCount(), 7);
    for (const QString& line : Bubble()) EXPECT_LE(metrics.horizontalAdvance(line), area.width()) << line.toStdString();
    // The last line's box lies inside the bubble, so nothing scrolls or is cut.
    QTextCursor last(bubble->document()->lastBlock());
    EXPECT_LE(bubble->cursorRect(last).bottom(), area.height());
  }
  EXPECT_EQ(bubble->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(bubble->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_TRUE(bubble->isReadOnly());
}

TEST_F(MainWindowTest, InputMethodIsOnForThePlayersBoxesAndOffForReadOnlyOnes) {
  Open(false);
  for (const char* name : {"edtUSER_JUKU", "edtUSER_YOMI"}) {
    EXPECT_TRUE(Find(name)->testAttribute(Qt::WA_InputMethodEnabled)) << name;
  }
  EXPECT_TRUE(Find<QComboBox>("cbxJisyoSel")->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));
  for (const char* name : {"edtCOMP_JUKU", "edtCOMP_YOMI", "memFUKIDASI"}) {
    EXPECT_FALSE(Find(name)->testAttribute(Qt::WA_InputMethodEnabled)) << name;
  }
}

TEST_F(MainWindowTest, StartsWithTheChoiceOpenTheButtonsHiddenAndNoHints) {
  Open();
  const QStringList atStart{" ", Set(18)[1], "", Set(18)[3], "", Set(18)[5], " "};
  EXPECT_EQ(Bubble(), atStart);
  EXPECT_TRUE(Find("pnlSelDic")->isVisible());
  EXPECT_TRUE(Find<QRadioButton>("rgpJisyoSelItem0")->isChecked());
  EXPECT_FALSE(Find("cbxJisyoSel")->isVisible());
  EXPECT_FALSE(Find("btnSTART")->isVisible());
  EXPECT_FALSE(Find("btnSTART")->isEnabled());
  EXPECT_FALSE(Find("btnFINISH")->isVisible());
  EXPECT_TRUE(Find("btnFINISH")->isEnabled());
  EXPECT_FALSE(Find("edtUSER_JUKU")->isEnabled());
  EXPECT_EQ(Focused(), Find("bbtnJisyoOK"));
  EXPECT_TRUE(Find<QPushButton>("bbtnJisyoOK")->isDefault());
  EXPECT_FALSE(Find<QPushButton>("bbtnJisyoOK")->icon().isNull());
  EXPECT_EQ(Find<ui::Gauge>("gagHitPoint")->Text(), QStringLiteral("0%"));
  // The hints wait for "はじめる" to be enabled.
  Hover(QPoint(336, 100));  // the bare window
  Hover(QPoint(60, 360));   // where "はじめる" will be
  EXPECT_EQ(Bubble(), atStart);
  // No button or box had the focus yet: the bubble keeps it.
  QTest::mouseClick(Find<QPlainTextEdit>("memFUKIDASI")->viewport(), Qt::LeftButton);
  EXPECT_EQ(Focused(), Find("memFUKIDASI"));
}

// ---- The dictionary choice

TEST_F(MainWindowTest, EnterAtStartUpChoosesTheSharedDictionary) {
  Open();
  Enter(Focused());
  EXPECT_FALSE(Find("pnlSelDic")->isVisible());
  EXPECT_TRUE(Find("Panel1")->isVisible());
  for (const char* name : {"btnSTART", "btnFINISH", "btnTEACH"}) {
    EXPECT_TRUE(Find(name)->isVisible()) << name;
    EXPECT_TRUE(Find(name)->isEnabled()) << name;
  }
  EXPECT_EQ(Focused(), Find("btnSTART"));
  EXPECT_EQ(Bubble(), Set(2)) << "the focus rule hints at the start button";
  EXPECT_EQ(Find<ui::Panel>("pnlUserName")->Caption(), QStringLiteral("あなた"));
  // A new shared dictionary is made of the five built-in words.
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("renkomi")).size(), 5u);
}

TEST_F(MainWindowTest, NameBoxEnablesTheChoiceOnlyWhileItHoldsAName) {
  Open();
  auto* ok = Find<QPushButton>("bbtnJisyoOK");
  auto* names = Find<QComboBox>("cbxJisyoSel");
  QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
  EXPECT_TRUE(names->isVisible());
  EXPECT_EQ(Focused(), names);
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(Bubble(), Set(19));

  // Enter with no name does nothing.
  Enter(names->lineEdit());
  EXPECT_TRUE(Find("pnlSelDic")->isVisible());

  form->ShowMessageSet(5);
  TypeText(names->lineEdit(), QStringLiteral("た"));
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(Bubble(), Set(19)) << "every change of the name shows the hint again";
  QTest::keyClick(names->lineEdit(), Qt::Key_Backspace);
  EXPECT_FALSE(ok->isEnabled());
  TypeText(names->lineEdit(), QStringLiteral("たろう"));

  // The shared dictionary hides the box but keeps the name for later.
  QTest::mouseClick(Find("rgpJisyoSelItem0"), Qt::LeftButton);
  EXPECT_FALSE(names->isVisible());
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(Bubble(), Set(18));
  QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
  EXPECT_EQ(names->currentText(), QStringLiteral("たろう"));
  EXPECT_TRUE(ok->isEnabled());

  // Enter in the name box confirms; the new dictionary is made under that name.
  Enter(names->lineEdit());
  EXPECT_FALSE(Find("pnlSelDic")->isVisible());
  EXPECT_EQ(Find<ui::Panel>("pnlUserName")->Caption(), QStringLiteral("たろう"));
  EXPECT_TRUE(folder.HasDictionary(QStringLiteral("たろう")));
  EXPECT_FALSE(folder.HasDictionary(QStringLiteral("renkomi")));
  EXPECT_EQ(names->count(), 0) << "Enter adds no entry to the list";
}

TEST_F(MainWindowTest, PersonalDictionariesOfTheFolderAreOffered) {
  folder.WriteDictionary(QStringLiteral("はなこ"), {{"山川", "やまかわ"}});
  folder.WriteDictionary(QStringLiteral("Bob"), {{"川口", "かわぐち"}});
  folder.WriteDictionary(QStringLiteral("renkomi"), {{"日本", "にほん"}});
  Open();
  auto* names = Find<QComboBox>("cbxJisyoSel");
  ASSERT_EQ(names->count(), 2);
  EXPECT_EQ(names->itemText(0), QStringLiteral("Bob"));
  EXPECT_EQ(names->itemText(1), QStringLiteral("はなこ"));
  EXPECT_EQ(names->currentText(), QString()) << "no name is put in the box for the player";
  EXPECT_EQ(names->maxVisibleItems(), 10);

  QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
  names->setCurrentIndex(1);
  EXPECT_TRUE(Find("bbtnJisyoOK")->isEnabled());
  QTest::mouseClick(Find("bbtnJisyoOK"), Qt::LeftButton);
  EXPECT_EQ(Find<ui::Panel>("pnlUserName")->Caption(), QStringLiteral("はなこ"));
  // An existing dictionary is read, not made anew.
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("はなこ")).size(), 1u);
}

// File names tell letter case apart: "taro" typed while "Taro" is offered is a
// new dictionary of its own, and Taro's words stay his.
TEST_F(MainWindowTest, NameDifferingOnlyInCaseMakesANewDictionary) {
  folder.WriteDictionary(QStringLiteral("Taro"), {{"山川", "やまかわ"}});
  Open();
  QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
  TypeText(Focused(), QStringLiteral("taro"));
  Enter(Focused());
  EXPECT_EQ(Find<ui::Panel>("pnlUserName")->Caption(), QStringLiteral("taro"));
  EXPECT_EQ(form->Store().Comp().jukugo().Count(), 5u) << "Taro's words were opened";
  EXPECT_TRUE(folder.HasDictionary(QStringLiteral("taro")));
  EXPECT_EQ(folder.ReadDictionary(QStringLiteral("Taro")).size(), 1u);
}

// A dictionary copied from another system keeps its Shift-JIS file name: it is
// offered under its Japanese name and chosen by exactly those files.
TEST_F(MainWindowTest, DictionaryNamedInShiftJisOpensItsOwnWords) {
  folder.WriteDictionary(QStringLiteral("copied"), {{"山川", "やまかわ"}, {"川口", "かわぐち"}, {"口調", "くちょう"}});
  for (const std::string extension : {".jdc", ".ydc"}) {
    std::filesystem::rename(folder.Path() / ("copied" + extension),
                            folder.Path() / (ui::ToGame(QStringLiteral("はなこ")) + extension));
  }
  Open();
  auto* names = Find<QComboBox>("cbxJisyoSel");
  ASSERT_EQ(names->count(), 1);
  EXPECT_EQ(names->itemText(0), QStringLiteral("はなこ"));
  QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
  names->setCurrentIndex(0);
  QTest::mouseClick(Find("bbtnJisyoOK"), Qt::LeftButton);
  EXPECT_EQ(form->Store().Comp().jukugo().Count(), 3u);
  EXPECT_FALSE(folder.HasDictionary(QStringLiteral("はなこ"))) << "a new dictionary was made under the UTF-8 name";
}

TEST_F(MainWindowTest, UnwritableProgramFolderShowsTheErrorAndTheChoiceStaysOpen) {
  // A "folder" below a regular file can be made by nobody, root included.
  QFile blocker(folder.File(QStringLiteral("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const std::filesystem::path game = folder.Path() / "blocker" / "game";
  form = std::make_unique<TForm1>(game, game, random, sound);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

  answerer.Click(QStringLiteral("yesButton"));
  QTest::mouseClick(Find("bbtnJisyoOK"), Qt::LeftButton);
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Captions(), QStringList{"エラー"});
  ASSERT_EQ(answerer.Texts().size(), 1);
  EXPECT_TRUE(answerer.Texts()[0].contains(QStringLiteral("renkomi.jdc")));
  EXPECT_TRUE(answerer.Texts()[0].contains(QStringLiteral("を作成できません")));
  EXPECT_TRUE(Find("pnlSelDic")->isVisible());
  EXPECT_FALSE(Find("btnSTART")->isVisible());

  // The program lives on: the player may choose again.
  QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
  EXPECT_EQ(Bubble(), Set(19));
  EXPECT_TRUE(form->isVisible());
}

// ---- The character's hints

TEST_F(MainWindowTest, PointerHintsShowEachSetOnceUntilAnotherTagIsPassed) {
  Open();
  ChooseShared();
  const QPoint start(40, 360), finish(160, 360), teach(280, 360), bare(336, 100),
      playerSide(100, 250);

  // The focus rule showed set 2 and recorded tag 2: over "はじめる" nothing new.
  form->ShowMessageSet(5);
  Hover(start);
  Hover(start + QPoint(10, 5));
  EXPECT_EQ(Bubble(), Set(5));

  Hover(bare);
  EXPECT_EQ(Bubble(), Set(1));
  Hover(start);
  EXPECT_EQ(Bubble(), Set(2));
  // Back and forth over the same button rewrites nothing.
  form->ShowMessageSet(5);
  Hover(start + QPoint(20, 0));
  Hover(start);
  EXPECT_EQ(Bubble(), Set(5));

  // Over a child element the window hears nothing, and the tag stays.
  Hover(playerSide);
  Hover(start);
  EXPECT_EQ(Bubble(), Set(5));

  Hover(finish);
  EXPECT_EQ(Bubble(), Set(3));
  Hover(teach);
  EXPECT_EQ(Bubble(), Set(4));
  Hover(bare);
  EXPECT_EQ(Bubble(), Set(1));
}

TEST_F(MainWindowTest, FocusOnAButtonHintsOnceAndTheBubbleHandsTheFocusBack) {
  Open();
  ChooseShared();
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), Find("btnFINISH"));
  EXPECT_EQ(Bubble(), Set(3));

  // A click into the bubble puts the focus back on the button, with no new hint.
  form->ShowMessageSet(5);
  QTest::mouseClick(Find<QPlainTextEdit>("memFUKIDASI")->viewport(), Qt::LeftButton);
  EXPECT_EQ(Focused(), Find("btnFINISH"));
  EXPECT_EQ(Bubble(), Set(5));
  // Even with another hint in the bubble, the returning focus says nothing.
  Hover(QPoint(336, 100));
  ASSERT_EQ(Bubble(), Set(1));
  QTest::mouseClick(Find("edtCOMP_JUKU"), Qt::LeftButton);
  EXPECT_EQ(Focused(), Find("btnFINISH"));
  EXPECT_EQ(Bubble(), Set(1));
}

// ---- The picture's menu

// A plain window in the organizer's place.
class StandInOrganizer : public QWidget {
 public:
  explicit StandInOrganizer(TForm1& form) : form_(form) { form_.SetOrganizer(this); }
  ~StandInOrganizer() override { form_.SetOrganizer(nullptr); }

 private:
  TForm1& form_;
};

TEST_F(MainWindowTest, OrganizerIsRefusedBeforeTheChoiceThenOpensAndClosingWaitsForIt) {
  Open();
  StandInOrganizer organizer{*form};
  answerer.Click(QStringLiteral("yesButton"));
  Find<QAction>("K2")->trigger();
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  EXPECT_EQ(answerer.Captions(), QStringList{"エラー"});
  EXPECT_EQ(answerer.Texts(), QStringList{"対戦中は辞書の整理ができません。"});
  EXPECT_EQ(sound.themeSounds, std::vector<std::string>{"dialog-warning"});
  EXPECT_FALSE(organizer.isVisible());

  ChooseShared();
  Find<QAction>("K2")->trigger();
  EXPECT_TRUE(organizer.isVisible());
  EXPECT_EQ(sound.themeSounds.size(), 1u) << "a beep on opening";
  // Whoever asks: the organizer holds the words until its own closing.
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  organizer.close();
  EXPECT_TRUE(form->close());
}

// As the organizer has it: the window disabled while another one is active.
TEST_F(MainWindowTest, WindowWaitingForTheOrganizerOpensNoMenuAndGetsTheFocusBackWithNoNewHint) {
  Open();
  ChooseShared();
  QTest::keyClick(Focused(), Qt::Key_Tab);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  ASSERT_EQ(Focused(), Find("btnTEACH"));
  ASSERT_EQ(Bubble(), Set(4));
  form->setEnabled(false);
  QTest::keyClick(Find("btnTEACH"), Qt::Key_Menu);
  QTest::qWait(50);
  EXPECT_FALSE(Find<QMenu>("PopupMenu1")->isVisible());
  QWidget organizer;
  organizer.show();
  organizer.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&organizer));
  form->setEnabled(true);
  organizer.close();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_EQ(Focused(), Find("btnTEACH"));
  EXPECT_EQ(Bubble(), Set(4));
}

TEST_F(MainWindowTest, PictureMenuHoldsItsItemsInOrder) {
  Open(false);
  auto* menu = Find<QMenu>("PopupMenu1");
  QStringList items;
  for (const QAction* action : menu->actions()) {
    items << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  EXPECT_EQ(items, (QStringList{"辞書の整理(&D)", "ヘルプ(&H)", "-", "バージョン情報(&A)"}));
  EXPECT_EQ(Find("Image1")->contextMenuPolicy(), Qt::CustomContextMenu);
}

enum class Phase { Choosing, BetweenMatches, InAMatch };

struct MenuKey {
  const char* name;
  QKeyCombination key;
  Phase phase;  // the focus: on "えらぶ", on "はじめる", in the player's jukugo box
};

class PictureMenuKeyTest : public MainWindowFixture, public testing::WithParamInterface<MenuKey> {};

TEST_P(PictureMenuKeyTest, OpensTheMenuAtThePictureWhereverTheFocusIs) {
  Open();
  if (GetParam().phase != Phase::Choosing) ChooseShared();
  if (GetParam().phase == Phase::InAMatch) Find<QPushButton>("btnSTART")->click();
  auto* menu = Find<QMenu>("PopupMenu1");
  QWidget* focus = Focused();
  ASSERT_EQ(focus, Find(GetParam().phase == Phase::Choosing         ? "bbtnJisyoOK"
                        : GetParam().phase == Phase::BetweenMatches ? "btnSTART"
                                                                    : "edtUSER_JUKU"));
  QTest::keyClick(focus, GetParam().key.key(), GetParam().key.keyboardModifiers());
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
  auto* picture = Find("Image1");
  EXPECT_TRUE(QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size()).contains(menu->pos()))
      << "the menu opened away from the picture";
  menu->close();
}

INSTANTIATE_TEST_SUITE_P(Keyboard, PictureMenuKeyTest,
                         testing::Values(MenuKey{"MenuKeyInTheChoice", Qt::Key_Menu, Phase::Choosing},
                                         MenuKey{"ShiftF10InTheChoice", Qt::SHIFT | Qt::Key_F10, Phase::Choosing},
                                         MenuKey{"MenuKeyOnAButton", Qt::Key_Menu, Phase::BetweenMatches},
                                         MenuKey{"ShiftF10OnAButton", Qt::SHIFT | Qt::Key_F10, Phase::BetweenMatches},
                                         MenuKey{"MenuKeyInThePlayersBox", Qt::Key_Menu, Phase::InAMatch},
                                         MenuKey{"ShiftF10InThePlayersBox", Qt::SHIFT | Qt::Key_F10, Phase::InAMatch}),
                         RowName);

TEST_F(MainWindowTest, AboutBoxOpensModally) {
  Open();
  QDialog about;
  form->SetAboutBox(&about);
  bool modal = false;
  answerer.Handle([&](QWidget& dialog) {
    modal = &dialog == &about;
    about.accept();
  });
  Find<QAction>("K1")->trigger();
  EXPECT_TRUE(modal);
  EXPECT_FALSE(about.isVisible());
}

QTextBrowser* OpenHelpWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == QStringLiteral("HelpWindow") && window->isVisible()) {
      return qobject_cast<QTextBrowser*>(window);
    }
  }
  return nullptr;
}

TEST_F(MainWindowTest, HelpShowsItsContentsAndClosesWithTheWindow) {
  folder.CopyInstalledFiles();
  Open();
  // F1, with the menu closed.
  QTest::keyClick(Focused(), Qt::Key_F1);
  QPointer<QTextBrowser> help = OpenHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_FALSE(help->document()->isEmpty());
  EXPECT_FALSE(help->document()->toPlainText().contains(QStringLiteral("<html")))
      << "shown as HTML, not as its source";
  EXPECT_EQ(help->verticalScrollBar()->value(), 0);
  // Left open, it would keep the program running after its main window.
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(help->isVisible());
  form.reset();
  EXPECT_TRUE(help.isNull());
}

struct HelpPlace {
  const char* name;
  QRect owner;  // the main window's frame
  QPoint expected;
};

class HelpPlaceTest : public testing::TestWithParam<HelpPlace> {};

TEST_P(HelpPlaceTest, OpensWholeOnTheScreenBesideOrOverTheMainWindow) {
  const QRect screen(0, 0, 1280, 1024);
  const QSize help(566, 508);
  const QPoint at = ui::HelpWindow::PlaceBeside(GetParam().owner, help, screen);
  EXPECT_TRUE(screen.contains(QRect(at, help)));
  EXPECT_EQ(at, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Help, HelpPlaceTest,
                         testing::Values(HelpPlace{"RightHasRoom", {40, 100, 622, 430}, {662, 100}},
                                         HelpPlace{"OnlyLeftHasRoom", {640, 100, 622, 430}, {74, 100}},
                                         HelpPlace{
                                             "LowWindowLevelAsFarAsTheScreenAllows", {40, 800, 622, 430}, {662, 516}},
                                         HelpPlace{"NoRoomBesideSoOver", {331, 297, 622, 430}, {358, 257}}),
                         RowName);

TEST_F(MainWindowTest, MissingHelpFileIsExplained) {
  Open();
  answerer.Click(QStringLiteral("yesButton"));
  Find<QAction>("K3")->trigger();
  ASSERT_TRUE(answerer.WaitUntilAnswered());
  ASSERT_EQ(answerer.Texts().size(), 1);
  EXPECT_TRUE(answerer.Texts()[0].contains(QStringLiteral("renkomiwin32.hlp")));
  EXPECT_EQ(OpenHelpWindow(), nullptr);
}

// ---- Painting

TEST_F(MainWindowTest, PictureIsTheCharacterOverTheTileWithBlueTransparent) {
  Open();
  const QImage character(QStringLiteral(":/renkomi/character.bmp"));
  const QImage tile(QStringLiteral(":/renkomi/tile.bmp"));
  ASSERT_EQ(character.size(), QSize(273, 242)) << "the game's artwork is linked in";
  ASSERT_EQ(tile.size(), QSize(8, 8));
  const QImage picture = Find<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(picture.size(), QSize(273, 241));
  const QImage squeezed = character.convertToFormat(QImage::Format_RGB32)
                              .scaled(273, 241, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  int transparent = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb drawn = squeezed.pixel(x, y);
      const QRgb expected = qRgb(0, 0, 255) == (drawn | 0xFF000000) ? tile.pixel(x % 8, y % 8) : drawn;
      if (expected != drawn) ++transparent;
      ASSERT_EQ(picture.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
    }
  }
  EXPECT_GT(transparent, 0) << "the character stands on blue";
}

struct Snap {
  const char* name;
  QPoint from;
  QPoint to;
};

class PictureSnapTest : public MainWindowFixture, public testing::WithParamInterface<Snap> {};

TEST_P(PictureSnapTest, PaintingKeepsThePictureOnTheTileGrid) {
  Open();
  QWidget* picture = Find("Image1");
  picture->move(GetParam().from);
  form->repaint();
  EXPECT_EQ(picture->pos(), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Positions, PictureSnapTest,
                         testing::Values(Snap{"LaidOut", {336, 152}, {336, 152}},
                                         Snap{"MinusFive", {-5, 152}, {0, 152}}, Snap{"Thirteen", {13, 152}, {8, 152}},
                                         Snap{"MinusThirteen", {336, -13}, {336, -8}}, Snap{"Seven", {7, 15}, {0, 8}}),
                         RowName);

TEST_F(MainWindowTest, PaintingComesToRest) {
  Open();
  int paints = 0;
  struct Counter : QObject {
    int* count;
    explicit Counter(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++*count;
      return false;
    }
  } counter(&paints);
  form->installEventFilter(&counter);
  form->update();
  QTest::qWait(300);
  EXPECT_GE(paints, 1);
  EXPECT_LE(paints, 2);
}

}  // namespace
}  // namespace renkomi::test
