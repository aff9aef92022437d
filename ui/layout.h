// A window's fixed pixel layout as data: one row an element, as the game's design
// gives it (name, kind, parent, position and size, caption, font, text colour,
// hint tag), in the order the elements are stacked from the bottom; and the one
// function that builds a window's elements from its rows.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

#include <QHash>
#include <QString>
#include <QWidget>

namespace renkomi::ui {

enum class Kind {
  Shape, Picture, Gauge, Panel, Label, LineEdit, Memo, Button, GroupBox, RadioButton, ComboBox,
  DisplayBox,   // a read-only line edit, to read and not to type in
  RaisedFrame,  // a bare raised frame that other elements sit on
  RaisedLabel,  // a caption centred on a raised frame
  Table,
};

// Makes an element of a window's own class.
using Creator = QWidget* (*)(const QString& caption, QWidget* parent);

// The creator of a window's own class T: T gets the row's caption when it takes one.
template <typename T>
QWidget* OwnClass([[maybe_unused]] const QString& caption, QWidget* parent) {
  if constexpr (std::is_constructible_v<T, const QString&, QWidget*>) {
    return new T(caption, parent);
  } else {
    return new T(parent);
  }
}

// A row's kind: one of the kinds above, or a window's own class as OwnClass<T>,
// so that a row names the class it makes.
struct ElementKind {
  constexpr ElementKind(Kind kind) : standard(kind) {}
  constexpr ElementKind(Creator create) : own(create) {}
  Kind standard = Kind::Shape;  // unused when `own` is set
  Creator own = nullptr;
};

inline constexpr std::uint32_t kParentColour = 0xFFFFFFFF;

// Width and height of an element whose window sizes it at every resize: its row
// gives only its place.
inline constexpr int kSizedByWindow = -1;

struct Element {
  const char* name;
  ElementKind kind;
  const char* parent;  // an earlier row's name; nullptr for the window itself
  int left, top, width, height;
  const char16_t* text = nullptr;        // the caption, or a box's starting text
  int fontPixels = 0;                    // 0: the parent's font
  bool bold = false;
  std::uint32_t colour = kParentColour;  // text colour, blue-green-red
  int tag = 0;                           // the hint tag; 0 for none
  // What a screen reader calls the element, saying whose it is when two look
  // alike; nullptr: Qt's own (a button's or a label's caption).
  const char16_t* accessibleName = nullptr;
};

// The property that holds an element's hint tag.
inline constexpr const char* kTagProperty = "Tag";

// The elements built from a window's rows, by name.
class BuiltElements {
 public:
  void Add(const char* name, QWidget* element) { elements_.insert(QString::fromLatin1(name), element); }
  // The element of that name; a name no row has is a fault of the program itself.
  QWidget* Find(const char* name) const {
    QWidget* element = elements_.value(QString::fromLatin1(name));
    if (element == nullptr) qFatal("no element %s in the rows", name);
    return element;
  }
  // Binds members to the elements of those names, given as name, member, name,
  // member, ...: each member is set to its element, of the member's own type.
  template <typename T, typename... More>
  void Bind(const char* name, T*& member, More&&... more) const {
    member = qobject_cast<T*>(Find(name));
    if (member == nullptr) qFatal("element %s is not of the member's kind", name);
    if constexpr (sizeof...(more) > 0) Bind(std::forward<More>(more)...);
  }

 private:
  QHash<QString, QWidget*> elements_;
};

// Creates the elements of `rows` in order, each a child of `window` or of its
// parent row, with its name, geometry, caption, font, text colour, tag and the
// name a screen reader reads.
BuiltElements BuildElements(QWidget& window, std::span<const Element> rows);

}  // namespace renkomi::ui
