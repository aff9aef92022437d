// What a screen reader says of the game's windows: every element's name and role,
// which boxes can be typed in, which label belongs to which box, the gauge's value
// and the word entry dialog's prompt, read through Qt's accessibility interfaces
// as the desktop's accessibility bridge reads them.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <ostream>

#include "input_box.h"
#include "main_window_fixture.h"

namespace renkomi::test {
namespace {

// When the element is read: at start; after choosing one's own dictionary
// "たなか" and a move that did 37% damage; in the word entry dialog, at its
// second showing.
enum class Stage { Start, AfterAMove, Teaching };
enum class Typing { NotAText, ReadOnly, Editable };

constexpr const char16_t* kPrompt = u"報告 につづくことばを入れてね。";

struct Reading {
  const char* row;
  Stage stage;
  const char* element;
  QAccessible::Role role;
  const char16_t* name;
  Typing typing = Typing::NotAText;
  const char16_t* label = nullptr;        // the label tied to the box
  int value = -1;                          // the gauge's value; -1 for no gauge
  const char16_t* description = nullptr;
};

void PrintTo(const Reading& reading, std::ostream* out) { *out << reading.row; }

const Reading kReadings[] = {
    {"ComputerJukugo", Stage::Start, "edtCOMP_JUKU", QAccessible::EditableText, u"パソコンのじゅくご",
     Typing::ReadOnly, u"じゅくご"},
    {"ComputerYomi", Stage::Start, "edtCOMP_YOMI", QAccessible::EditableText, u"パソコンのよみがな",
     Typing::ReadOnly, u"よみがな"},
    {"PlayerJukugo", Stage::Start, "edtUSER_JUKU", QAccessible::EditableText, u"あなたのじゅくご",
     Typing::Editable, u"じゅくご"},
    {"PlayerYomi", Stage::Start, "edtUSER_YOMI", QAccessible::EditableText, u"あなたのよみがな",
     Typing::Editable, u"よみがな"},
    {"ComputerCaption", Stage::Start, "Panel2", QAccessible::StaticText, u"パソコン"},
    {"PlayerCaption", Stage::Start, "pnlUserName", QAccessible::StaticText, u"あなた"},
    {"DamageCaption", Stage::Start, "Panel5", QAccessible::StaticText, u"今のダメージは"},
    {"Gauge", Stage::Start, "gagHitPoint", QAccessible::ProgressBar, u"パソコンのダメージ", Typing::NotAText,
     nullptr, 0},
    {"Picture", Stage::Start, "Image1", QAccessible::Graphic, u"パソコンの絵"},
    {"Bubble", Stage::Start, "memFUKIDASI", QAccessible::EditableText, u"パソコンのふきだし", Typing::ReadOnly},
    {"NameBoxHoldingAName", Stage::AfterAMove, "cbxJisyoSel", QAccessible::EditableText, u"自分の辞書の名前",
     Typing::Editable},
    {"PlayerCaptionIsTheName", Stage::AfterAMove, "pnlUserName", QAccessible::StaticText, u"たなか"},
    {"GaugeAfterAMove", Stage::AfterAMove, "gagHitPoint", QAccessible::ProgressBar, u"パソコンのダメージ",
     Typing::NotAText, nullptr, 37},
    {"TeachJukugo", Stage::Teaching, "edtINPUT_JUKU", QAccessible::EditableText, u"おしえるじゅくご",
     Typing::Editable, u"じゅくご"},
    {"TeachYomi", Stage::Teaching, "edtINPUT_YOMI", QAccessible::EditableText, u"おしえるよみがな",
     Typing::Editable, u"よみがな"},
    {"Prompt", Stage::Teaching, "pnlTitle", QAccessible::StaticText, kPrompt},
    {"WordEntryDialog", Stage::Teaching, "frmInputBox", QAccessible::Dialog, u"じゅくごをおしえて",
     Typing::NotAText, nullptr, -1, kPrompt},
};

class AccessibilityTest : public MainWindowFixture, public testing::WithParamInterface<Reading> {
 protected:
  void Check(const Reading& reading) {
    QWidget* element = Find(reading.element);
    ASSERT_NE(element, nullptr);
    // The name is typed into the combo box's own box.
    if (auto* names = qobject_cast<QComboBox*>(element)) element = names->lineEdit();
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(element);
    ASSERT_NE(spoken, nullptr);
    EXPECT_EQ(spoken->role(), reading.role);
    EXPECT_EQ(spoken->text(QAccessible::Name), QString::fromUtf16(reading.name));
    if (reading.typing != Typing::NotAText) {
      EXPECT_EQ(spoken->state().readOnly, reading.typing == Typing::ReadOnly) << "read-only";
      EXPECT_EQ(spoken->state().editable, reading.typing == Typing::Editable) << "editable";
    }
    QStringList labels;
    for (const auto& [label, relation] : spoken->relations(QAccessible::Label)) {
      labels << label->text(QAccessible::Name);
    }
    EXPECT_EQ(labels, reading.label ? QStringList{QString::fromUtf16(reading.label)} : QStringList{});
    QAccessibleValueInterface* value = spoken->valueInterface();
    ASSERT_EQ(value != nullptr, reading.value >= 0);
    if (value != nullptr) {
      EXPECT_EQ(value->currentValue().toInt(), reading.value);
      EXPECT_EQ(value->minimumValue().toInt(), 0);
      EXPECT_EQ(value->maximumValue().toInt(), 100);
    }
    if (reading.description != nullptr) {
      EXPECT_EQ(spoken->text(QAccessible::Description), QString::fromUtf16(reading.description));
    }
  }
};

TEST_P(AccessibilityTest, ScreenReaderSaysWhatTheElementIsAndWhoseItIs) {
  const Reading& reading = GetParam();
  Open();
  if (reading.stage == Stage::AfterAMove) {
    QTest::mouseClick(Find("rgpJisyoSelItem1"), Qt::LeftButton);
    TypeText(Find<QComboBox>("cbxJisyoSel")->lineEdit(), QStringLiteral("たなか"));
    Find<QPushButton>("bbtnJisyoOK")->click();
    form->SetGauge(37);
  }
  if (reading.stage != Stage::Teaching) {
    Check(reading);
    return;
  }
  // The prompt changes from one showing to the next: the second is read.
  TfrmInputBox dialog(*form, *form, form.get());
  answerer.Handle([&](QWidget&) { FindElement<QPushButton>(dialog, "btnYAMERU")->click(); });
  dialog.InputWordPair(QStringLiteral("じゅくごをおしえて"), QStringLiteral("新しいことばを入れて下さい。"));
  answerer.Handle([&](QWidget&) {
    Check(reading);
    FindElement<QPushButton>(dialog, "btnYAMERU")->click();
  });
  dialog.InputWordPair(QStringLiteral("じゅくごをおしえて"), QString::fromUtf16(kPrompt));
}

INSTANTIATE_TEST_SUITE_P(Elements, AccessibilityTest, testing::ValuesIn(kReadings),
                         [](const testing::TestParamInfo<Reading>& info) { return info.param.row; });

}  // namespace
}  // namespace renkomi::test
