// An in-memory backend: every control keeps its state in plain fields, the
// message queue is a list of actions, and the clock is the test's.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/actions.h"
#include "toolkit/testing/driver.h"
#include "toolkit/toolkit.h"

namespace tk::headless {

// Program folder and HTTP are set by the test.
class HeadlessPlatform : public Platform {
 public:
  using Fetch = std::function<std::string(const HttpRequest&)>;
  explicit HeadlessPlatform(std::string folder = "./") : folder_(std::move(folder)) {}

  std::string ProgramFolder() const override { return folder_; }
  void SetProgramFolder(std::string folder) { folder_ = std::move(folder); }
  std::string HttpGet(const HttpRequest& request) override;
  // Without a fetch every request fails: no connection.
  void SetFetch(Fetch fetch) { fetch_ = std::move(fetch); }
  // Whole answers (status, type) for HttpFetch; without them HttpFetch makes
  // one of what the fetch gives.
  using Answer = std::function<HttpResponse(const HttpRequest&)>;
  void SetAnswer(Answer answer) { answer_ = std::move(answer); }
  HttpResponse HttpFetch(const HttpRequest& request) override;
  const std::vector<HttpRequest>& Requests() const { return requests_; }
  void ClearRequests() { requests_.clear(); }

 private:
  std::string folder_;
  Fetch fetch_;
  Answer answer_;
  std::vector<HttpRequest> requests_;
};

class HeadlessApplication : public Application {
 public:
  explicit HeadlessApplication(Platform& platform) : Application(platform) {}

  void PumpMessages() override;
  void Run(Form& form) override;
  std::unique_ptr<Control> CreateControl(Form& form, const ControlSpec& def) override;

  void Post(std::function<void()> action) { actions_.Post(std::move(action)); }
  std::size_t PumpCount() const { return pumps_; }
  Control* FocusedControl() const { return focus_; }
  void SetFocusedControl(Control* c) { focus_ = c; }
  // Boxes shown while no hook was set.
  const std::vector<std::string>& UnhookedBoxes() const { return boxes_; }
  // What the clipboard holds.
  std::string clipboard;
  std::string ClipboardText() override { return clipboard; }
  // The user in front of an open menu: gets the items, answers an index or -1.
  std::function<int(const MenuItems&)> menuUser;

  // The screen: its work area in pixels, the scale of 96 dpi, and the frame
  // a window adds to its client area (outer size less client size).
  Rect workArea{0, 0, 1920, 1040};
  double scale = 1;
  Size frame{16, 39};
  // A window's outer rectangle on that screen, once it has opened.
  Rect Placement(const Form& form) const;
  Size ClientSize(const Form& form) const override;
  // The user resized the window: its controls are placed for the new size.
  void Resize(Form& form, Size client);
  // The window in front, taking the input; nullptr before any shows.
  Form* Front() const { return front_; }
  void SetFront(Form* form) { front_ = form; }

  // Work handed off the window's thread waits here until the test releases
  // it: then it runs on the caller's thread and its completion right after,
  // as a message. Gives the number of jobs run.
  std::size_t ReleaseWork();
  std::size_t HeldWork() const { return held_.size(); }

 protected:
  void NativeMessageBox(std::string_view text, bool error) override;
  // Unanswered, a question is answered no.
  bool NativeQuestionBox(std::string_view text) override;
  void NativeOpenLink(std::string_view url) override;
  // As on Qt: while the focused control is disabled, the window holds the focus.
  void ParkFocus(Control& /*from*/) override { focus_ = nullptr; }
  bool FocusParked(const Control& /*from*/) const override { return focus_ == nullptr; }
  // Without a dialog hook every dialog is cancelled.
  std::string NativeFileDialog(const FileRequest& /*request*/) override { return {}; }
  int NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) override;
  // Runs the queued actions until the dialog closes: those of the batch
  // being run when it opened first, then those queued since. An empty queue
  // with the dialog still open would wait forever: it closes the dialog and
  // raises Error instead.
  void RunModal(Form& dialog, Form& owner) override;
  void NativeOpenWindow(Form& window, Form& owner, Size client) override;
  void NativeRaise(Form& window) override { front_ = &window; }
  std::thread StartWork(std::function<void()> job) override;
  void WakeWindowThread() override {}

 private:
  ActionQueue::Runner Runner();
  // Places the window at `outer` and its controls within.
  void Place(Form& form, Rect outer);
  void FocusFirstTabStop(Form& form);

  std::map<const Form*, Rect> placements_;
  Form* front_ = nullptr;
  std::vector<std::function<void()>> held_;
  ActionQueue actions_;
  std::size_t pumps_ = 0;
  Control* focus_ = nullptr;
  std::vector<std::string> boxes_;
};

class HeadlessDriver : public UserDriver {
 public:
  explicit HeadlessDriver(HeadlessApplication& app) : app_(app) {}

  void Click(Control& control) override;
  void TypeChar(Control& edit, char32_t ch) override;
  void PressEnter(Form& form, Control& control) override;
  void Paste(Control& edit, std::string_view text) override;
  void Select(Control& control, int start, int length) override;
  void FireTimer(Control& timer) override;
  void Choose(Control& combo, int index) override;
  void ClickAt(Control& control, int x, int y) override;
  void CloseWindow(Form& form) override;
  void ResizeWindow(Form& form, Size client) override { app_.Resize(form, client); }
  void Activate(Form& form) override { app_.SetFront(&form); }
  bool InFront(Form& form) override { return app_.Front() == &form; }
  void Post(std::function<void()> action) override { app_.Post(std::move(action)); }
  std::string ShownListText(Control& list) override;
  std::vector<ShownItem> UseContextMenu(Control& list, MenuKey how, char32_t letter) override;

 private:
  HeadlessApplication& app_;
};

}  // namespace tk::headless
