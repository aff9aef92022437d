// The word entry dialog: asks the player for one jukugo and its reading while
// teaching the computer. The character in the main window comments on each Enter.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include "escape_proof_dialog.h"
#include "game_window.h"
#include "layout.h"
#include "panel.h"
#include "word_list.h"

using TRenkomiString = renkomi::WordPair;

class TfrmInputBox : public renkomi::ui::EscapeProofDialog {
  Q_OBJECT
 public:
  // `mainWindow` must be shown and placed already: the dialog takes its place
  // from it once, here. `game` is the main window's side the character talks on.
  TfrmInputBox(QWidget& mainWindow, renkomi::GameWindow& game, QWidget* parent = nullptr);

  // Shows the dialog modally and returns the pair confirmed with "はい" as CP932
  // text, or an empty pair when the player gave up in any way.
  TRenkomiString InputWordPair(const QString& caption, const QString& prompt);

  void reject() override;
  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The elements as the design lays them out, one row each, and their members.
  static const renkomi::ui::Element kLayout[];
  renkomi::ui::Panel* pnlTitle = nullptr;
  QLabel* lblINPUT_JUKU = nullptr;
  QLineEdit* edtINPUT_JUKU = nullptr;
  QLabel* lblINPUT_YOMI = nullptr;
  QLineEdit* edtINPUT_YOMI = nullptr;
  QPushButton* btnHAI = nullptr;
  QPushButton* btnYAMERU = nullptr;

  void FormCreate(QWidget& mainWindow);
  void PlaceOnFirstShowing();
  void FormActivate();
  void edtINPUT_JUKUKeyPress();
  void edtINPUT_YOMIKeyPress();
  // The character says `messageSet`, and `box` is emptied for another try.
  void Refuse(QLineEdit& box, int messageSet);
  void btnHAIClick();
  void btnYAMERUClick();

  renkomi::GameWindow& game_;
  // Where the main window's client area stood when the dialog was created; its
  // frame is known only once the window manager has framed it.
  QPointer<QWidget> mainWindow_;
  QPoint mainClientAtCreation_;
  bool placed_ = false;
  QString caption_;
  QString prompt_;
  TRenkomiString result_;
};
