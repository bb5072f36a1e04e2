// Dialogs shown modal over their owner, with a nested message loop, and
// windows of their own beside it.
#include <windows.h>

#include "toolkit/placement.h"
#include "toolkit/win32/win32.h"
#include "toolkit/win32/win32_controls.h"

namespace tk::win32 {

namespace {

// The owner's outer rectangle, the frame a window adds to its client area
// (by its styles), and the work area of the owner's monitor.
struct Surroundings {
  Rect owner;
  Size frame;
  Rect work;
};

Surroundings Around(HWND window, HWND owner) {
  RECT of{};
  GetWindowRect(owner, &of);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  RECT a{};
  if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &mi)) {
    a = mi.rcWork;
  } else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &a, 0)) {
    a = of;
  }
  return {{of.left, of.top, of.right - of.left, of.bottom - of.top},
          {frame.right - frame.left, frame.bottom - frame.top},
          {a.left, a.top, a.right - a.left, a.bottom - a.top}};
}

}  // namespace

void Win32Application::RunModal(Form& dialog, Form& owner) {
  HWND d = HandleOf(dialog.Window());
  HWND o = HandleOf(owner.Window());
  // An owned window stays above its owner and has no taskbar button.
  SetWindowLongPtrW(d, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(o));
  // Centred on the owner, no larger than the work area.
  const Surroundings around = Around(d, o);
  const Size designed{dialog.Def().clientWidth, dialog.Def().clientHeight};
  const Rect placed =
      FitWindow(designed, designed, Dpi() / 96.0, around.frame, around.owner, around.work);
  SetWindowPos(d, nullptr, placed.left, placed.top, placed.width, placed.height,
               SWP_NOZORDER | SWP_NOACTIVATE);

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

void Win32Application::NativeOpenWindow(Form& window, Form& owner, Size client) {
  HWND h = HandleOf(window.Window());
  const Surroundings around = Around(h, HandleOf(owner.Window()));
  const FormSpec& f = window.Def();
  const Size least = f.minimum.width > 0 ? f.minimum : Size{f.clientWidth, f.clientHeight};
  const double scale = Dpi() / 96.0;
  const Rect smallest = FitWindow(least, least, scale, around.frame, around.owner, around.work);
  dynamic_cast<FormWindow&>(window.Window()).minTrack = {smallest.width, smallest.height};
  const Rect placed = FitWindow(client, least, scale, around.frame, around.owner, around.work);
  SetWindowPos(h, nullptr, placed.left, placed.top, placed.width, placed.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Show(window);
}

void Win32Application::NativeRaise(Form& window) {
  HWND h = HandleOf(window.Window());
  if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
  SetForegroundWindow(h);
}

Size Win32Application::ClientSize(const Form& form) const {
  HWND h = HandleOf(form.Window());
  RECT r{};
  if (IsIconic(h) || IsZoomed(h)) {
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    GetWindowPlacement(h, &p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)));
    r = {0, 0, (p.rcNormalPosition.right - p.rcNormalPosition.left) - (frame.right - frame.left),
         (p.rcNormalPosition.bottom - p.rcNormalPosition.top) - (frame.bottom - frame.top)};
  } else {
    GetClientRect(h, &r);
  }
  return {MulDiv(r.right, 96, dpi_), MulDiv(r.bottom, 96, dpi_)};
}

}  // namespace tk::win32
