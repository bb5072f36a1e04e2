// One window of the program on some backend, with a user to drive it. The
// behaviour suite is written against this and runs unchanged on every backend.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../support/temp_folder.h"
#include "app/main_window.h"
#include "toolkit/testing/driver.h"

// A control as a real backend shows it, in pixels at 96 dpi.
struct Look {
  tk::Rect rect;  // relative to the parent's client area
  bool visible = false;
  std::int32_t textColor = 0;   // 0xRRGGBB as painted
  std::int32_t background = 0;  // 0xRRGGBB as painted
  int fontPixelHeight = 0;
  bool underline = false;
  bool handCursor = false;
  bool readOnly = false;
  // A list keeps its selection visible when it loses the focus.
  bool keepsSelection = false;
  std::string hint;  // the tooltip text shown on hover
};

struct Harness {
  virtual ~Harness() = default;
  virtual tk::Application& App() = 0;
  virtual TForm1& Form() = 0;
  virtual tk::UserDriver& User() = 0;

  // Backends with real widgets answer these; the headless one has no geometry.
  virtual std::optional<Look> LookOf(tk::Control& /*control*/) { return std::nullopt; }
  // Names of the controls in the order Tab visits them, from the first.
  virtual std::vector<std::string> TabChain() { return {}; }
  // Resizes the window so that its client area has this size, and lays it out.
  virtual void ResizeClient(int /*width*/, int /*height*/) {}
  // The window's client area size and its position on the screen.
  virtual std::optional<tk::Rect> WindowPlacement() { return std::nullopt; }
  // Where the program keeps its files (the tips cache). Every backend must
  // move it, so that test runs never share a cache file.
  virtual void SetProgramFolder(const std::string& /*folder*/) {
    ADD_FAILURE() << "this backend's harness cannot move the program folder";
  }

  // Puts text on the clipboard, as another program does.
  virtual void SetClipboardText(const std::string& /*text*/) {
    ADD_FAILURE() << "this backend's harness cannot fill the clipboard";
  }

  // Work the window hands off its thread (the tips fetch): the headless
  // backend holds it until this is called; the others run it on a worker.
  virtual void ReleaseWork() {}
  virtual bool HoldsWork() const { return false; }

  tk::Recorder rec;
  // The program's folder at first, and with it its data folder: no test
  // leaves kept lists behind or reads another's.
  testsupport::TempFolder home;
};

// Provided once per backend's test program.
std::unique_ptr<Harness> MakeHarness();

// The names Tab should visit in a window, from the first, read from its
// table: containers in their tab order and, inside each, its controls in
// theirs; enabled controls that take the focus, and of each group of options
// only the selected one.
std::vector<std::string> TableTabChain(const tk::Form& form);

class Behaviour : public ::testing::Test {
 protected:
  void SetUp() override { h_ = MakeHarness(); }
  void TearDown() override { h_.reset(); }

  TForm1& Form() { return h_->Form(); }
  tk::UserDriver& User() { return h_->User(); }
  tk::Recorder& Rec() { return h_->rec; }
  tk::Control& C(std::string_view name) { return Form().Find(name); }
  tk::ListControl& List(std::string_view name) { return Form().Get<tk::ListControl>(name); }
  tk::CheckBox& Box(std::string_view name) { return Form().Get<tk::CheckBox>(name); }

  void Click(std::string_view name) { User().Click(C(name)); }
  void Type(std::string_view name, std::string_view text) { User().Type(C(name), text); }
  void Paste(std::string_view name, std::string_view text) { User().Paste(C(name), text); }
  std::string Text(std::string_view name) { return C(name).Text(); }

  // Ticks the boxes of a row (0-5) for the digits of `digits`, in order.
  void Tick(int row, std::string_view digits);
  // Fills the three rows of a panel by ticking, then clicks its generate button.
  void Generate(bool betPanel, std::string_view h, std::string_view t, std::string_view u);
  // Puts lines into a list through the program's own add button.
  void AddNumbers(bool betList, const std::vector<std::string>& numbers);
  std::vector<std::string> Lines(std::string_view list);
  Harness& H() { return *h_; }
  // The program ends and starts again: a new application, window and user
  // (made by `make`, MakeHarness by default).
  void Restart(const std::function<std::unique_ptr<Harness>()>& make = MakeHarness) {
    h_.reset();
    h_ = make();
  }

 private:
  std::unique_ptr<Harness> h_;
};
