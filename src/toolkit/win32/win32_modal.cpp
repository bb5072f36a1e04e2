// Dialogs shown modal over their owner, with a nested message loop.
#include <windows.h>

#include "toolkit/placement.h"
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
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  const RECT a =
      GetMonitorInfoW(MonitorFromWindow(o, MONITOR_DEFAULTTONEAREST), &mi) ? mi.rcWork : of;
  const Rect placed = CentreOn({of.left, of.top, of.right - of.left, of.bottom - of.top},
                               {df.right - df.left, df.bottom - df.top},
                               {a.left, a.top, a.right - a.left, a.bottom - a.top});
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
