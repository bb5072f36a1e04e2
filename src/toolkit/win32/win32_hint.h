// The tooltips of a form's controls: one tooltip window serves them all, as
// each tooltip is a top-level window, which costs as much to make as several
// controls (under Wine, more than a frame for a handful).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tk::win32 {

class FormTips {
 public:
  FormTips() = default;
  ~FormTips();
  FormTips(const FormTips&) = delete;
  FormTips& operator=(const FormTips&) = delete;

  // Shows `hint` over the control from now on (the window is made at the
  // form's first hint); an empty hint shows nothing.
  void Set(HWND owner, HWND control, std::string_view hint);
  // The text the tooltip holds for the control.
  std::string Text(HWND control) const;
  // The control is going.
  void Forget(HWND control);

 private:
  bool Has(HWND control) const;

  HWND tip_ = nullptr;
  std::vector<HWND> tools_;
};

}  // namespace tk::win32
