// Shows the window as a user has filled it, for a few seconds, so that
// scripts/screenshot-windows.sh can photograph it.

#include "app/main_table.h"
#include "app/main_window.h"
#include "shot.h"
#include "toolkit/win32/win32_driver.h"

int main() {
  tk::win32::Win32Platform platform;
  tk::win32::Win32Application app(platform, {.dpi = 0, .nativeTimers = false});
  app.SetTitle(app::kTitle);
  tk::Recorder rec;
  rec.Attach(app);
  TForm1 form(app);
  tk::win32::Win32Driver user(app);
  app.Show(form);
  // Wine's first window of a session may paint before its surface reaches
  // the display: let it settle before filling it in.
  shot::PumpFor(app, 2000);
  auto tick = [&](int row, const char* digits) {
    for (const char* d = digits; *d != 0; ++d) {
      user.Click(*form.Row(row).boxes[static_cast<std::size_t>(*d - '0')]);
    }
  };
  tick(0, "135");
  tick(1, "2468");
  tick(2, "079");
  user.Click(form.btnGet);
  tick(3, "1");
  tick(4, "2");
  tick(5, "09");
  user.Click(form.btnSel);
  user.Paste(form.edtNum, "5");
  form.lblTips.SetCaption("温馨提示：理性投注，量力而行 >>");
  form.lblTips.SetHint("温馨提示：理性投注，量力而行");
  user.Click(form.btnDelete);
  // Painted: tell the photographer (a file named by the script), then stay.
  shot::PumpFor(app, 1000);
  const bool haveReady = !shot::Env(L"QELMAR3D_SHOT_READY").empty();
  static HWND window = nullptr;
  window = tk::win32::HandleOf(form.Window());
  if (GetEnvironmentVariableW(L"QELMAR3D_SHOT_MENU", nullptr, 0) > 0) {
    // mmoList's menu, opened by a right click; the menu's own loop runs the
    // timer that tells the photographer and, later, closes the menu.
    user.Select(form.mmoList, 5, 8);
    static int ticks = 0;
    static bool tell = false;
    tell = haveReady;
    SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR id, DWORD) {
      ++ticks;
      if (ticks == 2 && tell) shot::SayReady(window);
      if (ticks == 12) {
        KillTimer(nullptr, id);
        if (HWND menu = FindWindowW(L"#32768", nullptr))
          PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
      }
    });
    HWND list = tk::win32::HandleOf(form.mmoList);
    POINT at{60, 60};
    ClientToScreen(list, &at);
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    return 0;
  }
  shot::SayReady(window);
  shot::PumpFor(app, 5000);
  return 0;
}
