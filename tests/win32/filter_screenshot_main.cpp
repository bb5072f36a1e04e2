// Shows the conditions window filled in over the main window, so that
// scripts/screenshot-filter.sh can photograph it; the ready file it names
// receives the window's rectangle on the screen.
#include <filesystem>
#include <string>

#include "../support/filter_shot_data.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "shot.h"
#include "toolkit/win32/win32_driver.h"

int main() {
  // A data folder with a kept draw and two 方案.
  const std::filesystem::path data = std::filesystem::temp_directory_path() / "qelmar3d-shot";
  testsupport::WriteFilterShotData(data);
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
    user.Choose(f.cboScheme, 1);  // 每日, after 周末
    user.Type(f.Find("edtPosH"), "12");
    user.Click(f.Find("chkPrime21"));
    user.Click(f.Find("chkPrime12"));
    user.Click(f.Find("chkRepeat1"));
    shot::PumpFor(app, 1000);
    shot::SayReady(tk::win32::HandleOf(f.Window()));
    shot::PumpFor(app, 5000);
    f.Close();
  });
  form.mniFilterClick(form.mmoList);
  std::error_code ec;
  std::filesystem::remove_all(data, ec);
  return 0;
}
