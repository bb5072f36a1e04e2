// Shows the draws window on a sample history over the main window, after a
// 对奖 of every number, so that scripts/screenshot-draws.sh can photograph
// it. QELMAR3D_DRAWS_SAMPLE names the history; the ready file that
// QELMAR3D_SHOT_READY names receives the window's rectangle on the screen.
#include <chrono>
#include <string>

#include "app/draws_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_driver.h"

namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

}  // namespace

int main() {
  tk::win32::Win32Platform platform;
  // draws.txt goes to a folder of its own, not beside the program.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring data = std::wstring(temp) + L"qelmar3d-draws-shot\\";
  CreateDirectoryW(data.c_str(), nullptr);
  DeleteFileW((data + L"draws.txt").c_str());
  platform.SetProgramFolder(tk::win32::Narrow(data));
  tk::win32::Win32Application app(platform, {.dpi = 0, .nativeTimers = false});
  app.SetTitle(app::kTitle);
  tk::Recorder rec;
  rec.Attach(app);
  rec.dialogAnswers = {tk::win32::Narrow(Env(L"QELMAR3D_DRAWS_SAMPLE"))};
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
    TFormDraws& d = *form.FormDraws;
    user.Click(d.Find("btnImport"));
    user.Click(d.Find("btnCheck"));
    pumpFor(1000);
    const std::wstring ready = Env(L"QELMAR3D_SHOT_READY");
    if (!ready.empty()) {
      RECT r{};
      GetWindowRect(tk::win32::HandleOf(d.Window()), &r);
      const std::string rect = std::to_string(r.right - r.left) + "x" +
                               std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) +
                               "+" + std::to_string(r.top) + "\n";
      HANDLE file =
          CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      WriteFile(file, rect.data(), static_cast<DWORD>(rect.size()), &written, nullptr);
      CloseHandle(file);
    }
    pumpFor(5000);
    d.Close();
  });
  form.mniDrawsClick(form.mmoList);
  return rec.notices.empty() && rec.errors.empty() ? 0 : 1;
}
