#include "accessible.h"

#include <QAccessibleWidget>

#include "gauge.h"
#include "panel.h"

namespace renkomi::ui {
namespace {

// A panel that shows a caption is a line of text to read, named by its caption
// (whatever the caption is at the moment: the player's name after the choice);
// a panel without one only holds other elements.
class PanelDescription final : public QAccessibleWidget {
 public:
  explicit PanelDescription(Panel* panel) : QAccessibleWidget(panel, QAccessible::Pane) {}

  QAccessible::Role role() const override {
    return Caption().isEmpty() ? QAccessible::Pane : QAccessible::StaticText;
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) return Caption();
    return QAccessibleWidget::text(kind);
  }

 private:
  QString Caption() const { return static_cast<const Panel*>(widget())->Caption(); }
};

// The gauge is a bar from 0 to 100 that the program fills; the player reads it
// and cannot set it.
class GaugeDescription final : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit GaugeDescription(Gauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return TheGauge().Text();
    return QAccessibleWidget::text(kind);
  }
  QVariant currentValue() const override { return TheGauge().Progress(); }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return 100; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  const Gauge& TheGauge() const { return *static_cast<const Gauge*>(widget()); }
};

// A display box: its text, cursor and selection as Qt's own line edit gives them,
// but read-only and not editable.
class DisplayBoxDescription final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit DisplayBoxDescription(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = Box().isReadOnly();
    state.editable = !state.readOnly;
    state.selectableText = true;
    return state;
  }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Box().text();
    return QAccessibleWidget::text(kind);
  }

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Box().hasSelectedText()) return;
    *start = Box().selectionStart();
    *end = *start + static_cast<int>(Box().selectedText().size());
  }
  int selectionCount() const override { return Box().hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { Box().deselect(); }
  void setSelection(int, int start, int end) override { Box().setSelection(start, end - start); }
  int cursorPosition() const override { return Box().cursorPosition(); }
  void setCursorPosition(int position) override { Box().setCursorPosition(position); }
  QString text(int start, int end) const override { return Box().text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Box().text().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint& point) const override {
    return Box().cursorPositionAt(Box().mapFromGlobal(point));
  }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  QLineEdit& Box() const { return *static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* Describe(const QString& className, QObject* object) {
  if (className == QLatin1String(Panel::staticMetaObject.className())) {
    return new PanelDescription(static_cast<Panel*>(object));
  }
  if (className == QLatin1String(Gauge::staticMetaObject.className())) {
    return new GaugeDescription(static_cast<Gauge*>(object));
  }
  if (className == QLatin1String(DisplayBox::staticMetaObject.className())) {
    return new DisplayBoxDescription(static_cast<DisplayBox*>(object));
  }
  return nullptr;
}

}  // namespace

DisplayBox::DisplayBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) { setReadOnly(true); }

void DescribeGameWidgets() {
  static const bool installed = [] {
    QAccessible::installFactory(&Describe);
    return true;
  }();
  static_cast<void>(installed);
}

}  // namespace renkomi::ui
