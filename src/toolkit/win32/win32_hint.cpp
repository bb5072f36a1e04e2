#include "toolkit/win32/win32_hint.h"

#include <commctrl.h>

#include "toolkit/win32/wide.h"

namespace tk::win32 {

namespace {

TOOLINFOW Tool(HWND control) {
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  return ti;
}

}  // namespace

HintTip::~HintTip() {
  if (tip_ != nullptr) DestroyWindow(tip_);
}

void HintTip::Show(HWND control, HWND owner, std::string_view hint) {
  if (tip_ == nullptr) {
    if (hint.empty() || control == nullptr) return;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
    if (tip_ == nullptr) return;
    control_ = control;
    TOOLINFOW ti = Tool(control_);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    // A long explanation wraps instead of running off the screen.
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  const std::wstring w = Widen(hint);
  TOOLINFOW ti = Tool(control_);
  ti.lpszText = const_cast<wchar_t*>(w.c_str());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip_, TTM_ACTIVATE, hint.empty() ? FALSE : TRUE, 0);
}

std::string HintTip::Text() const {
  if (tip_ == nullptr) return {};
  std::wstring buffer(1024, L'\0');
  TOOLINFOW ti = Tool(control_);
  ti.lpszText = buffer.data();
  SendMessageW(tip_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&ti));
  return Narrow(buffer.c_str());
}

}  // namespace tk::win32
