// The tooltip of an edit or a button that shows its hint on hover. Labels
// keep their own (win32_app.cpp), which follows their painting.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tk::win32 {

class HintTip {
 public:
  HintTip() = default;
  ~HintTip();
  HintTip(const HintTip&) = delete;
  HintTip& operator=(const HintTip&) = delete;

  // Shows `hint` over the control from now on (made at the first hint); an
  // empty hint shows nothing.
  void Show(HWND control, HWND owner, std::string_view hint);
  // The text the tooltip holds.
  std::string Text() const;

 private:
  HWND tip_ = nullptr;
  HWND control_ = nullptr;
};

}  // namespace tk::win32
