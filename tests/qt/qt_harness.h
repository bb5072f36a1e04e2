// The main window on Qt Widgets, shown on the test's display, with a user
// that drives it through Qt Test.
#pragma once

#include <QWidget>
#include <memory>

#include "../behaviour/harness.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

struct QtHarness : Harness {
  QtHarness();
  ~QtHarness() override;

  tk::Application& App() override { return app; }
  TForm1& Form() override { return *form; }
  tk::UserDriver& User() override { return driver; }

  std::optional<Look> LookOf(tk::Control& control) override;
  std::vector<std::string> TabChain() override;
  void ResizeClient(int width, int height) override;
  std::optional<tk::Rect> WindowPlacement() override;

  QWidget* Widget(std::string_view name) { return tk::qt::WidgetOf(form->Find(name)); }

  // Files and HTTP stay in memory: no test reaches the network.
  tk::headless::HeadlessPlatform platform;
  tk::qt::QtApplication app{platform};
  std::unique_ptr<TForm1> form;
  tk::qt::QtDriver driver{app};
  QWidget* window = nullptr;
};

// Sets up the test program's QApplication on the offscreen display; returns
// what RUN_ALL_TESTS returns.
int RunQtTests(int argc, char** argv);
