// Shows the 历史验证 window over the sample history, opened from the
// conditions window, so that scripts/screenshot-dialog.sh can photograph it.
// QELMAR3D_DRAWS_SAMPLE names the history; the ready file that
// QELMAR3D_SHOT_READY names receives the window's rectangle on the screen.
#include <filesystem>
#include <string>

#include "../support/backtest_shot.h"
#include "app/backtest_form.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "shot.h"
#include "toolkit/win32/win32_driver.h"

int main() {
  const std::filesystem::path data =
      std::filesystem::temp_directory_path() / "qelmar3d-backtest-shot";
  if (!testsupport::WriteBacktestShotDraws(data, shot::Env(L"QELMAR3D_DRAWS_SAMPLE"))) return 1;
  const std::u8string folder = (data / "").u8string();

  tk::win32::Win32Platform platform;
  platform.SetProgramFolder(std::string(folder.begin(), folder.end()));
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
  user.Click(form.btnAll);
  user.Post([&] {
    TFormFilter& f = *form.FormFilter;
    testsupport::FillBacktestConditions(user, f);
    user.Post([&] {
      TFormBacktest& b = *f.FormBacktest;
      shot::PumpFor(app, 1000);
      shot::SayReady(tk::win32::HandleOf(b.Window()));
      shot::PumpFor(app, 5000);
      b.Close();
    });
    user.Click(f.btnFilterBacktest);
    f.Close();
  });
  form.mniFilterClick(form.mmoList);
  std::error_code ec;
  std::filesystem::remove_all(data, ec);
  return rec.notices.empty() && rec.errors.empty() ? 0 : 1;
}
