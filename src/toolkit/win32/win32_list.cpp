// The lists: a read-only multi-line EDIT brought up to date from the
// control's lines, with the lists' own keys and menu.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_controls.h"
#include "toolkit/win32/win32_menu.h"

namespace tk::win32 {

void ListView::Sync() {
  std::wstring text;
  text.reserve(Lines().size() * 5);
  for (const std::string& line : Lines()) {
    text += Widen(line);
    text += L"\r\n";
  }
  // The user's place in the list survives the new text.
  const auto [start, end] = Selection(hwnd_);
  const LRESULT top = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
  SendMessageW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const auto size = static_cast<DWORD>(text.size());
  SendMessageW(hwnd_, EM_SETSEL, std::min(start, size), std::min(end, size));
  const LRESULT now = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
  if (now != top) SendMessageW(hwnd_, EM_LINESCROLL, 0, top - now);
  shown_ = std::move(text);
  app_.CountListSync();
}

LRESULT CALLBACK ListView::Proc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  if (ListShortcut(*reinterpret_cast<ListView*>(self), msg, w)) return 0;
  switch (msg) {
    case WM_CONTEXTMENU:
      // The list's own menu; lParam -1: the menu key or Shift+F10.
      if (reinterpret_cast<ListView*>(self)->OnContextMenu) {
        SetMenuPoint(l);
        reinterpret_cast<ListView*>(self)->ContextMenuRequested(l == -1 ? MenuReason::Keyboard
                                                                        : MenuReason::Mouse);
        return 0;
      }
      break;
    case WM_KEYUP:
      // Windows makes WM_CONTEXTMENU of the menu key's release in
      // DefWindowProc, Wine does not: taken here, it is one menu on both.
      if (w == VK_APPS && reinterpret_cast<ListView*>(self)->OnContextMenu) {
        SetMenuPoint(-1);
        reinterpret_cast<ListView*>(self)->ContextMenuRequested(MenuReason::Keyboard);
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (ctrl && w == 'A') {
        SendMessageW(h, EM_SETSEL, 0, -1);
        return 0;
      }
      if (ctrl && w == 'C') {
        SendMessageW(h, WM_COPY, 0, 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (w == 1 || w == 3) return 0;  // done on the key itself
      break;
    case WM_GETDLGCODE:
      // Tab leaves the list, and tabbing in keeps the selection.
      return DefSubclassProc(h, msg, w, l) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
    default:
      break;
  }
  return DefSubclassProc(h, msg, w, l);
}

}  // namespace tk::win32
