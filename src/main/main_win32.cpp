// Start-up of the Windows program.
#include <windows.h>

#include <exception>

#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/win32/win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tk::win32::Win32Platform platform;
  tk::win32::Win32Application app(platform);
  try {
    app.SetTitle(app::kTitle);
    TForm1 form(app);
    // Told once, before anything could be lost without a word.
    if (!platform.DataFolderNotice().empty()) app.ShowNotice(platform.DataFolderNotice());
    app.Run(form);
  } catch (const std::exception& e) {
    app.ShowError(e.what());
  } catch (...) {
    // Not one of the known error classes: the box shows an empty text.
    app.ShowError("");
  }
  return 0;
}
