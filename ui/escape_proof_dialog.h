// The game's fixed dialogs (the word entry dialog, the About box) close by their
// buttons, Enter and the title bar only: Esc, which closes a plain dialog, does
// nothing in them.
#pragma once

#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>

namespace renkomi::ui {

class EscapeProofDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Cancel)) {
      event->accept();
      return;
    }
    QDialog::keyPressEvent(event);
  }
};

}  // namespace renkomi::ui
