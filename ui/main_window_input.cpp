// The main window's keys and hints: Enter as the player's move or as the
// button's click, the arrow keys on the dictionary choice, and the rules that
// show an element's hint when the pointer or the focus reaches it.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "application.h"
#include "dictionary_choice.h"
#include "hint_tracker.h"
#include "main_window.h"
#include "message_set_numbers.h"
#include "panel.h"
#include "text.h"

using renkomi::ui::Guarded;
using renkomi::ui::ToGame;

void TForm1::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool plain =
      (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                             Qt::MetaModifier)) == Qt::NoModifier;
  if (enter && plain) {
    // A focused button takes Enter for itself; elsewhere it goes to "えらぶ" while
    // the choice is open.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget());
        button != nullptr && button->isEnabled() && button->isVisibleTo(this)) {
      button->click();
      return;
    }
    if (pnlSelDic->isVisibleTo(this) && bbtnJisyoOK->isEnabled()) {
      bbtnJisyoOK->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      (watched == rgpJisyoSelItem0 || watched == rgpJisyoSelItem1)) {
    if (QRadioButton* chosen = choice_->ArrowKey(watched, static_cast<QKeyEvent*>(event)->key())) {
      // Choosing one's own dictionary has moved the focus to the name box.
      if (focusWidget() != cbxJisyoSel) FocusControl(chosen);
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress &&
             (watched == edtUSER_JUKU || watched == edtUSER_YOMI)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // The box never sees its Enter: it is the move, on the texts the boxes hold now.
      if (watched == edtUSER_JUKU) {
        Guarded([this] { match_.SubmitJukugo(ToGame(edtUSER_JUKU->text())); });
      } else {
        Guarded([this] { match_.SubmitYomi(ToGame(edtUSER_JUKU->text()), ToGame(edtUSER_YOMI->text())); });
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Serves Form1 (its bare client area), btnSTART, btnFINISH and btnTEACH: the pointer moves over it.
void TForm1::btnSTARTMouseMove(QObject* sender) {
  if (!btnSTART->isEnabled()) return;
  const int tag = Tag(sender);
  if (tag == LastHintTag) return;
  LastHintTag = static_cast<std::uint8_t>(tag);
  // Each tag's hint is the message set of its number.
  if (tag >= renkomi::message_set::kIdle && tag <= renkomi::message_set::kTeachHint) ShowMessageSet(tag);
}

// Serves btnSTART, btnFINISH and btnTEACH: the focus enters it.
void TForm1::btnSTARTEnter(QWidget* sender) {
  if (sender == LastFocusedControl) return;
  LastFocusedControl = sender;
  btnSTARTMouseMove(sender);
}

// Serves edtUSER_JUKU and edtUSER_YOMI: the focus enters it.
void TForm1::edtUSER_JUKUEnter(QWidget* sender) { LastFocusedControl = sender; }

// Serves memFUKIDASI, edtCOMP_JUKU and edtCOMP_YOMI: the focus enters it.
void TForm1::memFUKIDASIEnter(QWidget*) {
  // The bubble and the computer's boxes only hand the focus back.
  if (LastFocusedControl != nullptr && LastFocusedControl->isEnabled() &&
      LastFocusedControl->isVisibleTo(this)) {
    FocusControl(LastFocusedControl);
  }
}

void TForm1::FocusControl(QWidget* control) { hints_->Focus(control); }

void TForm1::ControlEntered(QWidget* control) {
  if (control == btnSTART || control == btnFINISH || control == btnTEACH) {
    btnSTARTEnter(control);
  } else if (control == edtUSER_JUKU || control == edtUSER_YOMI) {
    edtUSER_JUKUEnter(control);
  } else if (control == memFUKIDASI || control == edtCOMP_JUKU || control == edtCOMP_YOMI) {
    memFUKIDASIEnter(control);
  }
}
