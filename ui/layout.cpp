#include "layout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "accessible.h"
#include "character_picture.h"
#include "gauge.h"
#include "look.h"
#include "panel.h"
#include "shape.h"

namespace renkomi::ui {
namespace {

QLabel* RaisedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Raised);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QFrame* RaisedFrame(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return frame;
}

QWidget* Create(Kind kind, const QString& text, QWidget* parent) {
  switch (kind) {
    case Kind::Shape: return new Shape(parent);
    case Kind::Picture: return new Picture(parent);
    case Kind::Gauge: return new Gauge(parent);
    case Kind::Panel: return new Panel(text, parent);
    case Kind::Label: return new QLabel(text, parent);
    case Kind::LineEdit: return new QLineEdit(text, parent);
    case Kind::Memo: return new QPlainTextEdit(parent);
    case Kind::Button: return new QPushButton(text, parent);
    case Kind::GroupBox: return new QGroupBox(text, parent);
    case Kind::RadioButton: return new QRadioButton(text, parent);
    case Kind::ComboBox: return new QComboBox(parent);
    case Kind::DisplayBox: return new DisplayBox(text, parent);
    case Kind::RaisedFrame: return RaisedFrame(parent);
    case Kind::RaisedLabel: return RaisedLabel(text, parent);
    case Kind::Table: return new QTableView(parent);
  }
  return new QWidget(parent);
}

// Text colour for an element and everything inside it that keeps its parent's.
void SetTextColour(QWidget& widget, QColor colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget.setPalette(palette);
}

}  // namespace

BuiltElements BuildElements(QWidget& window, std::span<const Element> rows) {
  DescribeGameWidgets();
  BuiltElements built;
  for (const Element& row : rows) {
    QWidget* parent = row.parent == nullptr ? &window : built.Find(row.parent);
    const QString text = row.text != nullptr ? QString::fromUtf16(row.text) : QString();
    QWidget* element = row.kind.own != nullptr ? row.kind.own(text, parent)
                                               : Create(row.kind.standard, text, parent);
    element->setObjectName(QString::fromLatin1(row.name));
    if (row.width == kSizedByWindow) {
      element->move(row.left, row.top);
    } else {
      element->setGeometry(row.left, row.top, row.width, row.height);
    }
    if (row.fontPixels > 0) element->setFont(GameFont(row.fontPixels, row.bold));
    if (row.colour != kParentColour) SetTextColour(*element, FromBgr(row.colour));
    if (row.tag != 0) element->setProperty(kTagProperty, row.tag);
    if (row.accessibleName != nullptr) element->setAccessibleName(QString::fromUtf16(row.accessibleName));
    built.Add(row.name, element);
  }
  return built;
}

}  // namespace renkomi::ui
