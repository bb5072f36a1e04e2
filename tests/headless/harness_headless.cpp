// The behaviour suite on the in-memory backend.
#include "../behaviour/harness.h"
#include "app/layout.h"
#include "toolkit/headless/headless.h"
#ifndef _WIN32
#include "toolkit/linux/linux_platform.h"
#endif

namespace {

// The tips tests fetch from a loopback server: real HTTP where the platform
// has it.
void UseRealHttp(tk::headless::HeadlessPlatform& platform) {
#ifndef _WIN32
  static tk::LinuxPlatform http;
  platform.SetFetch([](const tk::HttpRequest& r) { return http.HttpGet(r); });
#else
  (void)platform;
#endif
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
  }
  void SetProgramFolder(const std::string& folder) override { platform.SetProgramFolder(folder); }
  tk::Application& App() override { return app; }
  TForm1& Form() override { return form; }
  tk::UserDriver& User() override { return driver; }
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() {
  return std::make_unique<HeadlessHarness>();
}
