// The Windows backend: native controls (BUTTON, EDIT, STATIC) in windows of
// the program's own classes, WinInet for HTTP, ShellExecuteW for links.
// Text crosses the API as UTF-16 (the W functions), so Chinese shows on any
// system locale.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/actions.h"
#include "toolkit/data_folder.h"
#include "toolkit/toolkit.h"

namespace tk::win32 {

class Win32Platform : public Platform {
 public:
  Win32Platform();
  std::string ProgramFolder() const override { return folder_; }
  std::string CacheFolder() const override { return data_; }
  std::string DataFolder() const override { return data_; }
  std::string DataFolderNotice() const override { return dataNotice_; }
  // Tests place the program, and with it its cache and data, in a folder of theirs.
  void SetProgramFolder(std::string folder) {
    folder_ = folder;
    data_ = std::move(folder);
    dataNotice_.clear();
  }
  std::string HttpGet(const HttpRequest& request) override { return HttpFetch(request).body; }
  HttpResponse HttpFetch(const HttpRequest& request) override;

  // Where a program in `programFolder` keeps its tips cache and data when
  // it can write its folder: that folder for a build or unpacked program;
  // for an installed one (under one of `programFilesFolders`, or `installed`
  // because the setup program's uninstaller lies beside it)
  // `appDataFolder`\Qelmar3D\, empty without an `appDataFolder`. Case, '/'
  // and a \\?\ prefix do not count; folders end in '\'.
  static std::string ChooseDataFolder(const std::string& programFolder,
                                      const std::vector<std::string>& programFilesFolders,
                                      bool installed, const std::string& appDataFolder);
  // The same, tried for real: the program's folder only when a file can be
  // made in it, else `appDataFolder`\Qelmar3D\ made when missing, else none
  // with the notice saying so.
  static FolderChoice ChooseFolder(const std::string& programFolder,
                                   const std::vector<std::string>& programFilesFolders, bool marked,
                                   const std::string& appDataFolder);

 private:
  std::string folder_;
  std::string data_;
  std::string dataNotice_;
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
  std::string ClipboardText() override;

  // Shows the window, lays it out and puts the focus on its first tab stop.
  void Show(Form& form);
  // A message as the loop hands it out: dialog keys (Tab) first.
  void Dispatch(MSG& msg);

  // Queues an action for the next message processing (tests).
  void PostAction(std::function<void()> action);
  // Runs the earliest queued action that waits: one of a batch being run
  // first, then one queued since. False when none waits.
  bool RunNextAction();
  void CloseForm(Form& form) override;
  Size ClientSize(const Form& form) const override;
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

  // Internal: a list widget was synced.
  void CountListSync() { ++syncs_; }

 protected:
  void NativeMessageBox(std::string_view text, bool error) override;
  bool NativeQuestionBox(std::string_view text) override;
  void NativeOpenLink(std::string_view url) override;
  // Windows takes the focus from a control it disables (no window has it
  // then, so no key acts); the common layer gives it back on enabling.
  bool FocusParked(const Control& from) const override;
  std::string NativeFileDialog(const FileRequest& request) override;
  int NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) override;
  // win32_modal.cpp: owned by the owner's window, which is disabled while
  // the dialog's loop runs.
  void RunModal(Form& dialog, Form& owner) override;
  // win32_modal.cpp: a top-level window with a sizing frame, placed by
  // FitWindow on the owner's monitor's work area.
  void NativeOpenWindow(Form& window, Form& owner, Size client) override;
  void NativeRaise(Form& window) override;

  // ---- work off the window's thread (win32_task.cpp) ----
  std::thread StartWork(std::function<void()> job) override;
  void WakeWindowThread() override { completions_.Wake(); }

 private:
  CompletionWindow completions_;

  ActionQueue::Runner Runner();

  Options options_;
  int dpi_ = 96;
  std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
  ActionQueue actions_;
  std::size_t pumps_ = 0;
  std::size_t syncs_ = 0;
  // Painting inside PumpMessages: when the last round ended and what it cost.
  std::chrono::steady_clock::time_point lastPaintEnd_{};
  std::chrono::steady_clock::duration lastPaintCost_{};
};

}  // namespace tk::win32
