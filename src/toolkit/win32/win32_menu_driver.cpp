// The test user at a popup menu: a thread timer, which the menu's own loop
// dispatches, reads the open menu and presses an accelerator key.
#include <windows.h>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_driver.h"

namespace tk::win32 {

namespace {

constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU

struct MenuUser {
  std::vector<UserDriver::ShownItem>* shown = nullptr;
  char32_t letter = 0;
  DWORD started = 0;
  UINT_PTR timer = 0;
};
MenuUser g_user;

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  HMENU menu = menuWindow != nullptr && IsWindowVisible(menuWindow)
                   ? reinterpret_cast<HMENU>(SendMessageW(menuWindow, kGetMenu, 0, 0))
                   : nullptr;
  if (menu == nullptr) {
    if (GetTickCount() - g_user.started > 5000) KillTimer(nullptr, g_user.timer);
    return;
  }
  KillTimer(nullptr, g_user.timer);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    if (mii.fType & MFT_SEPARATOR) {
      g_user.shown->push_back({});
      continue;
    }
    const std::string all = Narrow(text);
    const std::size_t tab = all.find('\t');
    g_user.shown->push_back({all.substr(0, tab),
                             tab == std::string::npos ? "" : all.substr(tab + 1),
                             (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0});
  }
  if (g_user.letter != 0) {
    // The key as typed: the lower-case letter.
    const char32_t c =
        g_user.letter >= U'A' && g_user.letter <= U'Z' ? g_user.letter + 32 : g_user.letter;
    PostMessageW(menuWindow, WM_CHAR, static_cast<WPARAM>(c), 1);
  } else {
    PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 1);
  }
}

void Key(HWND h, UINT down, UINT up, WPARAM vk) {
  SendMessageW(h, down, vk, 1);
  SendMessageW(h, up, vk, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace

std::vector<UserDriver::ShownItem> Win32Driver::UseContextMenu(Control& list, MenuKey how,
                                                               char32_t letter) {
  HWND h = HandleOf(list);
  if (h == nullptr || !IsWindowEnabled(h)) return {};
  std::vector<ShownItem> shown;
  g_user = {&shown, letter, GetTickCount(), 0};
  g_user.timer = SetTimer(nullptr, 0, 10, &Poll);
  if (how == MenuKey::RightClick) {
    RECT r{};
    GetClientRect(h, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, at);
    SendMessageW(h, WM_RBUTTONUP, 0, at);
  } else {
    SetFocus(h);
    if (how == MenuKey::MenuKey) {
      Key(h, WM_KEYDOWN, WM_KEYUP, VK_APPS);
    } else {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      const BYTE shift = keys[VK_SHIFT];
      keys[VK_SHIFT] = 0x80;
      SetKeyboardState(keys);
      // The release reaches the queue while the key is down, as it does
      // while a user's menu is open: the menu takes it. Released after the
      // menu, F10 alone would open the window's menu mode.
      PostMessageW(h, WM_SYSKEYUP, VK_F10, static_cast<LPARAM>(0xC0000001u));
      SendMessageW(h, WM_SYSKEYDOWN, VK_F10, 1);
      keys[VK_SHIFT] = shift;
      SetKeyboardState(keys);
    }
  }
  // Messages the keys posted (a menu asked for on key up) arrive now.
  app_.PumpMessages();
  KillTimer(nullptr, g_user.timer);
  g_user = {};
  app_.FlushViews();
  return shown;
}

}  // namespace tk::win32
