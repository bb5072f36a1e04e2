#include "app/filter_form.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/filter_layout.h"

namespace {

constexpr std::string_view kRatioNames[2][4] = {
    {"chkOdd30", "chkOdd21", "chkOdd12", "chkOdd03"},
    {"chkBig30", "chkBig21", "chkBig12", "chkBig03"},
};

}  // namespace

TFormFilter::TFormFilter(tk::Application& app, const numbers::CountedList& bets,
                         const numbers::CountedList& deletions)
    : tk::Form(app, app::FilterFormSpec()),
      lblFilterCount(Find("lblFilterCount")),
      btnFilterDelete(Find("btnFilterDelete")),
      btnFilterToDel(Find("btnFilterToDel")),
      btnFilterCancel(Find("btnFilterCancel")),
      bets_(bets),
      deletions_(deletions) {
  using F = TFormFilter;
  static const std::map<std::string_view, void (F::*)(tk::Control&)> clicks = {
      {"SettingChanged", &F::SettingChanged},
      {"btnFilterDeleteClick", &F::btnFilterDeleteClick},
      {"btnFilterToDelClick", &F::btnFilterToDelClick},
      {"btnFilterCancelClick", &F::btnFilterCancelClick},
  };
  Wire<F>(this, clicks, {}, nullptr);
  Find("edtSum").SetHint("和值 0–27，如 10-14,18");
  Find("edtSpan").SetHint("跨度 0–9，如 0-2,5");
  Find("edtTail").SetHint("和尾 0–9，如 0-2,5");
  Find("edtRoad").SetHint("除 3 余 0、1、2 的数字各几个，如 1:1:1,2:1:0");
  Find("edtDan").SetHint("必须出现的数字，如 1,5");
  Find("edtKill").SetHint("不能出现的数字，如 4,7");
  Restore({});
}

namespace {

// Every setting with the control that shows it, in the window's order: one
// list serves reading the window and restoring it. `box` gets a check box's
// name, `text` an edit's, `option` the pair of options of which the first is
// selected when the setting is true.
template <class S, class Box, class Text, class Option>
void EachSetting(S& s, Box box, Text text, Option option) {
  box("chkSum", s.sum);
  text("edtSum", s.sumText);
  box("chkSpan", s.span);
  text("edtSpan", s.spanText);
  box("chkTail", s.tail);
  text("edtTail", s.tailText);
  box("chkShape", s.shape);
  box("chkBaozi", s.baozi);
  box("chkZu3", s.zu3);
  box("chkZu6", s.zu6);
  box("chkOdd", s.odd);
  box("chkBig", s.big);
  for (std::size_t i = 0; i < 4; ++i) {
    box(kRatioNames[0][i], s.oddRatios[i]);
    box(kRatioNames[1][i], s.bigRatios[i]);
  }
  box("chkRoad", s.road);
  text("edtRoad", s.roadText);
  box("chkDan", s.dan);
  text("edtDan", s.danText);
  option("rdoDanAll", "rdoDanAny", s.danAll);
  box("chkKill", s.kill);
  text("edtKill", s.killText);
  option("rdoDrop", "rdoKeep", s.dropMatching);
}

}  // namespace

numbers::FilterSettings TFormFilter::Settings() const {
  numbers::FilterSettings s;
  EachSetting(
      s, [&](std::string_view name, bool& on) { on = Box(name); },
      [&](std::string_view name, std::string& text) { text = Find(name).Text(); },
      [&](std::string_view first, std::string_view, bool& on) { on = Box(first); });
  return s;
}

void TFormFilter::Restore(const numbers::FilterSettings& settings) {
  restoring_ = true;
  numbers::FilterSettings s = settings;
  const auto box = [&](std::string_view name, bool on) { Get<tk::CheckBox>(name).SetChecked(on); };
  EachSetting(
      s, box, [&](std::string_view name, const std::string& text) { Find(name).SetText(text); },
      [&](std::string_view first, std::string_view second, bool on) {
        box(on ? first : second, true);
      });
  restoring_ = false;
  Recount();
}

void TFormFilter::SettingChanged(tk::Control&) {
  if (!restoring_) Recount();
}

void TFormFilter::Recount() {
  const numbers::CompiledFilter filter = numbers::CompileFilter(Settings());
  bool act = false;
  if (!filter.error.empty()) {
    lblFilterCount.SetText(filter.error);
  } else {
    const numbers::FilterCounts n =
        numbers::CountFilter(bets_.list->Lines(), filter, Box("rdoDrop"));
    lblFilterCount.SetText(numbers::FilterCountText(n.lines, n.meeting, n.going));
    act = n.going > 0;
  }
  btnFilterDelete.SetEnabled(act);
  btnFilterToDel.SetEnabled(act);
}

std::vector<bool> TFormFilter::Going() {
  return numbers::LinesThatGo(bets_.list->Lines(), numbers::CompileFilter(Settings()),
                              Box("rdoDrop"));
}

void TFormFilter::btnFilterDeleteClick(tk::Control&) {
  const std::vector<bool> going = Going();
  const std::vector<std::string>& lines = bets_.list->Lines();
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!going[i]) kept.push_back(lines[i]);
  }
  if (kept.size() == lines.size()) return;  // the buttons are off then; nothing to do
  bets_.list->ReplaceLines(std::move(kept));
  numbers::ShowCount(bets_, bets_.list->LineCount());
  Close();
}

void TFormFilter::btnFilterToDelClick(tk::Control&) {
  const std::vector<bool> going = Going();
  const std::vector<std::string>& lines = bets_.list->Lines();
  std::vector<std::string> gone;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (going[i]) gone.push_back(lines[i]);
  }
  if (gone.empty()) return;
  deletions_.list->ReplaceLines(std::move(gone));
  numbers::ShowCount(deletions_, deletions_.list->LineCount());
  Close();
}

void TFormFilter::btnFilterCancelClick(tk::Control&) {
  Close();
}
