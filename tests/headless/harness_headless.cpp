// The behaviour suite on the in-memory backend.
#include "../behaviour/harness.h"
#include "app/layout.h"
#include "toolkit/headless/headless.h"

namespace {

struct HeadlessHarness : Harness {
  tk::headless::HeadlessPlatform platform;
  tk::headless::HeadlessApplication app{platform};
  TForm1 form{app};
  tk::headless::HeadlessDriver driver{app};

  HeadlessHarness() {
    app.SetTitle(app::kTitle);
    rec.Attach(app);
  }
  tk::Application& App() override { return app; }
  TForm1& Form() override { return form; }
  tk::UserDriver& User() override { return driver; }
};

}  // namespace

std::unique_ptr<Harness> MakeHarness() {
  return std::make_unique<HeadlessHarness>();
}
