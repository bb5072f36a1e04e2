// A window described as data: every backend builds the same table, and the
// layout tests read it back.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tk {

// Radio: an option button; the radio buttons of one parent are one group,
// of which exactly one is selected once the program has selected one.
// ComboBox: a drop-down list of fixed items, one of which the user picks.
// Canvas: a scrollable picture the program draws (toolkit/canvas.h).
enum class Kind {
  Form,
  Panel,
  GroupBox,
  Label,
  Button,
  CheckBox,
  Edit,
  List,
  Timer,
  Radio,
  ComboBox,
  Canvas
};

// The kinds that take the keyboard focus: with a tab order they are tab stops.
constexpr bool TakesFocus(Kind kind) {
  return kind == Kind::Button || kind == Kind::CheckBox || kind == Kind::Radio ||
         kind == Kind::Edit || kind == Kind::List || kind == Kind::ComboBox || kind == Kind::Canvas;
}

enum class Dock { None, Bottom, Left, Client };

enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
  kAnchorDefault = kAnchorLeft | kAnchorTop,
};

// 0xRRGGBB; kDefaultColor means "inherit the system's colour".
constexpr std::int32_t kDefaultColor = -1;
constexpr std::int32_t kRed = 0xFF0000;
constexpr std::int32_t kBlue = 0x0000FF;
constexpr std::int32_t kCream = 0xFFFBF0;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct ControlSpec {
  std::string_view name;
  Kind kind = Kind::Label;
  std::string_view parent;  // empty: the form itself
  Rect rect;
  Dock dock = Dock::None;
  unsigned anchors = kAnchorDefault;
  int tabOrder = -1;  // -1: not a tab stop
  std::string_view text;
  int fontHeight = 0;  // pixels; 0 inherits the form's font
  bool underline = false;
  std::int32_t color = kDefaultColor;       // text colour
  std::int32_t background = kDefaultColor;  // only lists set one
  bool handCursor = false;
  int maxLength = 0;  // 0: no limit
  int tag = 0;
  bool showHint = false;
  bool autoSize = false;
  // A dialog's default button: Enter clicks it, unless a button has the focus.
  bool isDefault = false;
  // An edit: the button of its window that Enter in the edit clicks.
  std::string_view enterClicks;
  int interval = 0;          // timers, ms
  std::string_view onClick;  // handler names, wired by name
  std::string_view onKeyPress;
  std::string_view onTimer;
  std::string_view onChange;  // edits: after every change of the text; drop-downs: of the choice
};

struct FormSpec {
  std::string_view name;
  std::string_view caption;
  int left = 0;
  int top = 0;
  int outerWidth = 0;
  int outerHeight = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  std::string_view fontFace;
  int fontHeight = 0;
  std::string_view onClose;
  // A dialog: fixed size, shown with Application::ShowModal over an owner;
  // Escape and the close box close it.
  bool dialog = false;
  // A window of its own (Application::OpenWindow) is resizable down to this
  // client size at 96 dpi; zero: its designed size.
  Size minimum;
  std::span<const ControlSpec> controls;
};

}  // namespace tk
