// The test user of the Windows backend; a library of its own, so that the
// program carries none of it.
#pragma once

#include "toolkit/testing/driver.h"
#include "toolkit/win32/win32.h"

namespace tk::win32 {

// A user in front of the real window: clicks, keys and the close box arrive
// as the messages Windows sends for them.
class Win32Driver : public UserDriver {
 public:
  explicit Win32Driver(Win32Application& app) : app_(app) {}

  void Click(Control& control) override;
  void TypeChar(Control& edit, char32_t ch) override;
  void PressEnter(Form& form, Control& control) override;
  void Paste(Control& edit, std::string_view text) override;
  void Select(Control& control, int start, int length) override;
  void FireTimer(Control& timer) override;
  void Choose(Control& combo, int index) override;
  void ClickAt(Control& control, int x, int y) override;
  void CloseWindow(Form& form) override;
  void ResizeWindow(Form& form, Size client) override;
  void Activate(Form& form) override;
  bool InFront(Form& form) override;
  void Post(std::function<void()> action) override { app_.PostAction(std::move(action)); }
  std::string ShownListText(Control& list) override;
  std::vector<ShownItem> UseContextMenu(Control& list, MenuKey how, char32_t letter) override;

 private:
  Win32Application& app_;
};

}  // namespace tk::win32
