// Dialogs shown modal over their owner, with a nested message loop.
#include <windows.h>

#include "toolkit/win32/win32.h"

namespace tk::win32 {

void Win32Application::RunModal(Form& dialog, Form& owner) {
  HWND d = HandleOf(dialog.Window());
  HWND o = HandleOf(owner.Window());
  // An owned window stays above its owner and has no taskbar button.
  SetWindowLongPtrW(d, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(o));
  RECT of{};
  RECT df{};
  GetWindowRect(o, &of);
  GetWindowRect(d, &df);
  const int width = df.right - df.left;
  const int height = df.bottom - df.top;
  Rect placed{of.left + (of.right - of.left - width) / 2,
              of.top + (of.bottom - of.top - height) / 2, width, height};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromWindow(o, MONITOR_DEFAULTTONEAREST), &mi)) {
    const RECT& a = mi.rcWork;
    placed = FitOnScreen(placed, {a.left, a.top, a.right - a.left, a.bottom - a.top});
  }
  SetWindowPos(d, nullptr, placed.left, placed.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  EnableWindow(o, FALSE);
  Show(dialog);
  MSG msg;
  bool quit = false;
  while (!dialog.Closed() && !quit) {
    while (!dialog.Closed() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
        quit = true;
        break;
      }
      Dispatch(msg);
    }
    if (dialog.Closed() || quit || RunNextAction()) continue;
    FlushViews();  // what the user sees is current before the loop waits
    WaitMessage();
  }
  EnableWindow(o, TRUE);
  if (!dialog.Closed()) dialog.RequestClose();
  ShowWindow(d, SW_HIDE);
  SetActiveWindow(o);
  FlushViews();
}

}  // namespace tk::win32
