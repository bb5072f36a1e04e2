// The window operations on Qt 6 Widgets. A QApplication must exist before a
// QtApplication is made and outlive it.
#pragma once

#include <QFont>
#include <QMetaObject>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/toolkit.h"

class QEventLoop;
class QTimer;
class QWidget;

namespace tk::qt {

// The font faces every window asks for: the table's face first, then faces
// that Linux systems carry with Chinese glyphs.
QStringList FontFamilies();
// The faces of labels: glyphs of the same design that fit the labels' height.
QStringList LabelFontFamilies();

// A label's line of text: its baseline and the top row of its underline, in
// pixels from the label's top, so that glyphs and underline show whole when
// painted at `ratio` device pixels a pixel (a scaled screen rounds and
// hints the glyphs at its own size).
struct TextPlacement {
  qreal baseline = 0;
  qreal underline = 0;
  qreal underlineWidth = 1;
  QFont font;  // the label's, or a pixel or two smaller where it is too tall
};
TextPlacement PlaceText(const QFont& font, int height, qreal ratio = 1.0, const QString& text = {});

// Installs Qt's own Simplified Chinese texts (box buttons, context menus)
// whatever the system's language; false when the translation is missing.
// Call once the QApplication exists.
bool InstallChineseTranslation();

class QtApplication : public Application {
 public:
  explicit QtApplication(Platform& platform);
  ~QtApplication() override;

  void PumpMessages() override;
  void Run(Form& form) override;
  std::unique_ptr<Control> CreateControl(Form& form, const ControlSpec& def) override;
  std::string ClipboardText() override;

  // True while PumpMessages runs (a handler is waiting for its messages).
  bool Pumping() const { return pumpDepth_ > 0; }
  // A click, key or tick from the loop has been handled: show its effect,
  // unless it came while a handler pumps messages (that one shows it).
  void EventHandled() {
    if (pumpDepth_ == 0) FlushViews();
  }

  // Timers made from now on tick only when a test fires them.
  void SetManualTimers(bool manual) { manualTimers_ = manual; }
  bool ManualTimers() const { return manualTimers_; }

  // Called by a window's close event: ends the loop that shows it.
  void WindowClosed();
  void CloseForm(Form& form) override;
  Size ClientSize(const Form& form) const override;

 protected:
  void NativeMessageBox(std::string_view text, bool error) override;
  bool NativeQuestionBox(std::string_view text) override;
  void NativeOpenLink(std::string_view url) override;
  // Qt would hand the focus of a disabled widget to the next one: the
  // window itself holds it meanwhile, where a key does nothing.
  void ParkFocus(Control& from) override;
  bool FocusParked(const Control& from) const override;
  std::string NativeFileDialog(const FileRequest& request) override;
  int NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) override;
  // qt_modal.cpp: a top-level dialog owned by the owner's window, window
  // modal, fixed size, centred on the owner; Escape closes it.
  void RunModal(Form& dialog, Form& owner) override;
  // qt_modal.cpp: a top-level window of its own, placed by FitWindow on the
  // owner's screen, resizable down to its table's minimum.
  void NativeOpenWindow(Form& window, Form& owner, Size client) override;
  void NativeRaise(Form& window) override;

  // ---- work off the window's thread (qt_task.cpp) ----
  std::thread StartWork(std::function<void()> job) override;
  void WakeWindowThread() override;

 private:
  struct ModalLoop {
    Form* form;
    QEventLoop* loop;
  };
  std::vector<ModalLoop> modal_;
  Form* runForm_ = nullptr;
  // Receives the queued completions; made on the window's thread, and going
  // with the application takes the completions still queued with it.
  std::unique_ptr<QObject> completions_;

  QMetaObject::Connection aboutToBlock_;
  QEventLoop* loop_ = nullptr;
  int pumpDepth_ = 0;
  bool manualTimers_ = false;
};

// The native side of a control, for the driver and for tests.
QWidget* WidgetOf(const Control& control);  // nullptr for a timer
QTimer* TimerOf(const Control& control);    // nullptr for anything else

// Places a selection in an edit or a list, as mouse or Shift+arrows do.
// Offsets are those that the control's CaretOffset reports.
void SetSelection(Control& control, int start, int length);

// Character offsets: code points in the toolkit, UTF-16 units in Qt.
int Utf16Index(const QString& text, int codePoints);
int CodePointCount(const QString& text, int utf16Units);

}  // namespace tk::qt
