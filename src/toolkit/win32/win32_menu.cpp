#include "toolkit/win32/win32_menu.h"

#include <optional>
#include <vector>

#include "toolkit/win32/wide.h"

namespace tk::win32 {

namespace {

std::optional<POINT> g_menuAt;

}  // namespace

void SetMenuPoint(LPARAM l) {
  if (l == -1) {
    g_menuAt.reset();
  } else {
    g_menuAt = POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
  }
}

bool ListShortcut(ListControl& list, UINT msg, WPARAM w) {
  if (!list.OnContextMenu) return false;
  if (msg == WM_CHAR) return w == 0x1A || w == 0x19;  // the Ctrl+Z and Ctrl+Y characters
  if (msg != WM_KEYDOWN || (w != 'Z' && w != 'Y')) return false;
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) {
    return false;
  }
  return list.ShortcutPressed(w == 'Z' ? "Ctrl+Z" : "Ctrl+Y");
}

int RunPopupMenu(HWND owner, HWND control, const MenuItems& items, MenuReason reason) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) throw Error("无法创建菜单。");
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    const UINT_PTR id = i + 1;  // 0 is "nothing chosen"
    if (item.Separator()) {
      AppendMenuW(menu, MF_SEPARATOR, id, nullptr);
      continue;
    }
    // The text after a tab is shown as the item's shortcut.
    std::wstring text = Widen(item.text);
    if (!item.shortcut.empty()) text += L"\t" + Widen(item.shortcut);
    AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), id, text.c_str());
  }
  POINT at{};
  if (reason == MenuReason::Mouse && g_menuAt) {
    at = *g_menuAt;
  } else if (reason == MenuReason::Mouse) {
    GetCursorPos(&at);
  } else {
    // Below the caret, or the control's corner when the caret is out of sight.
    RECT r{};
    GetClientRect(control, &r);
    DWORD start = 0;
    SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const LRESULT pos = SendMessageW(control, EM_POSFROMCHAR, start, 0);
    at = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    if (pos == -1 || at.x < 0 || at.y < 0 || at.x > r.right || at.y > r.bottom) at = {2, 2};
    at.y += 16;
    ClientToScreen(control, &at);
  }
  // The owner must be in front, or the menu would not close on a click
  // elsewhere.
  SetForegroundWindow(owner);
  const BOOL chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                     at.y, 0, owner, nullptr);
  DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}

}  // namespace tk::win32
