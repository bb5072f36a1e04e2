// The main window on the in-memory backend, with a user and a recorder of
// boxes and links: what tests, benchmarks and fuzz targets drive.
#pragma once

#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/headless/headless.h"
#include "toolkit/testing/driver.h"

namespace testsupport {

struct HeadlessWindow {
  tk::headless::HeadlessPlatform platform;
  tk::headless::HeadlessApplication app{platform};
  TForm1 form{app};
  tk::headless::HeadlessDriver user{app};
  tk::Recorder rec;

  HeadlessWindow() {
    app.SetTitle(app::kTitle);
    rec.Attach(app);
  }
};

}  // namespace testsupport
