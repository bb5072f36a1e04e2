// The main window on Qt Widgets, shown on the test's display, with a user
// that drives it through Qt Test.
#pragma once

#include <QWidget>
#include <memory>

#include "../behaviour/harness.h"
#include "toolkit/linux/linux_platform.h"
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

  void SetProgramFolder(const std::string& folder) override { platform.SetProgramFolder(folder); }
  void SetClipboardText(const std::string& text) override;

  // The program's own platform: real files, real HTTP (tests talk only to a
  // server on 127.0.0.1 that they start themselves).
  tk::LinuxPlatform platform;
  tk::qt::QtApplication app{platform};
  std::unique_ptr<TForm1> form;
  tk::qt::QtDriver driver{app};
  QWidget* window = nullptr;
};

// Sets up the test program's QApplication on the offscreen display; returns
// what RUN_ALL_TESTS returns.
int RunQtTests(int argc, char** argv);
