// A window's fixed pixel layout as data, one row an element, as the game's design
// gives it: name and the member it binds, kind, parent, position and size,
// caption, font, colours, hint tag, and the rest of the design's row (tab order,
// tab stop, pointer, input method, shown and enabled at start, the label's box,
// the name a screen reader reads), in the order the elements are stacked from
// the bottom. Also the window's own row, which every window's constructor sets
// first: its name, caption, frame and title-bar buttons, size, font and ground.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>

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

// Sets a window's member to its element.
using Binder = void (*)(QWidget& window, QWidget& element);

template <typename>
struct MemberPointer;
template <typename W, typename E>
struct MemberPointer<E* W::*> {
  using WindowType = W;
  using ElementType = E;
};

// The binder of one member, `&Window::member`: the member gets its element, of the
// member's own type; an element of another kind is a fault of the program itself.
template <auto member>
void BindMember(QWidget& window, QWidget& element) {
  using Pointer = MemberPointer<decltype(member)>;
  auto* typed = qobject_cast<typename Pointer::ElementType*>(&element);
  if (typed == nullptr) qFatal("element %s is not of its member's kind", qPrintable(element.objectName()));
  static_cast<typename Pointer::WindowType&>(window).*member = typed;
}

// A row's name and the member of `Window` it binds, written once. The rows live
// in a static member of the window, which may name its private members.
#define RENKOMI_ELEMENT(Window, member) .name = #member, .bind = &::renkomi::ui::BindMember<&Window::member>

inline constexpr std::uint32_t kParentColour = 0xFFFFFFFF;

// The named colours the windows' tables use, blue-green-red as the rows hold them.
inline constexpr std::uint32_t kNavy = 0x800000;
inline constexpr std::uint32_t kTeal = 0x808000;
inline constexpr std::uint32_t kMaroon = 0x000080;
inline constexpr std::uint32_t kYellow = 0x00FFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kLime = 0x00FF00;
inline constexpr std::uint32_t kSilver = 0xC0C0C0;
inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// Width and height of an element whose window sizes it at every resize: its row
// gives only its place.
inline constexpr int kSizedByWindow = -1;

// How an element takes the input method.
enum class InputMethod : std::uint8_t {
  AsKind,  // as Qt has it for the kind
  On,      // on: the player types Japanese here
  Off,     // closed: nothing is typed here
};

struct Element {
  const char* name;
  Binder bind = nullptr;  // the window's member for the element; none for an element no code uses
  ElementKind kind;  // every row names its kind
  const char* parent = nullptr;  // an earlier row's name; nullptr for the window itself
  int left = 0, top = 0, width = 0, height = 0;
  const char16_t* text = nullptr;        // the caption, or a box's starting text
  int fontPixels = 0;                    // 0: the parent's font
  bool bold = false;
  std::uint32_t colour = kParentColour;  // text colour, blue-green-red
  // The ground the element fills; a gauge's empty part. Blue-green-red.
  std::uint32_t background = kParentColour;
  std::uint32_t barColour = kParentColour;  // a gauge's filled part
  int tag = 0;                           // the hint tag; 0 for none
  // The place among its parent's elements in the tab order, a container's
  // elements coming after the container; -1 for none.
  int tabOrder = -1;
  bool tabStop = true;  // false: the element takes the focus only when clicked
  bool arrowCursor = false;
  InputMethod inputMethod = InputMethod::AsKind;
  bool shown = true;  // at start
  bool enabled = true;  // at start
  const char* buddy = nullptr;  // a label's box: the label names it to a screen reader
  // What a screen reader calls the element, saying whose it is when two look
  // alike; nullptr: Qt's own (a button's or a label's caption).
  const char16_t* accessibleName = nullptr;
};

// The property that holds an element's hint tag.
inline constexpr const char* kTagProperty = "Tag";

// Creates the elements of `rows` in order, each a child of `window` or of its
// parent row, with everything its row gives; binds each row's member; and puts
// the elements that take the Tab key in the rows' tab order.
void BuildElements(QWidget& window, std::span<const Element> rows);

// A window's frame as the design gives it.
enum class Frame : std::uint8_t {
  SizableWithMinimize,  // resizable; the title bar has the minimize button
  SizableWithMaximize,  // resizable; the maximize button and no minimize button
  FixedDialog,          // a dialog of fixed size; its close box only
};

// A window's own row.
struct WindowRow {
  const char* name;
  const char16_t* caption = nullptr;  // nullptr: set at each showing
  Frame frame = Frame::FixedDialog;
  int clientWidth = 0, clientHeight = 0;  // a fixed dialog's size, another window's first size
  int fontPixels = 13;
  std::uint32_t background = kParentColour;  // blue-green-red; kParentColour: the platform's
  int tag = 0;  // the hint tag; 0 for none
};

// The first thing every window's constructor does, before anything reads the
// window's flags: its name, caption, frame and title-bar buttons, size, font,
// ground and hint tag, from its row.
void SetUpWindow(QWidget& window, const WindowRow& row);

}  // namespace renkomi::ui
