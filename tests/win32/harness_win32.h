// The window on native Win32 controls, shown, with a user sending it the
// messages that Windows sends for clicks, keys and the close box.
#pragma once

#include <string>
#include "../behaviour/harness.h"

#include "toolkit/win32/win32_driver.h"

struct Win32Harness : Harness {
  explicit Win32Harness(int dpi = 0);

  tk::Application& App() override { return app; }
  TForm1& Form() override { return form; }
  tk::UserDriver& User() override { return driver; }
  std::optional<Look> LookOf(tk::Control& control) override;
  std::vector<std::string> TabChain() override;
  void ResizeClient(int width, int height) override;
  std::optional<tk::Rect> WindowPlacement() override;
  void SetProgramFolder(const std::string& folder) override { platform.SetProgramFolder(folder); }
  void SetClipboardText(const std::string& text) override;

  HWND Window() { return tk::win32::HandleOf(form.Window()); }

  tk::win32::Win32Platform platform;
  // The 15-second ticks stay away: tests fire the timer themselves.
  tk::win32::Win32Application app;
  TForm1 form{app};
  tk::win32::Win32Driver driver{app};
};

// The pixels a text takes on one line in `font`: its measure, or further
// where a glyph inks beyond it. Tooltips and message boxes size a text by its
// measure and clip the rest, so ink beyond it is a character lost.
int DrawnWidth(HFONT font, const std::string& text);
