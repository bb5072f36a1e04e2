// The conditions window opened from the bet list's menu, with the user's
// input arriving in the window's own loop.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "../support/temp_folder.h"
#include "app/filter_form.h"
#include "harness.h"
#include "toolkit/text.h"

using Step = std::function<void()>;

class FilterWindow : public Behaviour {
 protected:
  // The user's data (方案, draws) in a folder of the test's own.
  void SetUp() override {
    Behaviour::SetUp();
    H().SetProgramFolder(data_.Slashed());
  }
  void Restart() {
    Behaviour::Restart();
    H().SetProgramFolder(data_.Slashed());
  }
  const testsupport::TempFolder& Data() const { return data_; }

  TFormFilter& W() { return *Form().FormFilter; }
  tk::Control& D(std::string_view name) { return W().Find(name); }
  std::string Shown() { return W().lblFilterCount.Text(); }
  bool CanAct() { return W().btnFilterDelete.Enabled() && W().btnFilterToDel.Enabled(); }
  void Tap(std::string_view name) { User().Click(D(name)); }
  // Replaces an edit's text by typing, key by key.
  void Retype(std::string_view edit, std::string_view text) {
    tk::Control& e = D(edit);
    User().Select(e, 0, static_cast<int>(tk::CharCount(e.Text())));
    if (!e.Text().empty()) User().TypeChar(e, tk::kBackspace);
    User().Type(e, text);
  }

  // Opens the window from the bet list's menu and runs the steps as input
  // that arrives in the window's own loop; the last step must close it.
  void InWindow(const std::vector<Step>& steps) {
    bool done = false;
    User().Post([this] { Form().mniFilterClick(Form().mmoList); });
    for (const Step& s : steps) {
      User().Post([this, s] {
        if (Form().FormFilter == nullptr) {
          ADD_FAILURE() << "the conditions window is not open";
          return;
        }
        s();
      });
    }
    User().Post([&] {
      // Its loop may still hand out what was queued when it closed.
      if (Form().FormFilter != nullptr && !Form().FormFilter->Closed()) {
        ADD_FAILURE() << "the conditions window is still open";
        Form().FormFilter->Close();
      }
      done = true;
    });
    for (int i = 0; i < 100 && !done; ++i) H().App().PumpMessages();
    EXPECT_TRUE(done);
    EXPECT_EQ(Form().FormFilter, nullptr);
    EXPECT_TRUE(Rec().errors.empty()) << Rec().errors.front();
  }

 private:
  testsupport::TempFolder data_;
};
