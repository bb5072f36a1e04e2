// Shows the plays window, a 胆拖 play chosen over a small bet list, so that
// scripts/screenshot-plays.sh can photograph it; the ready file it names
// receives the window's rectangle on the screen.
#include <string>

#include "../support/plays_shot.h"
#include "app/main_table.h"
#include "core/bet.h"
#include "shot.h"
#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_driver.h"

int main() {
  tk::win32::Win32Platform platform;
  // The lists kept at the end go to a folder of their own, not beside the program.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring data = std::wstring(temp) + L"qelmar3d-plays-shot\\";
  CreateDirectoryW(data.c_str(), nullptr);
  platform.SetProgramFolder(tk::win32::Narrow(data));
  tk::win32::Win32Application app(platform, {.dpi = 0, .nativeTimers = false});
  app.SetTitle(app::kTitle);
  tk::Recorder rec;
  rec.Attach(app);
  TForm1 form(app);
  tk::win32::Win32Driver user(app);
  app.Show(form);
  // Wine's first window of a session may paint before its surface reaches
  // the display: let it settle first.
  shot::PumpFor(app, 2000);
  testsupport::FillShotBets(user, form);
  bool counted = false;
  user.Post([&] {
    TFormPlays& p = *form.FormPlays;
    testsupport::ChooseShotPlay(user, p);
    counted = p.lblPlaysCount.Text() == core::CostText(6);
    shot::PumpFor(app, 1000);
    shot::SayReady(tk::win32::HandleOf(p.Window()));
    shot::PumpFor(app, 5000);
    p.Close();
  });
  form.mniPlaysClick(form.mmoList);
  return counted && rec.notices.empty() ? 0 : 1;
}
