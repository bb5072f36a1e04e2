// The draws window opened from the main window's menu, with the user's
// input arriving in the window's own loop, and a data folder of its own.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "../support/temp_folder.h"
#include "app/draws_form.h"
#include "core/text.h"
#include "harness.h"

using Step = std::function<void()>;
// Opens the draws window of `h` as the menu does and runs the steps as input
// that arrives in the window's loop; the last step must close it. Each step
// posts the next when it ends, so that a step that waits for events (the
// window becoming active) never has the next run inside it.
inline void InDrawsWindow(Harness& h, const std::vector<Step>& steps) {
  TForm1& form = h.Form();
  bool done = false;
  std::function<void(std::size_t)> run = [&](std::size_t i) {
    if (i == steps.size()) {
      if (form.FormDraws != nullptr && !form.FormDraws->Closed()) {
        ADD_FAILURE() << "the draws window is still open";
        form.FormDraws->Close();
      }
      done = true;
      return;
    }
    if (form.FormDraws == nullptr) {
      ADD_FAILURE() << "the draws window is not open";
    } else {
      steps[i]();
    }
    h.User().Post([&run, i] { run(i + 1); });
  };
  h.User().Post([&] {
    form.mniDrawsClick(form.mmoList);
    h.User().Post([&run] { run(0); });
  });
  for (int i = 0; i < 100 + static_cast<int>(steps.size()) && !done; ++i) h.App().PumpMessages();
  EXPECT_TRUE(done);
  EXPECT_EQ(form.FormDraws, nullptr);
  EXPECT_TRUE(h.rec.errors.empty()) << h.rec.errors.front();
}

class DrawsWindow : public Behaviour {
 protected:
  void SetUp() override {
    Behaviour::SetUp();
    H().SetProgramFolder(folder.Slashed());
  }
  TFormDraws& W() { return *Form().FormDraws; }
  tk::Control& D(std::string_view name) { return W().Find(name); }
  void Tap(std::string_view name) { User().Click(D(name)); }
  void Retype(std::string_view edit, std::string_view text) {
    tk::Control& e = D(edit);
    User().Select(e, 0, static_cast<int>(core::CharCount(e.Text())));
    if (!e.Text().empty()) User().TypeChar(e, tk::kBackspace);
    User().Type(e, text);
  }
  std::string Path(const std::string& name) { return (folder.Path() / name).string(); }
  void InWindow(const std::vector<Step>& steps) { InDrawsWindow(H(), steps); }
  std::vector<std::string>& Notices() { return Rec().notices; }

  testsupport::TempFolder folder;
};
