// The behaviour suite on the in-memory backend.
#include "../behaviour/harness.h"
#include "app/main_table.h"
#include "toolkit/headless/headless.h"
#ifdef _WIN32
#include "toolkit/win32/win32.h"
#else
#include "toolkit/linux/linux_platform.h"
#endif

namespace {

// The tips and draws tests fetch from a loopback server: real HTTP where the platform
// has it.
void UseRealHttp(tk::headless::HeadlessPlatform& platform) {
#ifdef _WIN32
  static tk::win32::Win32Platform http;
#else
  static tk::LinuxPlatform http;
#endif
  platform.SetFetch([](const tk::HttpRequest& r) { return http.HttpGet(r); });
  platform.SetAnswer([](const tk::HttpRequest& r) { return http.HttpFetch(r); });
}

struct HeadlessHarness : Harness {
  tk::headless::HeadlessPlatform platform;
  tk::headless::HeadlessApplication app{platform};
  TForm1 form{app};
  tk::headless::HeadlessDriver driver{app};

  HeadlessHarness() {
    app.SetTitle(app::kTitle);
    rec.Attach(app);
    UseRealHttp(platform);
    platform.SetProgramFolder(home.Slashed());
  }
  void SetProgramFolder(const std::string& folder) override { platform.SetProgramFolder(folder); }
  void SetClipboardText(const std::string& text) override { app.clipboard = text; }
  void ReleaseWork() override { app.ReleaseWork(); }
  bool HoldsWork() const override { return true; }
  tk::Application& App() override { return app; }
  TForm1& Form() override { return form; }
  tk::UserDriver& User() override { return driver; }
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() {
  return std::make_unique<HeadlessHarness>();
}
