#include "layout.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include <QComboBox>
#include <QHash>
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

void SetBackground(QWidget& widget, QColor colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

bool SameName(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::string_view(a) == std::string_view(b);
}

// What the row says beyond place, caption and font.
void ApplyOther(const Element& row, QWidget& element) {
  if (auto* gauge = qobject_cast<Gauge*>(&element); gauge != nullptr && row.barColour != kParentColour) {
    gauge->SetColours(FromBgr(row.barColour), FromBgr(row.background));
  } else if (row.background != kParentColour) {
    SetBackground(element, FromBgr(row.background));
  }
  if (row.tag != 0) element.setProperty(kTagProperty, row.tag);
  if (!row.tabStop) element.setFocusPolicy(Qt::ClickFocus);
  if (row.arrowCursor) element.setCursor(Qt::ArrowCursor);
  if (row.inputMethod != InputMethod::AsKind) {
    element.setAttribute(Qt::WA_InputMethodEnabled, row.inputMethod == InputMethod::On);
  }
  if (!row.enabled) element.setEnabled(false);
  if (!row.shown) element.hide();
  if (row.accessibleName != nullptr) element.setAccessibleName(QString::fromUtf16(row.accessibleName));
}

// The elements that take the Tab key, in the rows' tab order: the elements of
// one parent by their places, each container's own elements right after it.
void ChainTabOrder(std::span<const Element> rows, const std::vector<QWidget*>& elements) {
  std::vector<QWidget*> chain;
  const auto visit = [&](const auto& self, const char* parent) -> void {
    std::vector<std::size_t> children;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].tabOrder >= 0 && SameName(rows[i].parent, parent)) children.push_back(i);
    }
    std::stable_sort(children.begin(), children.end(),
                     [&](std::size_t a, std::size_t b) { return rows[a].tabOrder < rows[b].tabOrder; });
    for (const std::size_t i : children) {
      if ((elements[i]->focusPolicy() & Qt::TabFocus) != 0) chain.push_back(elements[i]);
      self(self, rows[i].name);
    }
  };
  visit(visit, nullptr);
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

Qt::WindowFlags FlagsOf(Frame frame) {
  const Qt::WindowFlags titleBar = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                   Qt::WindowCloseButtonHint;
  switch (frame) {
    case Frame::SizableWithMinimize: return Qt::Window | titleBar | Qt::WindowMinimizeButtonHint;
    case Frame::SizableWithMaximize: return Qt::Window | titleBar | Qt::WindowMaximizeButtonHint;
    case Frame::FixedDialog: return Qt::Dialog | titleBar | Qt::MSWindowsFixedSizeDialogHint;
  }
  return Qt::Window | titleBar;
}

}  // namespace

void BuildElements(QWidget& window, std::span<const Element> rows) {
  DescribeGameWidgets();
  QHash<QString, QWidget*> byName;
  std::vector<QWidget*> elements;
  const auto find = [&](const char* name) {
    QWidget* element = byName.value(QString::fromLatin1(name));
    if (element == nullptr) qFatal("no element %s in the rows", name);
    return element;
  };
  for (const Element& row : rows) {
    QWidget* parent = row.parent == nullptr ? &window : find(row.parent);
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
    ApplyOther(row, *element);
    if (row.bind != nullptr) row.bind(window, *element);
    byName.insert(QString::fromLatin1(row.name), element);
    elements.push_back(element);
  }
  // A label may name a box of a later row.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].buddy == nullptr) continue;
    auto* label = qobject_cast<QLabel*>(elements[i]);
    if (label == nullptr) qFatal("element %s names a box but is no label", rows[i].name);
    label->setBuddy(find(rows[i].buddy));
  }
  ChainTabOrder(rows, elements);
}

void SetUpWindow(QWidget& window, const WindowRow& row) {
  window.setObjectName(QString::fromLatin1(row.name));
  if (row.caption != nullptr) window.setWindowTitle(QString::fromUtf16(row.caption));
  window.setWindowFlags(FlagsOf(row.frame));
  window.setFont(GameFont(row.fontPixels));
  // A fixed dialog keeps its size; another window starts at it, and the player
  // may make it larger or smaller.
  if (row.frame == Frame::FixedDialog) {
    window.setFixedSize(row.clientWidth, row.clientHeight);
  } else {
    window.resize(row.clientWidth, row.clientHeight);
  }
  if (row.background != kParentColour) SetBackground(window, FromBgr(row.background));
  if (row.tag != 0) window.setProperty(kTagProperty, row.tag);
}

}  // namespace renkomi::ui
