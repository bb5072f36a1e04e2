// Shows the draws window on a sample history over the main window, after a
// 对奖 of every number, so that scripts/screenshot-draws.sh can photograph
// it. QELMAR3D_DRAWS_SAMPLE names the history; the ready file that
// QELMAR3D_SHOT_READY names receives the window's rectangle on the screen.
#include <string>

#include "app/draws_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "shot.h"
#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_driver.h"

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
  rec.dialogAnswers = {tk::win32::Narrow(shot::Env(L"QELMAR3D_DRAWS_SAMPLE"))};
  TForm1 form(app);
  tk::win32::Win32Driver user(app);
  app.Show(form);
  // Wine's first window of a session may paint before its surface reaches
  // the display: let it settle first.
  shot::PumpFor(app, 2000);
  user.Click(form.btnAll);
  user.Post([&] {
    TFormDraws& d = *form.FormDraws;
    user.Click(d.Find("btnImport"));
    user.Click(d.Find("btnCheck"));
    shot::PumpFor(app, 1000);
    shot::SayReady(tk::win32::HandleOf(d.Window()));
    shot::PumpFor(app, 5000);
    d.Close();
  });
  form.mniDrawsClick(form.mmoList);
  // The window is one of its own: the menu returns at once.
  while (form.FormDraws != nullptr) shot::PumpFor(app, 10);
  return rec.notices.empty() && rec.errors.empty() ? 0 : 1;
}
