// What a user does to a window, and what the window would have shown, for
// tests, benchmarks and screenshot programs only: the program links none of
// it. Every backend provides a driver, so the same behaviour suite runs
// against each of them.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/toolkit.h"

namespace tk {

class UserDriver {
 public:
  virtual ~UserDriver() = default;

  // A mouse click; a disabled control takes none.
  virtual void Click(Control& control) = 0;
  // One key press that produces a character (Backspace is 8). The edit's key
  // handler sees it first; what it lets through has the edit's own effect.
  virtual void TypeChar(Control& edit, char32_t ch) = 0;
  // The Enter key with the focus on a control of `form`, which gets the
  // focus first; a disabled control takes none.
  virtual void PressEnter(Form& form, Control& control) = 0;
  // Pastes text over the selection, as the edit's context menu does: no key
  // handler runs, the edit's length limit applies.
  virtual void Paste(Control& edit, std::string_view text) = 0;
  // Places a selection (length 0: the caret). Offsets are those that
  // CaretOffset reports for that control.
  virtual void Select(Control& control, int start, int length) = 0;
  virtual void FireTimer(Control& timer) = 0;
  // Opens a drop-down list and picks the item `index`, as with the mouse.
  virtual void Choose(Control& combo, int index) = 0;
  // A mouse click at a point of the control's visible area, from its top
  // left, in pixels at 96 dpi (a canvas: of its viewport).
  virtual void ClickAt(Control& control, int x, int y) = 0;
  // The close box of the window.
  virtual void CloseWindow(Form& form) = 0;
  // Drags a window's frame until its client area has this size (96 dpi).
  virtual void ResizeWindow(Form& form, Size client) = 0;
  // Clicks a window's title bar: it becomes the active window.
  virtual void Activate(Form& form) = 0;
  // Whether the window is the active one, in front of the program's others.
  virtual bool InFront(Form& form) = 0;
  // Queues an action that runs the next time messages are processed, as a
  // message that arrives while a handler pumps messages.
  virtual void Post(std::function<void()> action) = 0;
  // The text the native list widget shows now, after any pending refresh.
  virtual std::string ShownListText(Control& list) = 0;

  // A context menu item as the native menu shows it.
  struct ShownItem {
    std::string text;  // with its & accelerator; empty for a separator
    std::string shortcut;
    bool enabled = false;
  };
  enum class MenuKey { RightClick, MenuKey, ShiftF10 };
  // Opens the control's context menu as a user does, and presses the
  // accelerator letter of an item (0: closes the menu with Esc). The item's
  // action runs before this returns. Returns what the menu showed; nothing
  // when no menu opened.
  virtual std::vector<ShownItem> UseContextMenu(Control& list, MenuKey how, char32_t letter) = 0;

  void Type(Control& edit, std::string_view utf8);
  void PlaceCaret(Control& control, int offset) { Select(control, offset, 0); }
};

// Catches notices, error boxes and opened links instead of showing them,
// answers file dialogs and questions, and follows the dialogs shown.
struct Recorder {
  std::vector<std::string> notices;
  std::vector<std::string> errors;
  std::vector<std::string> links;
  // Paths that the next dialogs answer, in order; an empty one, or none
  // left, is Cancel.
  std::deque<std::string> dialogAnswers;
  std::vector<FileRequest> dialogs;  // what was asked
  // Answers of the next question boxes, in order; none left is 否 (no).
  std::deque<bool> answers;
  std::vector<std::string> questions;  // what was asked

  void Attach(Application& app);
  void Clear();
};

// The name dialog that AskText is showing (the innermost, when one opens
// over another) in an application that a Recorder is attached to; nullptr
// when none is. Tests reach its controls here.
Form* ShownTextDialog();

}  // namespace tk
