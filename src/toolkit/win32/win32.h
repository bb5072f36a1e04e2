// The Windows backend: native controls (BUTTON, EDIT, STATIC) in windows of
// the program's own classes, WinInet for HTTP, ShellExecuteW for links.
// Text crosses the API as UTF-16 (the W functions), so Chinese shows on any
// system locale.
#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/driver.h"
#include "toolkit/toolkit.h"

namespace tk::win32 {

class Win32Platform : public Platform {
 public:
  Win32Platform();
  std::string ProgramFolder() const override { return folder_; }
  std::string CacheFolder() const override { return data_; }
  std::string DataFolder() const override { return data_; }
  // Tests place the program, and with it its cache and data, in a folder of theirs.
  void SetProgramFolder(std::string folder) {
    folder_ = folder;
    data_ = std::move(folder);
  }
  std::string HttpGet(const HttpRequest& request) override;

  // Where a program in `programFolder` keeps its tips cache and data: that
  // folder for a build or unpacked program; for an installed one (under one
  // of `programFilesFolders`, or `installed` because it cannot write its
  // folder or the setup program's uninstaller lies beside it)
  // `appDataFolder`\Qelmar3D\, empty without an `appDataFolder`. Case, '/'
  // and a \\?\ prefix do not count; folders end in '\'.
  static std::string ChooseDataFolder(const std::string& programFolder,
                                      const std::vector<std::string>& programFilesFolders,
                                      bool installed, const std::string& appDataFolder);

 private:
  std::string folder_;
  std::string data_;
};

// Every control of this backend is a native window.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  virtual HWND Handle() const = 0;
};

// The window of a control (the form's top-level window for the form itself);
// nullptr for a timer.
HWND HandleOf(const Control& control);
// The text of a label's tooltip as the tooltip control holds it.
std::string ShownHint(const Control& control);

// A native widget brought up to date from its control's state at most once
// per frame, and always before the message loop waits.
class View {
 public:
  virtual ~View() = default;
  virtual void Sync() = 0;
  bool Dirty() const { return dirty_; }

 protected:
  bool dirty_ = false;
};

// A message-only window of the window's thread that runs the completions of
// work done off that thread (win32_task.cpp).
class CompletionWindow {
 public:
  CompletionWindow() = default;
  ~CompletionWindow();
  CompletionWindow(const CompletionWindow&) = delete;
  CompletionWindow& operator=(const CompletionWindow&) = delete;
  // Window's thread: makes the window when there is none yet.
  void Make(std::function<void()> run);
  // Any thread.
  void Wake() const;

 private:
  HWND hwnd_ = nullptr;
  std::function<void()> run_;
};

class Win32Application : public Application {
 public:
  struct Options {
    // 0: the screen's. Other values lay the window out for that density.
    int dpi = 0;
    // Tests fire the timer themselves and keep the 15-second ticks away.
    bool nativeTimers = true;
  };
  explicit Win32Application(Platform& platform) : Win32Application(platform, Options{}) {}
  Win32Application(Platform& platform, Options options);
  ~Win32Application() override;

  void PumpMessages() override;
  void Run(Form& form) override;
  std::unique_ptr<Control> CreateControl(Form& form, const ControlSpec& def) override;

  // Shows the window, lays it out and puts the focus on its first tab stop.
  void Show(Form& form);
  // Brings every list widget up to date with its lines now.
  void FlushViews();
  // A message as the loop hands it out: dialog keys (Tab) first.
  void Dispatch(MSG& msg);

  // Queues an action for the next message processing (tests).
  void PostAction(std::function<void()> action);
  // Runs the earliest queued action that waits: one of a batch being run
  // first, then one queued since. False when none waits.
  bool RunNextAction();
  void CloseForm(Form& form) override;
  std::size_t PumpCount() const { return pumps_; }
  // Native WM_SETTEXT syncs of list widgets so far.
  std::size_t ListSyncs() const { return syncs_; }

  int Dpi() const { return dpi_; }
  int Scale(int pixels96) const { return MulDiv(pixels96, dpi_, 96); }
  int Unscale(int pixels) const { return MulDiv(pixels, 96, dpi_); }
  HFONT Font(std::string_view face, int pixelHeight, bool underline);
  // The same by character height in this screen's pixels.
  HFONT NativeFont(std::string_view face, int pixels, bool underline);
  bool NativeTimers() const { return options_.nativeTimers; }

  // Internal: views report that their state changed, or that they go.
  void MarkDirty(View* view);
  void Forget(View* view);
  void CountListSync() { ++syncs_; }

 protected:
  void NativeMessageBox(std::string_view text, bool error) override;
  void NativeOpenLink(std::string_view url) override;
  // Windows takes the focus from a control it disables (no window has it
  // then, so no key acts); the common layer gives it back on enabling.
  bool FocusParked(const Control& from) const override;
  std::string NativeFileDialog(const FileRequest& request) override;
  int NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) override;
  // win32_modal.cpp: owned by the owner's window, which is disabled while
  // the dialog's loop runs.
  void RunModal(Form& dialog, Form& owner) override;

  // ---- work off the window's thread (win32_task.cpp) ----
  std::thread StartWork(std::function<void()> job) override;
  void WakeWindowThread() override { completions_.Wake(); }

 private:
  CompletionWindow completions_;

  void RunActions(std::deque<std::function<void()>>& actions);
  // Syncs at most once per frame, and never more than half of the time.
  void MaybeFlush();

  Options options_;
  int dpi_ = 96;
  std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
  std::vector<View*> dirty_;
  std::deque<std::function<void()>> actions_;
  // The actions each running RunActions has still to run, outermost first.
  std::deque<std::deque<std::function<void()>>> batches_;
  std::size_t pumps_ = 0;
  std::size_t syncs_ = 0;
  std::chrono::steady_clock::time_point lastSyncEnd_{};
  std::chrono::steady_clock::duration lastSyncCost_{};
  // Painting inside PumpMessages: when the last round ended and what it cost.
  std::chrono::steady_clock::time_point lastPaintEnd_{};
  std::chrono::steady_clock::duration lastPaintCost_{};
};

// A user in front of the real window: clicks, keys and the close box arrive
// as the messages Windows sends for them.
class Win32Driver : public UserDriver {
 public:
  explicit Win32Driver(Win32Application& app) : app_(app) {}

  void Click(Control& control) override;
  void TypeChar(Control& edit, char32_t ch) override;
  void Paste(Control& edit, std::string_view text) override;
  void Select(Control& control, int start, int length) override;
  void FireTimer(Control& timer) override;
  void CloseWindow(Form& form) override;
  void Post(std::function<void()> action) override { app_.PostAction(std::move(action)); }
  std::string ShownListText(Control& list) override;
  std::vector<ShownItem> UseContextMenu(Control& list, MenuKey how, char32_t letter) override;

 private:
  Win32Application& app_;
};

}  // namespace tk::win32
