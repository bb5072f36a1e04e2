// Shows the conditions window filled in over the main window, so that
// scripts/screenshot-filter.sh can photograph it; the ready file it names
// receives the window's rectangle on the screen.
#include <filesystem>
#include <fstream>
#include <string>

#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "numbers/draws.h"
#include "numbers/scheme.h"
#include "shot.h"
#include "toolkit/win32/win32_driver.h"

namespace {

std::filesystem::path U8(std::string_view utf8) {
  return std::u8string(utf8.begin(), utf8.end());
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

int main() {
  // A data folder with a kept draw and two 方案.
  const std::filesystem::path data = std::filesystem::temp_directory_path() / "qelmar3d-shot";
  const std::filesystem::path schemes = data / U8(kSchemeFolderName);
  std::filesystem::create_directories(schemes);
  numbers::FilterSettings daily;
  daily.sum = true;
  daily.sumText = "10-14,18";
  daily.shape = true;
  daily.zu6 = true;
  daily.kill = true;
  daily.killText = "4";
  daily.toleranceText = "1";
  Write(schemes / U8("每日.txt"), numbers::SchemeBytes(daily));
  Write(schemes / U8("周末.txt"), numbers::SchemeBytes({}));
  Write(data / U8(numbers::kDrawsFileName),
        numbers::DrawsFileBytes({{2024100, 7, "2024-04-10", 357}}));
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
