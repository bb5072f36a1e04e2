#include "app/plays_form.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/plays_table.h"
#include "core/bet.h"

namespace {

using plays::Needs;

unsigned Bit(int digit) {
  return 1u << digit;
}

}  // namespace

TFormPlays::TFormPlays(tk::Application& app, tk::History& history, const numbers::CountedList& bets)
    : tk::Form(app, app::PlaysFormSpec()),
      cboPlay(Get<tk::ComboBox>("cboPlay")),
      edtPlaysValues(Get<tk::Edit>("edtPlaysValues")),
      lblPlaysCount(Find("lblPlaysCount")),
      btnPlaysReplace(Find("btnPlaysReplace")),
      btnPlaysAdd(Find("btnPlaysAdd")),
      btnPlaysCancel(Find("btnPlaysCancel")),
      history_(history),
      bets_(bets) {
  using F = TFormPlays;
  static const std::map<std::string_view, void (F::*)(tk::Control&)> clicks = {
      {"PlayChanged", &F::PlayChanged},
      {"InputChanged", &F::InputChanged},
      {"btnPlaysReplaceClick", &F::btnPlaysReplaceClick},
      {"btnPlaysAddClick", &F::btnPlaysAddClick},
      {"btnPlaysCancelClick", &F::btnPlaysCancelClick},
  };
  Wire<F>(this, clicks, {}, nullptr);
  std::vector<std::string> names;
  for (const auto& p : plays::AllPlays()) names.emplace_back(p.name);
  cboPlay.SetItems(std::move(names));
  Restore({});
}

tk::CheckBox& TFormPlays::DigitBox(int row, int digit) const {
  return Get<tk::CheckBox>(app::PlaysDigitBox(row, digit));
}

void TFormPlays::Restore(const plays::Choice& choice) {
  restoring_ = true;
  choice_ = choice;
  cboPlay.SetSelected(static_cast<int>(choice.play));
  for (int d = 0; d < 10; ++d) {
    DigitBox(0, d).SetChecked((choice.digits & Bit(d)) != 0);
    DigitBox(1, d).SetChecked((choice.tuo & Bit(d)) != 0);
  }
  restoring_ = false;
  ShowPlay();
}

void TFormPlays::ReadInputs() {
  choice_.digits = 0;
  choice_.tuo = 0;
  for (int d = 0; d < 10; ++d) {
    if (DigitBox(0, d).Checked()) choice_.digits |= Bit(d);
    if (DigitBox(1, d).Checked()) choice_.tuo |= Bit(d);
  }
  switch (plays::InfoOf(choice_.play).needs) {
    case Needs::kSums:
      choice_.sums = edtPlaysValues.Text();
      break;
    case Needs::kSpans:
      choice_.spans = edtPlaysValues.Text();
      break;
    default:
      break;
  }
}

void TFormPlays::ShowPlay() {
  const plays::PlayInfo& info = plays::InfoOf(choice_.play);
  const bool values = info.needs == Needs::kSums || info.needs == Needs::kSpans;
  const bool danTuo = info.needs == Needs::kDanTuo;
  Find("lblPlayNote").SetText(info.note);
  Find("lblPlayNote").SetHint(info.note);
  Find("lblPlaysFirst").SetText(danTuo ? "胆码" : "号码");
  for (int d = 0; d < 10; ++d) {
    DigitBox(0, d).SetEnabled(!values);
    DigitBox(1, d).SetEnabled(danTuo);
  }
  Find("lblPlaysFirst").SetEnabled(!values);
  Find("lblPlaysTuo").SetEnabled(danTuo);
  Find("lblPlaysValues").SetEnabled(values);
  edtPlaysValues.SetEnabled(values);
  const bool sums = info.needs == Needs::kSums;
  Find("lblPlaysValues").SetText(info.needs == Needs::kSpans ? "跨度" : "和值");
  const std::string_view example =
      !values ? ""
      : sums  ? (info.group ? "1–26，如 13 或 10-14,18" : "0–27，如 13 或 10-14,18")
              : "0–9，如 5 或 0-2,5";
  Find("lblPlaysExample").SetText(example);
  edtPlaysValues.SetHint(example);
  // The edit shows the values of this kind; its change reads them back.
  const std::string& text = sums ? choice_.sums : choice_.spans;
  if (values && edtPlaysValues.Text() != text) {
    restoring_ = true;
    edtPlaysValues.SetText(text);
    restoring_ = false;
  }
  ShowCount();
}

void TFormPlays::ShowCount() {
  const auto count = plays::CountOf(choice_.play, plays::InputsOf(choice_));
  lblPlaysCount.SetText(count.Ok() ? core::CostText(count.value) : count.refusal);
}

void TFormPlays::PlayChanged(tk::Control&) {
  if (restoring_ || cboPlay.Selected() < 0) return;
  choice_.play = static_cast<plays::Play>(cboPlay.Selected());
  ShowPlay();
}

void TFormPlays::InputChanged(tk::Control&) {
  if (restoring_) return;
  ReadInputs();
  ShowCount();
}

void TFormPlays::btnPlaysReplaceClick(tk::Control&) {
  Put(true);
}

void TFormPlays::btnPlaysAddClick(tk::Control&) {
  Put(false);
}

void TFormPlays::btnPlaysCancelClick(tk::Control&) {
  Close();
}

void TFormPlays::Put(bool replace) {
  const auto made = plays::LinesOf(choice_.play, plays::InputsOf(choice_));
  if (!made.Ok()) {
    App().ShowNotice(made.refusal);
    return;
  }
  tk::ListControl& list = *bets_.list;
  auto placed = plays::Place(list.Lines(), numbers::BetTypeOf(history_.Tag(list)), made.value,
                             plays::InfoOf(choice_.play).group, replace);
  if (!placed.Ok()) {
    App().ShowNotice(placed.refusal);
    return;
  }
  {
    tk::History::Step step(history_, "按玩法生成", {&list});
    step.SetTag(list, numbers::TagOf(placed.value.type), true);
    list.ReplaceLines(std::move(placed.value.lines));
    numbers::ShowCount(bets_, list.LineCount());
  }
  Close();
  if (placed.value.skipped > 0) App().ShowNotice(plays::SkippedText(placed.value.skipped));
}

// ---- opened from the bet list's menu ----

void TForm1::mniPlaysClick(tk::Control&) {
  TFormPlays dialog(App(), ListHistory(), {&mmoList, &lblCount, true});
  dialog.Restore(PlaysChoice);
  // The choice stays however the window closes.
  struct RememberChoice {
    TForm1& form;
    TFormPlays& dialog;
    ~RememberChoice() {
      form.PlaysChoice = dialog.Chosen();
      form.FormPlays = nullptr;
    }
  } remember{*this, dialog};
  FormPlays = &dialog;
  App().ShowModal(dialog, *this);
}
