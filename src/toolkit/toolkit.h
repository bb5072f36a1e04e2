// The window operations that the behaviour layers (numbers/, tips/, app/)
// use. Each backend (headless, Qt, Win32) implements the native parts; what
// every backend must do the same way is implemented here, once.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "toolkit/layout.h"
#include "toolkit/views.h"

namespace tk {

class Application;
class Control;
class Form;
class Platform;

enum class CloseAction { None, Hide, Free, Minimize };

using ClickHandler = std::function<void(Control& sender)>;
using KeyHandler = std::function<void(Control& sender, char32_t& key)>;
using CloseHandler = std::function<void(Control& sender, CloseAction& action)>;

constexpr char32_t kBackspace = 8;

// One item of a context menu. An empty text is a separator.
struct MenuItem {
  std::string text;      // "复制(&C)": the letter after & is the accelerator
  std::string shortcut;  // shown at the right ("Ctrl+C"); the widget binds the key itself
  bool enabled = true;
  std::function<void()> action;
  bool Separator() const { return text.empty(); }
};
using MenuItems = std::vector<MenuItem>;

// What opened a context menu: the mouse (at the pointer) or the keyboard,
// the menu key or Shift+F10 (at the caret).
enum class MenuReason { Mouse, Keyboard };

// The accelerator of a menu text: the character after the first single &,
// ASCII letters in upper case; 0 when there is none.
char32_t Accelerator(std::string_view text);

// What a save or open dialog asks for. The dialog starts in `folder` when
// that is set and exists, else in the user's documents folder.
struct FileRequest {
  bool save = false;
  std::string title;
  std::string fileName;  // suggested name (save)
  // The kind of file the caller wants, e.g. "PNG 图片 (*.png)" with
  // extension "png"; empty: text files.
  std::string filter;
  std::string extension;
  std::string folder;  // UTF-8, ending in a separator; empty: the one used last
  // Filled by AskFilePath: the caller's kind first, then all files.
  std::vector<std::string> filters;
};
inline constexpr std::string_view kTextFilesFilter = "文本文件 (*.txt)";
inline constexpr std::string_view kAllFilesFilter = "所有文件 (*.*)";
// The file of the data folder that keeps the folder the dialogs used last.
inline constexpr std::string_view kLastFolderFile = "last-folder.txt";
// The pattern of a filter: "*.txt" of "文本文件 (*.txt)".
std::string_view FilterPattern(std::string_view filter);

// An error raised by the toolkit itself (a file that cannot be created, ...).
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Control {
 public:
  Control(Application& app, const ControlSpec& def) : app_(app), def_(def) {}
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ControlSpec& Def() const { return def_; }
  std::string_view Name() const { return def_.name; }
  Kind GetKind() const { return def_.kind; }
  int Tag() const { return def_.tag; }
  Application& App() const { return app_; }

  // The whole shown text of an edit, the caption of a label, button or box.
  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
  std::string Caption() const { return Text(); }
  void SetCaption(std::string_view text) { SetText(text); }

  virtual bool Enabled() const = 0;
  // A control that has the keyboard focus keeps it across its own disabling:
  // meanwhile no key acts anywhere else, and once enabled it has the focus
  // again, unless the user has put the focus elsewhere in between. So a key
  // that ran a button's handler runs that button again, never the next one.
  void SetEnabled(bool enabled);
  virtual void GiveFocus() = 0;
  virtual bool Focused() const = 0;
  std::string Hint() const { return hint_; }
  void SetHint(std::string_view hint);
  // Whether the hint shows as a tooltip on hover; the table's showHint first.
  void SetShowHint(bool show);
  bool ShowsHint() const { return showHint_; }

  ClickHandler OnClick;

  // A click that comes from the message loop: an error that escapes the
  // handler is shown in the error box and the window goes on.
  void RaiseClick();
  // A click that the program itself causes: errors propagate to the caller.
  void RunClick();

 protected:
  virtual void NativeSetEnabled(bool enabled) = 0;
  // The hint's text changed: the backend brings its tooltip up to date.
  virtual void HintChanged() {}
  // Whether the hint shows changed.
  virtual void ShowHintChanged() { HintChanged(); }

 private:
  Application& app_;
  const ControlSpec& def_;
  std::string hint_;
  bool showHint_ = def_.showHint;
};

class CheckBox : public Control {
 public:
  using Control::Control;

  bool Checked() const { return NativeChecked(); }
  // A new state runs the click handler before returning, exactly as a user's
  // click does; the state the box already has runs nothing.
  void SetChecked(bool checked);

  // The backend calls this after the user clicked the box (a check box has
  // toggled natively by then).
  virtual void UserToggled() { RaiseClick(); }

 protected:
  virtual bool NativeChecked() const = 0;
  // Changes the shown state only; must not raise a click.
  virtual void NativeSetChecked(bool checked) = 0;
  // After SetChecked changed the state, before the click handler runs.
  virtual void StateSet() {}
};

// An option button. The options of one parent are a group: selecting one
// (by the user or with SetChecked(true)) clears the others without running
// their handlers, then runs its own. A user's click always selects the
// option and runs its handler, even when it was selected already.
class RadioButton : public CheckBox {
 public:
  using CheckBox::CheckBox;
  void UserToggled() override;
  // The options of this one's group, itself included, in table order.
  const std::vector<RadioButton*>& Group() const { return group_; }

 protected:
  void StateSet() override;

 private:
  friend class Form;
  void ClearOthers();
  std::vector<RadioButton*> group_;
};

class Edit : public Control {
 public:
  using Control::Control;

  int MaxLength() const { return Def().maxLength; }
  // Offset of the start of the selection (the caret when nothing is
  // selected), in characters from 0.
  virtual int CaretOffset() const = 0;
  // Places the caret with nothing selected; past the end means at the end.
  virtual void SetCaretOffset(int offset) = 0;

  KeyHandler OnKeyPress;
  // Runs after every change of the text, by the user or the program.
  ClickHandler OnChange;
  // The backend calls this when the text has changed.
  void RaiseChange();

  // The backend calls this with each typed character before the edit acts on
  // it; the result is the character the edit should act on (0: none).
  char32_t FilterKey(char32_t key);
  // The backend calls this for Enter in the edit: the table's enterClicks
  // button is clicked when enabled. False for an edit without one, where
  // Enter does what it did.
  bool EnterPressed();

 private:
  friend class Form;
  Control* enterButton_ = nullptr;
};

// A drop-down list of fixed items: the user picks one, nothing is typed.
class ComboBox : public Control {
 public:
  using Control::Control;

  const std::vector<std::string>& Items() const { return items_; }
  // Replaces the items; none is selected afterwards, and nothing runs.
  void SetItems(std::vector<std::string> items);
  // The selected item's index; -1 when none is.
  int Selected() const { return selected_; }
  // A new selection runs OnChange before returning, as a user's choice does;
  // the one selected already runs nothing. An index that names no item
  // selects none.
  void SetSelected(int index);
  // The selected item's text; empty when none is.
  std::string Text() const override;
  // Selects the item with exactly this text, or none.
  void SetText(std::string_view text) override;

  // Runs after every change of the selection, by the user or the program.
  ClickHandler OnChange;
  // The backend calls this when the user has chosen an item.
  void UserSelected(int index);

 protected:
  virtual void NativeSetItems(const std::vector<std::string>& items) = 0;
  // Shows the selection only; must not raise OnChange.
  virtual void NativeSetSelected(int index) = 0;

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

// A read-only multi-line list. The control keeps its lines itself; the native
// widget is only a view, brought up to date by the backend.
class ListControl : public Control {
 public:
  using Control::Control;

  int LineCount() const { return static_cast<int>(lines_.size()); }
  const std::string& LineAt(int index) const;
  void AppendLine(std::string_view text);
  // An index that names no line does nothing.
  void DeleteLine(int index);
  // First line from the top whose whole text equals `text`, letter case
  // ignored; -1 when none does.
  int FindLine(std::string_view text) const;
  // Deletes every line that FindLine takes as equal to `text`, in one pass;
  // gives how many went.
  int DeleteEqualLines(std::string_view text);
  void ClearLines();
  const std::vector<std::string>& Lines() const { return lines_; }
  // Replaces every line at once: the view is brought up to date once.
  void ReplaceLines(std::vector<std::string> lines);

  // The text as a Windows edit control holds it: every line followed by CR LF.
  std::string Text() const override;
  void SetText(std::string_view text) override;

  // Caret offsets count characters of that text, CR LF as two.
  virtual int CaretOffset() const = 0;
  virtual void SetCaretOffset(int offset) = 0;
  // The line that holds a character offset; LineCount() for the empty rest
  // after the final line break.
  int LineFromChar(int offset) const;
  // Offset of the first character of a line (LineCount() gives the end).
  int LineStart(int line) const;

  // Characters selected (0: only the caret).
  virtual int SelectionLength() const = 0;
  virtual void SelectAll() = 0;
  // Puts the selected text on the clipboard.
  virtual void CopySelection() = 0;

  // The items of the list's own context menu; unset, the list has none.
  std::function<MenuItems(ListControl& sender)> OnContextMenu;
  // The backend calls this on a right click, the menu key or Shift+F10: the
  // menu is built, shown, and the chosen item's action runs; an escaping
  // error goes to the error box.
  void ContextMenuRequested(MenuReason reason);
  // The backend calls this with a key the list has the focus for ("Ctrl+Z"):
  // the enabled menu item with that shortcut runs. True when the menu has
  // an item for the key (enabled or not): the key is then taken.
  bool ShortcutPressed(std::string_view shortcut);

 protected:
  // Called after every change of the lines; the backend schedules a view sync.
  virtual void LinesChanged() = 0;

 private:
  std::vector<std::string> lines_;
  // One word per line for the lookup: a short line's case-folded bytes and
  // length, or a marked hash of a longer one. Scanning these instead of the
  // strings keeps a 1,000-line lookup well under a microsecond per line.
  std::vector<std::uint64_t> keys_;
};

// A timer has no text and takes no focus; the backend only starts and stops
// its native timer.
class Timer : public Control {
 public:
  using Control::Control;
  int Interval() const { return Def().interval; }
  ClickHandler OnTimer;
  // A tick from the message loop: errors are shown and the timer goes on.
  void RaiseTimer();

  std::string Text() const override { return {}; }
  void SetText(std::string_view /*text*/) override {}
  bool Enabled() const override { return enabled_; }
  void GiveFocus() override {}
  bool Focused() const override { return false; }

 protected:
  // The native timer starts (made enabled) or stops ticking.
  virtual void NativeRun(bool running) = 0;

 private:
  void NativeSetEnabled(bool enabled) final;
  bool enabled_ = true;
};

// Lets the window's thread abandon work that runs on a worker. A blocking
// call on the worker registers a wake (WakeOnCancel) that unblocks it; the
// wake runs on the thread that cancels.
class Cancellation {
 public:
  bool Requested() const { return requested_.load(std::memory_order_acquire); }
  void Request();

 private:
  friend class WakeOnCancel;
  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  std::function<void()> wake_;
};

// While it lives, a cancellation runs `wake` (at once when it came already).
// Its destructor waits for a wake that is running, so what the wake touches
// may be released right after it.
class WakeOnCancel {
 public:
  WakeOnCancel(Cancellation* cancel, std::function<void()> wake);
  ~WakeOnCancel();
  WakeOnCancel(const WakeOnCancel&) = delete;
  WakeOnCancel& operator=(const WakeOnCancel&) = delete;

 private:
  Cancellation* cancel_;
};

// One HTTP GET: what the tips fetch asks of the platform.
struct HttpRequest {
  std::string url;
  std::string userAgent;
  std::size_t readSize = 4096;
  std::size_t maxBytes = std::size_t{1} << 20;  // a hostile server cannot exhaust memory
  long connectTimeoutMs = 15000;
  long totalTimeoutMs = 30000;
  // When set, a request for it ends the transfer soon, with what arrived.
  Cancellation* cancel = nullptr;
};

// What came back for an HttpRequest.
struct HttpResponse {
  int status = 0;           // of the last answer (after redirects); 0: none came
  std::string contentType;  // as the answer gave it, e.g. "text/html; charset=gbk"
  std::string body;         // what arrived, at most the request's maxBytes
  // The body arrived whole: no time-out, break, cancellation or cap cut it.
  bool complete = false;
};

// What the program needs of the system besides its windows: its folders
// (program, cache, the user's data), HTTP and files.
class Platform {
 public:
  virtual ~Platform() = default;
  // Folder of the program's executable, ending in a path separator.
  virtual std::string ProgramFolder() const = 0;
  // Folder for the tips cache, ending in a path separator; empty when this
  // run has none (then no tips are fetched and nothing is written).
  virtual std::string CacheFolder() const { return ProgramFolder(); }
  // Folder for what the user keeps between runs (the lists at close, the
  // draws, schemes), ending in a path separator; empty when this run has none.
  virtual std::string DataFolder() const { return CacheFolder(); }
  // Why this run has no data folder, for the one notice at start; empty
  // when it has one.
  virtual std::string DataFolderNotice() const { return {}; }
  // The body that arrived (all of it, or what came before the transfer broke
  // off or reached the cap). Network failures give what arrived, maybe nothing.
  virtual std::string HttpGet(const HttpRequest& request) = 0;
  // The same fetch with the answer's status and type, and whether the body
  // is whole. A platform that knows bodies only takes a body as a whole
  // answer and nothing as no answer.
  virtual HttpResponse HttpFetch(const HttpRequest& request);

  // Files, by UTF-8 path. Shared by every platform.
  virtual bool FilePresent(const std::string& path) const;
  // Raises Error when the file cannot be opened.
  virtual std::vector<std::string> ReadTextLines(const std::string& path) const;
  // Creates or empties the file, then writes; raises Error when it cannot.
  virtual void WriteFileBytes(const std::string& path, std::string_view bytes) const;
  // Writes a temporary file in the target's folder and renames it over the
  // target once it is complete. On failure the target is as it was, the
  // temporary file is gone, and Error is raised.
  virtual void ReplaceFileBytes(const std::string& path, std::string_view bytes) const;
  // The file's bytes, at most limit + 1 of them (more than limit: the file is
  // too large). Raises Error when the file cannot be read.
  virtual std::string ReadFileBytes(const std::string& path, std::size_t limit) const;
  // The names of the files in a folder whose names end in `extension`
  // (letter case ignored), in no particular order; none when the folder is
  // missing or cannot be read.
  virtual std::vector<std::string> FilesIn(const std::string& folder,
                                           std::string_view extension) const;
  // Makes the folder and those above it that are missing; raises Error when
  // it cannot.
  virtual void MakeFolder(const std::string& path) const;
  // Raises Error when the file is there and cannot be removed.
  virtual void RemoveFile(const std::string& path) const;
};

// True for http:// and https:// addresses, scheme in any letter case.
bool IsWebAddress(std::string_view url);

// The window's rectangle moved up and left just enough to lie wholly in the
// work area; one larger than the work area starts at its top-left corner.
Rect FitOnScreen(Rect window, Rect workArea);

// How wide an auto-sized label may grow, at 96 dpi: up to the nearest
// control of its parent that starts to its right on its rows (a count
// before its button); 0 when nothing stands there. A text wider than that
// is drawn narrower, so no control moves and none covers it.
int RoomRight(const FormSpec& form, const ControlSpec& label);

// Work handed to a worker by Application::RunOffThread. Destroying the task
// abandons it: the completion does not run, the work is asked to stop, and
// the worker touches nothing of the window or the application afterwards.
class Task {
 public:
  struct State;
  explicit Task(std::shared_ptr<State> state) : state_(std::move(state)) {}
  ~Task() { Cancel(); }
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  // Abandons the work now (nothing if it has completed).
  void Cancel();
  // The completion has neither run nor been abandoned.
  bool Pending() const;

 private:
  std::shared_ptr<State> state_;
};

class Application {
 public:
  using MessageHook = std::function<void(std::string_view text)>;
  // Answers a question box: true for 是 (yes).
  using QuestionHook = std::function<bool(std::string_view text)>;
  // Answers a file dialog: the chosen path, or empty for Cancel.
  using DialogHook = std::function<std::string(const FileRequest& request)>;
  // Told of a dialog as ShowModal opens it (shown) and once it has closed.
  using ModalHook = std::function<void(Form& dialog, bool shown)>;

  explicit Application(Platform& platform) : platform_(platform) {}
  virtual ~Application() = default;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view title) { title_ = title; }
  Platform& GetPlatform() const { return platform_; }

  // A modal box with the title as caption and one OK button.
  void ShowNotice(std::string_view text);
  // The error box: title as caption, an error icon and the error's text.
  void ShowError(std::string_view text);
  // A question with the buttons 是 and 否 (No is the default, and Escape):
  // true when the user answered yes.
  bool Ask(std::string_view question);
  // Opens a web address in the browser; anything but http/https is ignored.
  void OpenLink(std::string_view url);

  // The system's save or open dialog: the chosen path (UTF-8), or empty when
  // the user cancelled. Without a folder of its own the dialog starts where
  // the last one ended, in this run or, through the data folder, before.
  std::string AskFilePath(const FileRequest& request);
  // The text on the system's clipboard (UTF-8); empty when it holds none.
  virtual std::string ClipboardText() = 0;

  // Shows a context menu for a control; the index of the chosen item, or -1.
  int PopupMenu(Control& owner, const MenuItems& items, MenuReason reason);

  // Tests replace the modal boxes and the browser with recorders.
  void SetDialogHook(DialogHook hook) { dialogHook_ = std::move(hook); }
  void SetNoticeHook(MessageHook hook) { noticeHook_ = std::move(hook); }
  void SetErrorHook(MessageHook hook) { errorHook_ = std::move(hook); }
  void SetLinkHook(MessageHook hook) { linkHook_ = std::move(hook); }
  void SetQuestionHook(QuestionHook hook) { questionHook_ = std::move(hook); }
  // Tests reach the controls of a dialog while it runs its loop.
  void SetModalHook(ModalHook hook) { modalHook_ = std::move(hook); }

  // Runs f as the message loop runs a handler: an escaping error is shown in
  // the error box, never propagated.
  void Guard(const std::function<void()>& f);

  // Shows a dialog (a form whose table says so) over its owner, centred on
  // it, with the focus on its first tab stop, and handles messages until the
  // dialog closes; meanwhile the owner takes no input. A dialog that is
  // closed already, or not a dialog, raises Error.
  void ShowModal(Form& dialog, Form& owner);
  // Closes a window as its close box does: the close handler runs and the
  // loop that shows it ends once the running handler returns.
  virtual void CloseForm(Form& form);
  // Shows a window of its own (a form whose table is no dialog) beside its
  // owner, which stays usable: resizable, at `client` (96 dpi; empty: its
  // designed size) fitted by FitWindow onto the owner's work area, focus on
  // its first tab stop. A window shown already comes to the front instead.
  // A closed window, or a dialog, raises Error.
  void OpenWindow(Form& window, Form& owner, Size client = {});
  // The client area's size of a window at 96 dpi; its normal size while it
  // is maximized or minimized.
  virtual Size ClientSize(const Form& form) const = 0;

  // Widgets that lag behind their controls (lists, labels) wait here.
  ViewQueue& Views() { return views_; }
  // Brings every lagging widget up to date now. Backends do this before the
  // loop waits for input and before a modal box; tests do it where the loop
  // would.
  void FlushViews() { views_.Flush(); }

  // Handles every message waiting in the queue, then returns.
  virtual void PumpMessages() = 0;
  // Shows the form and runs the message loop until it closes.
  virtual void Run(Form& form) = 0;

  // Backend factory: one native object per row of a window's table.
  virtual std::unique_ptr<Control> CreateControl(Form& form, const ControlSpec& def) = 0;

  using Work = std::function<std::string(Cancellation& cancel)>;
  using Done = std::function<void(std::string result)>;
  // Runs `work` off the window's thread; `done` then gets its result on the
  // window's thread, as a message (an escaping error goes to the error box).
  // The task must not outlive the application.
  [[nodiscard]] std::unique_ptr<Task> RunOffThread(Work work, Done done);

 protected:
  // Starts `job` (the work, then WorkFinished) away from the window's thread.
  // By default on a thread of its own; a backend that returns no thread runs
  // the job itself later (the headless one, when the test says so).
  virtual std::thread StartWork(std::function<void()> job);
  // Any thread: make the window's thread call RunCompletions soon, also
  // while a modal box runs its own loop.
  virtual void WakeWindowThread() = 0;
  // Window's thread: runs the completions of finished work, in order.
  void RunCompletions();

  virtual void NativeMessageBox(std::string_view text, bool error) = 0;
  virtual bool NativeQuestionBox(std::string_view text) = 0;
  virtual void NativeOpenLink(std::string_view url) = 0;
  virtual std::string NativeFileDialog(const FileRequest& request) = 0;
  // Runs the menu modally; the chosen item's index or -1. Only enabled,
  // non-separator items can be chosen.
  virtual int NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) = 0;

  // Called just before the control that has the focus is disabled: moves the
  // focus where a key does nothing, if the native toolkit would otherwise
  // hand it on. The default leaves it on the disabled control (Windows).
  virtual void ParkFocus(Control& from) { (void)from; }
  // True while the focus is still where ParkFocus left it.
  virtual bool FocusParked(const Control& from) const {
    (void)from;
    return false;
  }

  // The backend's nested loop for ShowModal.
  virtual void RunModal(Form& dialog, Form& owner) = 0;
  // OpenWindow's first show of a window, and its bringing to the front.
  virtual void NativeOpenWindow(Form& window, Form& owner, Size client) = 0;
  virtual void NativeRaise(Form& window) = 0;

 private:
  friend class Control;

  Platform& platform_;
  ViewQueue views_;
  // The control whose disabling parked the focus, until it is enabled.
  Control* focusOwner_ = nullptr;
  std::string title_;
  MessageHook noticeHook_;
  MessageHook errorHook_;
  MessageHook linkHook_;
  QuestionHook questionHook_;
  DialogHook dialogHook_;
  ModalHook modalHook_;
  // The folder of the last file chosen in a dialog; read from the data
  // folder at the first dialog.
  std::string lastFolder_;
  bool lastFolderRead_ = false;
  const std::string& LastFolder();
  void RememberFolder(const std::string& path);

  // Called on a worker: queues a finished task's completion and wakes the
  // window's thread.
  void WorkFinished(const std::shared_ptr<Task::State>& state);
  std::mutex finishedMutex_;
  std::deque<std::shared_ptr<Task::State>> finished_;
};

// A window built from its table. The form's own row (kind Form) is made
// first, then every control in table order, parents before children.
class Form {
 public:
  Form(Application& app, const FormSpec& def);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Application& App() const { return app_; }
  const FormSpec& Def() const { return def_; }
  const ControlSpec& WindowSpec() const { return windowSpec_; }
  // The window itself, as the sender of its own events.
  Control& Window() const { return *window_; }

  Control& Find(std::string_view name) const;
  template <class T>
  T& Get(std::string_view name) const {
    return dynamic_cast<T&>(Find(name));
  }
  const std::vector<Control*>& Controls() const { return order_; }

  CloseHandler OnClose;
  // A close request (close box, Alt+F4): runs the close handler and marks the
  // form closed; the backend then takes the window down and ends the loop.
  void RequestClose();
  bool Closed() const { return closed_; }
  // Shown by Application::OpenWindow (and not closed since).
  bool Opened() const { return opened_ && !closed_; }
  // Closes the window from the program (a dialog's buttons).
  void Close() { app_.CloseForm(*this); }
  // Enter in a form: in an edit with a button of its own, that button (see
  // Edit::EnterPressed); else, with a default button, the button that has the
  // focus, or else the default one when enabled. False otherwise, where
  // Enter does what it did.
  bool EnterPressed(Control* focused);

 protected:
  // Connects every control's events to the handlers named in the table.
  template <class F>
  void Wire(F* self, const std::map<std::string_view, void (F::*)(Control&)>& clicks,
            const std::map<std::string_view, void (F::*)(Control&, char32_t&)>& keys,
            void (F::*close)(Control&, CloseAction&)) {
    WireByName(
        [&](std::string_view n) -> ClickHandler {
          auto m = clicks.at(n);
          return [self, m](Control& s) { (self->*m)(s); };
        },
        [&](std::string_view n) -> KeyHandler {
          auto m = keys.at(n);
          return [self, m](Control& s, char32_t& k) { (self->*m)(s, k); };
        });
    if (close) OnClose = [self, close](Control& s, CloseAction& a) { (self->*close)(s, a); };
  }

 private:
  void WireByName(const std::function<ClickHandler(std::string_view)>& click,
                  const std::function<KeyHandler(std::string_view)>& key);

  Application& app_;
  const FormSpec& def_;
  ControlSpec windowSpec_;
  std::unique_ptr<Control> window_;
  std::map<std::string_view, std::unique_ptr<Control>, std::less<>> controls_;
  std::vector<Control*> order_;
  bool closed_ = false;
  bool opened_ = false;
  friend class Application;
};

}  // namespace tk
