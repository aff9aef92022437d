#include "input_box.h"

#include <QKeyEvent>

#include "preedit_guard.h"
#include "look.h"
#include "message_set_numbers.h"
#include "text.h"
#include "text_rules.h"

namespace {

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLineEdit* MakeBox(QWidget* parent, const char* name, int top) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(104, top, 225, 26);
  // Qt has no hint for a hiragana mode: the input method is on, and the player's
  // input method starts in its own kana mode.
  box->setAttribute(Qt::WA_InputMethodEnabled, true);
  return box;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(16, top, 64, 20);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int left) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(left, 144, 89, 33);
  // Neither button is the dialog's default: Enter belongs to the boxes.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

TfrmInputBox::TfrmInputBox(QWidget& mainWindow, renkomi::GameWindow& game, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      game_(game) {
  setObjectName(QStringLiteral("frmInputBox"));
  setFixedSize(346, 194);
  // A fixed dialog frame: title and close button, nothing to minimize or maximize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(renkomi::ui::GameFont(13));
  setModal(true);

  pnlTitle = new renkomi::ui::Panel(QString(), this);
  pnlTitle->setObjectName(QStringLiteral("pnlTitle"));
  pnlTitle->setGeometry(25, 8, 297, 25);

  lblINPUT_JUKU = MakeLabel(this, "lblINPUT_JUKU", QStringLiteral("じゅくご"), 48);
  edtINPUT_JUKU = MakeBox(this, "edtINPUT_JUKU", 48);
  lblINPUT_YOMI = MakeLabel(this, "lblINPUT_YOMI", QStringLiteral("よみがな"), 96);
  edtINPUT_YOMI = MakeBox(this, "edtINPUT_YOMI", 96);
  btnHAI = MakeButton(this, "btnHAI", QStringLiteral("はい"), 64);
  btnYAMERU = MakeButton(this, "btnYAMERU", QStringLiteral("やめる"), 200);

  setTabOrder(edtINPUT_JUKU, edtINPUT_YOMI);
  setTabOrder(edtINPUT_YOMI, btnHAI);
  setTabOrder(btnHAI, btnYAMERU);

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

void TfrmInputBox::FormActivate() {
  setWindowTitle(caption_);
  pnlTitle->SetCaption(prompt_);
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

void TfrmInputBox::keyPressEvent(QKeyEvent* event) {
  // Esc does not close the dialog: only "はい", "やめる" and the title bar do.
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
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

void TfrmInputBox::edtINPUT_JUKUKeyPress() {
  if (renkomi::IsJukugo(renkomi::ui::ToGame(edtINPUT_JUKU->text()))) {
    game_.ShowMessageSet(renkomi::message_set::kReadingWanted);
    edtINPUT_YOMI->setFocus();
  } else {
    game_.ShowMessageSet(renkomi::message_set::kJukugoRefused);
    edtINPUT_JUKU->clear();
    edtINPUT_JUKU->setFocus();
  }
}

void TfrmInputBox::edtINPUT_YOMIKeyPress() {
  if (renkomi::IsYomi(renkomi::ui::ToGame(edtINPUT_YOMI->text()))) {
    btnHAI->setFocus();
  } else {
    game_.ShowMessageSet(renkomi::message_set::kReadingRefused);
    edtINPUT_YOMI->clear();
    edtINPUT_YOMI->setFocus();
  }
}

void TfrmInputBox::btnHAIClick() {
  // Stored as typed: the word tests belong to Enter only. But a line break, a NUL
  // or any other control character, or a character CP932 cannot hold (which the
  // conversion turns into one), would break or garble the dictionary files: such a
  // text is refused as Enter refuses it, and the dialog stays open.
  const std::string jukugo = renkomi::ui::ToGame(edtINPUT_JUKU->text());
  const std::string yomi = renkomi::ui::ToGame(edtINPUT_YOMI->text());
  if (renkomi::HoldsControlCharacter(jukugo)) {
    game_.ShowMessageSet(renkomi::message_set::kJukugoRefused);
    edtINPUT_JUKU->clear();
    edtINPUT_JUKU->setFocus();
    return;
  }
  if (renkomi::HoldsControlCharacter(yomi)) {
    game_.ShowMessageSet(renkomi::message_set::kReadingRefused);
    edtINPUT_YOMI->clear();
    edtINPUT_YOMI->setFocus();
    return;
  }
  result_ = TRenkomiString{jukugo, yomi};
  accept();
}

void TfrmInputBox::btnYAMERUClick() {
  result_ = TRenkomiString{};
  QDialog::reject();
}

void TfrmInputBox::reject() {
  // The title bar's close box and the window manager's close end up here.
  result_ = TRenkomiString{};
  QDialog::reject();
}
