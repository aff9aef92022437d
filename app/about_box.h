// The About box: the game's name, version and a few words about it, on the
// game's teal. Shown modally from the main window's picture menu.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "escape_proof_dialog.h"
#include "layout.h"

namespace renkomi::app {

// A panel framed by a raised bevel inside a lowered one; its silver is its row's.
class BevelPanel : public QFrame {
  Q_OBJECT
 public:
  explicit BevelPanel(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A push button with a check-mark glyph near its left edge and its caption
// centred in the rest.
class CheckGlyphButton : public QPushButton {
  Q_OBJECT
 public:
  CheckGlyphButton(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class TRenkomiAboutBox : public renkomi::ui::EscapeProofDialog {
  Q_OBJECT
 public:
  explicit TRenkomiAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The controls as the design lays them out, one row each, and their members.
  static const renkomi::ui::Element kLayout[];
  BevelPanel* Panel1 = nullptr;
  CheckGlyphButton* OKButton = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Label1 = nullptr;
};

}  // namespace renkomi::app
