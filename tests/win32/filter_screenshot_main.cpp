// Shows the conditions window filled in over the main window, so that
// scripts/screenshot-filter.sh can photograph it; the ready file it names
// receives the window's rectangle on the screen.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
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
  auto pumpFor = [&](int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      app.PumpMessages();
      app.FlushViews();
      Sleep(20);
    }
  };
  // Wine's first window of a session may paint before its surface reaches
  // the display: let it settle first.
  pumpFor(2000);
  user.Click(form.btnAll);
  user.Post([&] {
    TFormFilter& f = *form.FormFilter;
    user.Click(f.Find("chkSum"));
    user.Type(f.Find("edtSum"), "10-14,18");
    user.Click(f.Find("chkShape"));
    user.Click(f.Find("chkZu6"));
    user.Click(f.Find("chkDan"));
    user.Type(f.Find("edtDan"), "1");
    pumpFor(1000);
    wchar_t ready[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"QELMAR3D_SHOT_READY", ready, MAX_PATH) > 0) {
      RECT r{};
      GetWindowRect(tk::win32::HandleOf(f.Window()), &r);
      const std::string rect = std::to_string(r.right - r.left) + "x" +
                               std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) +
                               "+" + std::to_string(r.top) + "\n";
      HANDLE file = CreateFileW(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      WriteFile(file, rect.data(), static_cast<DWORD>(rect.size()), &written, nullptr);
      CloseHandle(file);
    }
    pumpFor(5000);
    f.Close();
  });
  form.mniFilterClick(form.mmoList);
  return 0;
}
