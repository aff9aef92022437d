// What a screen reader is told of the elements Qt cannot describe right by
// itself: a painted panel says its caption, the painted gauge its value out of
// 100, and a display box is read-only and not editable (Qt 6.4 calls every line
// edit editable). Every other widget keeps Qt's own description.
#pragma once

#include <QLineEdit>
#include <QString>

namespace renkomi::ui {

// A box the player reads and cannot type in: a line edit, read-only from the
// start, so that a screen reader never meets it as one to type in.
class DisplayBox : public QLineEdit {
  Q_OBJECT
 public:
  explicit DisplayBox(const QString& text = {}, QWidget* parent = nullptr);
};

// Puts these descriptions in place for the whole program, once. Every window
// builds its elements through BuildElements, which calls it first, so they are
// there before a screen reader asks.
void DescribeGameWidgets();

}  // namespace renkomi::ui
