#include "toolkit/win32/win32_hint.h"

#include <commctrl.h>

#include <algorithm>

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

FormTips::~FormTips() {
  if (tip_ != nullptr) DestroyWindow(tip_);
}

bool FormTips::Has(HWND control) const {
  return std::find(tools_.begin(), tools_.end(), control) != tools_.end();
}

void FormTips::Set(HWND owner, HWND control, std::string_view hint) {
  if (control == nullptr) return;
  if (hint.empty()) {
    Forget(control);
    return;
  }
  if (tip_ == nullptr) {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
    if (tip_ == nullptr) return;
    // A long explanation wraps instead of running off the screen.
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  const std::wstring w = BoxText(hint);
  TOOLINFOW ti = Tool(control);
  ti.lpszText = const_cast<wchar_t*>(w.c_str());
  if (Has(control)) {
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  } else if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE) {
    tools_.push_back(control);
  }
}

std::string FormTips::Text(HWND control) const {
  if (tip_ == nullptr || !Has(control)) return {};
  std::wstring buffer(1024, L'\0');
  TOOLINFOW ti = Tool(control);
  ti.lpszText = buffer.data();
  SendMessageW(tip_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&ti));
  std::wstring text = buffer.c_str();
  if (text.ends_with(kBoxPad)) text.pop_back();
  return Narrow(text);
}

void FormTips::Forget(HWND control) {
  const auto it = std::find(tools_.begin(), tools_.end(), control);
  if (it == tools_.end()) return;
  TOOLINFOW ti = Tool(control);
  SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  tools_.erase(it);
}

}  // namespace tk::win32
