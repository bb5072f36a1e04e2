#include "app/backtest_table.h"

#include <vector>

#include "app/tables.h"

namespace app {

namespace {

using tk::ControlSpec;
using tk::Kind;

constexpr int kWidth = 800;
constexpr int kHeight = 540;

std::vector<ControlSpec> BuildControls() {
  std::vector<ControlSpec> c;
  // The conditions judged, whole in the hint when the line cuts them.
  ControlSpec conditions = Make("lblBacktestConditions", Kind::Label, "", {8, 10, kWidth - 16, 14});
  conditions.showHint = true;
  c.push_back(conditions);
  c.push_back(Make("lblBacktestShown", Kind::Label, "", {8, 38, 28, 14}, -1, "显示"));
  ControlSpec shown = Make("cboBacktestShown", Kind::ComboBox, "", {40, 32, 96, 25}, 0);
  shown.onChange = "cboBacktestShownChange";
  c.push_back(shown);
  c.push_back(
      Clickable(Make("btnBacktestSave", Kind::Button, "", {604, 32, 104, 25}, 2, "保存为文本…"),
                "btnBacktestSaveClick"));
  c.push_back(Clickable(Make("btnBacktestClose", Kind::Button, "", {714, 32, 78, 25}, 3, "关闭"),
                        "btnBacktestCloseClick"));
  ControlSpec summary = Make("lblBacktestSummary", Kind::Label, "", {8, 66, kWidth - 16, 14});
  summary.color = tk::kBlue;
  c.push_back(summary);
  c.push_back(Make("cnvBacktest", Kind::Canvas, "", {8, 88, kWidth - 16, kHeight - 96}, 1));
  return c;
}

}  // namespace

const tk::FormSpec& BacktestFormSpec() {
  static const std::vector<ControlSpec> controls = BuildControls();
  static const tk::FormSpec form = [] {
    tk::FormSpec f = MakeForm("FormBacktest", kBacktestCaption, kWidth, kHeight, controls);
    f.dialog = true;
    return f;
  }();
  return form;
}

}  // namespace app
