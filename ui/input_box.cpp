#include "input_box.h"

#include <QKeyEvent>

#include "layout.h"
#include "look.h"
#include "message_set_numbers.h"
#include "preedit_guard.h"
#include "text.h"
#include "text_rules.h"

namespace {

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A fixed dialog frame: title and close button, nothing to minimize or maximize.
// Its caption is the one each entry asks with.
constexpr renkomi::ui::WindowRow kWindow{.name = "frmInputBox", .frame = renkomi::ui::Frame::FixedDialog,
                                         .clientWidth = 346, .clientHeight = 194};

using renkomi::ui::InputMethod;
using renkomi::ui::Kind;

}  // namespace

// The dialog's elements as the design lays them out, in the order they are
// stacked. Qt has no hint for a hiragana mode: the boxes' input method is on, and
// the player's input method starts in its own kana mode.
constexpr renkomi::ui::Element TfrmInputBox::kLayout[] = {
    {RENKOMI_ELEMENT(TfrmInputBox, pnlTitle), .kind = Kind::Panel, .left = 25, .top = 8, .width = 297, .height = 25,
     .tabOrder = 2},
    {RENKOMI_ELEMENT(TfrmInputBox, lblINPUT_JUKU), .kind = Kind::Label, .left = 16, .top = 48, .width = 64,
     .height = 20, .text = u"じゅくご", .buddy = "edtINPUT_JUKU"},
    {RENKOMI_ELEMENT(TfrmInputBox, edtINPUT_JUKU), .kind = Kind::LineEdit, .left = 104, .top = 48, .width = 225,
     .height = 26, .tabOrder = 0, .inputMethod = InputMethod::On, .accessibleName = u"おしえるじゅくご"},
    {RENKOMI_ELEMENT(TfrmInputBox, lblINPUT_YOMI), .kind = Kind::Label, .left = 16, .top = 96, .width = 64,
     .height = 20, .text = u"よみがな", .buddy = "edtINPUT_YOMI"},
    {RENKOMI_ELEMENT(TfrmInputBox, edtINPUT_YOMI), .kind = Kind::LineEdit, .left = 104, .top = 96, .width = 225,
     .height = 26, .tabOrder = 1, .inputMethod = InputMethod::On, .accessibleName = u"おしえるよみがな"},
    {RENKOMI_ELEMENT(TfrmInputBox, btnHAI), .kind = Kind::Button, .left = 64, .top = 144, .width = 89, .height = 33,
     .text = u"はい", .tabOrder = 3},
    {RENKOMI_ELEMENT(TfrmInputBox, btnYAMERU), .kind = Kind::Button, .left = 200, .top = 144, .width = 89,
     .height = 33, .text = u"やめる", .tabOrder = 4},
};

TfrmInputBox::TfrmInputBox(QWidget& mainWindow, renkomi::GameWindow& game, QWidget* parent)
    : EscapeProofDialog(parent), game_(game) {
  renkomi::ui::SetUpWindow(*this, kWindow);
  setModal(true);

  renkomi::ui::BuildElements(*this, kLayout);
  for (QPushButton* button : {btnHAI, btnYAMERU}) {
    // Neither button is the dialog's default: Enter belongs to the boxes.
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  for (QWidget* widget : {static_cast<QWidget*>(edtINPUT_JUKU),
                          static_cast<QWidget*>(edtINPUT_YOMI), static_cast<QWidget*>(btnHAI),
                          static_cast<QWidget*>(btnYAMERU)}) {
    widget->installEventFilter(this);
  }
  // A conversion pending when the player moves to the other box stays where it was typed.
  auto* preeditGuard = new renkomi::ui::PreeditGuard(this);
  preeditGuard->Watch(edtINPUT_JUKU);
  preeditGuard->Watch(edtINPUT_YOMI);
  connect(btnHAI, &QPushButton::clicked, this, [this] { btnHAIClick(); });
  connect(btnYAMERU, &QPushButton::clicked, this, [this] { btnYAMERUClick(); });

  FormCreate(mainWindow);
}

TRenkomiString TfrmInputBox::InputWordPair(const QString& caption, const QString& prompt) {
  caption_ = caption;
  prompt_ = prompt;
  // Whatever closes the dialog other than "はい" leaves this empty pair.
  result_ = TRenkomiString{};
  exec();
  game_.SetEnabled(renkomi::Control::Start, true);
  game_.Focus(renkomi::Control::Start);
  return result_;
}

// Serves frmInputBox: the dialog is created.
void TfrmInputBox::FormCreate(QWidget& mainWindow) {
  // Placed once beside the main window, frame to frame; later showings open where
  // the player left it, since a moved window is not placed again.
  mainWindow_ = &mainWindow;
  mainClientAtCreation_ = mainWindow.geometry().topLeft();
  move(mainWindow.pos() + QPoint(100, 200));
}

void TfrmInputBox::PlaceOnFirstShowing() {
  if (placed_) return;
  placed_ = true;
  // Right after the main window was shown the window manager may not have framed
  // it yet, and its position then was that of its client area. Its frame is
  // known by now.
  if (mainWindow_ == nullptr) return;
  const QPoint frameOffset = mainWindow_->geometry().topLeft() - mainWindow_->pos();
  move(mainClientAtCreation_ - frameOffset + QPoint(100, 200));
}

// Serves frmInputBox: the dialog opens.
void TfrmInputBox::FormActivate() {
  setWindowTitle(caption_);
  pnlTitle->SetCaption(prompt_);
  // A screen reader reads the prompt with the dialog, not only on the panel.
  setAccessibleDescription(prompt_);
  edtINPUT_JUKU->clear();
  edtINPUT_YOMI->clear();
  edtINPUT_JUKU->setFocus();
}

void TfrmInputBox::setVisible(bool visible) {
  // Before the dialog's own window exists, a move places its frame.
  if (visible) PlaceOnFirstShowing();
  QDialog::setVisible(visible);
}

void TfrmInputBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A restore from the taskbar shows the window again too; that is no new entry.
  if (!event->spontaneous()) FormActivate();
}

bool TfrmInputBox::eventFilter(QObject* watched, QEvent* event) {
  if (!IsEnterKey(event)) return QDialog::eventFilter(watched, event);
  // Enter is swallowed: the boxes test their text, a focused button is pressed.
  if (watched == edtINPUT_JUKU) {
    edtINPUT_JUKUKeyPress();
  } else if (watched == edtINPUT_YOMI) {
    edtINPUT_YOMIKeyPress();
  } else if (auto* button = qobject_cast<QPushButton*>(watched)) {
    button->click();
  } else {
    return QDialog::eventFilter(watched, event);
  }
  return true;
}

// Serves edtINPUT_JUKU: Enter is pressed in it.
void TfrmInputBox::edtINPUT_JUKUKeyPress() {
  if (renkomi::IsJukugo(renkomi::ui::ToGame(edtINPUT_JUKU->text()))) {
    game_.ShowMessageSet(renkomi::message_set::kReadingWanted);
    edtINPUT_YOMI->setFocus();
  } else {
    Refuse(*edtINPUT_JUKU, renkomi::message_set::kJukugoRefused);
  }
}

// Serves edtINPUT_YOMI: Enter is pressed in it.
void TfrmInputBox::edtINPUT_YOMIKeyPress() {
  if (renkomi::IsYomi(renkomi::ui::ToGame(edtINPUT_YOMI->text()))) {
    btnHAI->setFocus();
  } else {
    Refuse(*edtINPUT_YOMI, renkomi::message_set::kReadingRefused);
  }
}

void TfrmInputBox::Refuse(QLineEdit& box, int messageSet) {
  game_.ShowMessageSet(messageSet);
  box.clear();
  box.setFocus();
}

// Serves btnHAI, "はい".
void TfrmInputBox::btnHAIClick() {
  // Stored as typed: the word tests belong to Enter only. But a line break, a NUL
  // or any other control character, or a character CP932 cannot hold (which the
  // conversion turns into one), would break or garble the dictionary files: such a
  // text is refused as Enter refuses it, and the dialog stays open.
  const std::string jukugo = renkomi::ui::ToGame(edtINPUT_JUKU->text());
  const std::string yomi = renkomi::ui::ToGame(edtINPUT_YOMI->text());
  if (renkomi::HoldsControlCharacter(jukugo)) {
    Refuse(*edtINPUT_JUKU, renkomi::message_set::kJukugoRefused);
    return;
  }
  if (renkomi::HoldsControlCharacter(yomi)) {
    Refuse(*edtINPUT_YOMI, renkomi::message_set::kReadingRefused);
    return;
  }
  result_ = TRenkomiString{jukugo, yomi};
  accept();
}

// Serves btnYAMERU, "やめる".
void TfrmInputBox::btnYAMERUClick() {
  result_ = TRenkomiString{};
  QDialog::reject();
}

void TfrmInputBox::reject() {
  // The title bar's close box and the window manager's close end up here.
  result_ = TRenkomiString{};
  QDialog::reject();
}
