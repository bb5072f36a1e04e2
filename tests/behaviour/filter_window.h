// The conditions window opened from the bet list's menu, with the user's
// input arriving in the window's own loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../support/temp_folder.h"
#include "app/filter_form.h"
#include "core/text.h"
#include "harness.h"
#include "toolkit/ask_text.h"

using Step = std::function<void()>;

// Steps that post one another: a step queues the next when it is done, or,
// when it opens a dialog (`opens`), before it acts, so that the next one
// arrives in the dialog's loop. Nothing else waits in the queue meanwhile:
// a dialog's loop runs the steps meant for it and ends when it closes.
struct Chain {
  tk::UserDriver* user = nullptr;
  std::vector<Step> steps;
  std::vector<bool> opens;
  bool done = false;
};

inline void Link(const std::shared_ptr<Chain>& chain, std::size_t i) {
  if (i >= chain->steps.size()) return;
  chain->user->Post([chain, i] {
    if (chain->opens[i]) Link(chain, i + 1);
    chain->steps[i]();
    if (!chain->opens[i]) Link(chain, i + 1);
  });
}

// The name dialog of 保存方案…, answered as a user would.
inline void Answer(tk::UserDriver& user, std::string_view name) {
  tk::Form* dialog = tk::ShownTextDialog();
  ASSERT_NE(dialog, nullptr) << "no name dialog";
  tk::Control& edit = dialog->Find(tk::kAskTextEdit);
  user.Select(edit, 0, static_cast<int>(core::CharCount(edit.Text())));
  if (!edit.Text().empty()) user.TypeChar(edit, tk::kBackspace);
  user.Type(edit, name);
  user.Click(dialog->Find(tk::kAskTextOk));
}

inline void Cancel(tk::UserDriver& user) {
  tk::Form* dialog = tk::ShownTextDialog();
  ASSERT_NE(dialog, nullptr) << "no name dialog";
  user.Click(dialog->Find(tk::kAskTextCancel));
}

class FilterWindow : public Behaviour {
 protected:
  // The user's data (方案, draws) in a folder of the test's own.
  void SetUp() override {
    Behaviour::SetUp();
    H().SetProgramFolder(data_.Slashed());
  }
  void Restart(const std::function<std::unique_ptr<Harness>()>& make = MakeHarness) {
    Behaviour::Restart(make);
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
    User().Select(e, 0, static_cast<int>(core::CharCount(e.Text())));
    if (!e.Text().empty()) User().TypeChar(e, tk::kBackspace);
    User().Type(e, text);
  }

  // Every condition ticked with long inputs: the widest summary and count.
  void FillEveryCondition() {
    for (std::string_view name :
         {"chkBaozi",   "chkZu3",     "chkZu6",     "chkOdd30",   "chkOdd21",   "chkOdd12",
          "chkOdd03",   "chkBig30",   "chkBig21",   "chkBig12",   "chkBig03",   "chkPrime30",
          "chkPrime21", "chkPrime12", "chkPrime03", "chkRunFull", "chkRunHalf", "chkRunNone",
          "chkRepeat0", "chkRepeat1", "chkRepeat2", "chkRepeat3"}) {
      if (!W().Get<tk::CheckBox>(name).Checked()) Tap(name);
    }
    for (auto [edit, text] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
             {"edtSum", "0,2,4,6,8,10,12,14,16,18,20,22,24,26"},
             {"edtSpan", "0,2,4,6,8"},
             {"edtTail", "1,3,5,7,9"},
             {"edtRoad", "1:1:1,2:1:0,0:1:2"},
             {"edtDan", "1,3,5"},
             {"edtKill", "0,8"},
             {"edtPosH", "1357"},
             {"edtPosT", "2468"},
             {"edtPosU", "0369"},
             {"edtPair", "12 35 79 08"},
             {"edtPairSum", "0,3,6,9"},
             {"edtPairDiff", "1,3,5,7"},
             {"edtDzx", "1:1:1,0:2:1"},
             {"edtTolerance", "2"}}) {
      Retype(edit, text);
    }
  }

  // Opens the window from the bet list's menu and runs the steps as input
  // that arrives in the window's own loop; the last step must close it.
  void InWindow(const std::vector<Step>& steps) {
    auto chain = std::make_shared<Chain>();
    chain->user = &User();
    chain->steps.push_back([this] { Form().mniFilterClick(Form().mmoList); });
    chain->opens.push_back(true);
    for (const Step& s : steps) {
      chain->steps.push_back([this, s] {
        if (Form().FormFilter == nullptr) {
          ADD_FAILURE() << "the conditions window is not open";
          return;
        }
        s();
      });
      chain->opens.push_back(false);
    }
    // Weakly: the chain holds its steps, a step holding the chain would keep both.
    chain->steps.push_back([this, weak = std::weak_ptr<Chain>(chain)] {
      // Its loop may still hand out what was queued when it closed.
      if (Form().FormFilter != nullptr && !Form().FormFilter->Closed()) {
        ADD_FAILURE() << "the conditions window is still open";
        Form().FormFilter->Close();
      }
      if (const auto c = weak.lock()) c->done = true;
    });
    chain->opens.push_back(false);
    Link(chain, 0);
    for (int i = 0; i < 100 && !chain->done; ++i) H().App().PumpMessages();
    EXPECT_TRUE(chain->done);
    EXPECT_EQ(Form().FormFilter, nullptr);
    EXPECT_TRUE(Rec().errors.empty()) << Rec().errors.front();
  }

  // Does what opens dialogs one after another (a name, a notice, the name
  // again, ...), and answers each in its turn.
  void Answering(const std::vector<Step>& answers, const Step& act) {
    auto chain = std::make_shared<Chain>();
    chain->user = &User();
    chain->steps = answers;
    chain->opens.assign(answers.size(), true);
    Link(chain, 0);
    act();
  }
  void TapAnswering(std::string_view button, const std::vector<Step>& answers) {
    Answering(answers, [&] { Tap(button); });
  }

 private:
  testsupport::TempFolder data_;
};
