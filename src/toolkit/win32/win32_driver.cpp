// The test user in front of the real window: clicks, keys and the close box
// arrive as the messages Windows sends for them.
#include <windows.h>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_controls.h"
#include "toolkit/win32/win32_driver.h"

namespace tk::win32 {

void Win32Driver::Click(Control& control) {
  HWND h = HandleOf(control);
  // Windows routes no mouse input to a disabled window.
  if (h == nullptr || !IsWindowEnabled(h)) return;
  if (control.GetKind() == Kind::Button || control.GetKind() == Kind::CheckBox ||
      control.GetKind() == Kind::Radio) {
    SendMessageW(h, BM_CLICK, 0, 0);
  } else {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  }
  app_.FlushViews();
}

void Win32Driver::TypeChar(Control& edit, char32_t ch) {
  HWND h = HandleOf(edit);
  if (h == nullptr || !IsWindowEnabled(h)) return;
  if (ch < 0x10000) {
    SendMessageW(h, WM_CHAR, ch, 1);
  } else {
    const char32_t v = ch - 0x10000;
    SendMessageW(h, WM_CHAR, 0xD800 + (v >> 10), 1);
    SendMessageW(h, WM_CHAR, 0xDC00 + (v & 0x3FF), 1);
  }
  app_.FlushViews();
}

void Win32Driver::PressEnter(Form& /*form*/, Control& control) {
  HWND h = HandleOf(control);
  if (h == nullptr || !IsWindowEnabled(h)) return;
  SetFocus(h);
  // As the message loop hands the key out: the dialog manager first, which
  // turns Enter into IDOK for the window.
  for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
    MSG msg{};
    msg.hwnd = h;
    msg.message = message;
    msg.wParam = VK_RETURN;
    msg.lParam = message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(0xC0000001);
    if (!IsDialogMessageW(GetAncestor(h, GA_ROOT), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  app_.FlushViews();
}

void Win32Driver::Paste(Control& edit, std::string_view text) {
  // The edit's own replacement: no key handler, and the length limit holds.
  SendMessageW(HandleOf(edit), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  app_.FlushViews();
}

void Win32Driver::Select(Control& control, int start, int length) {
  if (auto* list = dynamic_cast<ListView*>(&control)) {
    list->Select(start, length);
  } else {
    dynamic_cast<Win32Edit&>(control).Select(start, length);
  }
  app_.FlushViews();
}

void Win32Driver::FireTimer(Control& timer) {
  auto& t = dynamic_cast<Win32Timer&>(timer);
  if (!t.Enabled()) return;
  // As the message loop hands the tick out.
  MSG msg{};
  msg.hwnd = t.Owner();
  msg.message = WM_TIMER;
  msg.wParam = t.Id();
  DispatchMessageW(&msg);
  app_.FlushViews();
}

void Win32Driver::Choose(Control& combo, int index) {
  HWND h = HandleOf(combo);
  if (h == nullptr || !IsWindowEnabled(h)) return;
  SetFocus(h);
  // What the open list does when the user picks an item.
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(h));
  app_.FlushViews();
}

void Win32Driver::ClickAt(Control& control, int x, int y) {
  HWND h = HandleOf(control);
  if (h == nullptr || !IsWindowEnabled(h)) return;
  const LPARAM at = MAKELPARAM(app_.Scale(x), app_.Scale(y));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(h, WM_LBUTTONUP, 0, at);
  app_.FlushViews();
}

void Win32Driver::CloseWindow(Form& form) {
  SendMessageW(HandleOf(form.Window()), WM_CLOSE, 0, 0);
  app_.FlushViews();
}

void Win32Driver::ResizeWindow(Form& form, Size client) {
  HWND h = HandleOf(form.Window());
  RECT r{0, 0, app_.Scale(client.width), app_.Scale(client.height)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)));
  // What dragging the frame asks for; the window's minimum applies.
  SetWindowPos(h, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  app_.PumpMessages();
  app_.FlushViews();
}

void Win32Driver::Activate(Form& form) {
  SetForegroundWindow(HandleOf(form.Window()));
  app_.PumpMessages();
  app_.FlushViews();
}

bool Win32Driver::InFront(Form& form) {
  HWND h = HandleOf(form.Window());
  return IsWindowVisible(h) != FALSE && GetForegroundWindow() == h;
}

std::string Win32Driver::ShownListText(Control& list) {
  app_.FlushViews();
  std::string shown = Narrow(WindowText(HandleOf(list)));
  std::erase(shown, '\r');
  return shown;
}

}  // namespace tk::win32
