// A user at a Qt window, for tests: real mouse and key events through Qt Test.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/qt/qt_backend.h"
#include "toolkit/testing/driver.h"

namespace tk::qt {

class QtDriver : public UserDriver {
 public:
  explicit QtDriver(QtApplication& app) : app_(app) {}

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
  void Post(std::function<void()> action) override;
  std::string ShownListText(Control& list) override;
  std::vector<ShownItem> UseContextMenu(Control& list, MenuKey how, char32_t letter) override;

  // What the loop does once an input has been handled and before it waits
  // for the next: bring the widgets up to date. Nothing while a handler
  // pumps messages, as there the loop does not wait.
  void Settle();

 private:
  QtApplication& app_;
  // Posted actions die with the driver, so none outlives its window.
  std::unique_ptr<QObject> posts_ = std::make_unique<QObject>();
};

}  // namespace tk::qt
