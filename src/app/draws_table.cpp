#include "app/draws_table.h"

#include <utility>
#include <vector>

#include "app/tables.h"

namespace app {

namespace {

using tk::ControlSpec;
using tk::Kind;

ControlSpec Label(std::string_view name, tk::Rect rect, std::string_view text) {
  return Make(name, Kind::Label, "", rect, -1, text);
}

ControlSpec Button(std::string_view name, tk::Rect rect, int tab, std::string_view text,
                   std::string_view handler) {
  return Clickable(Make(name, Kind::Button, "", rect, tab, text), handler);
}

ControlSpec Input(std::string_view name, tk::Rect rect, int tab, int maxLength) {
  ControlSpec c = Make(name, Kind::Edit, "", rect, tab);
  c.maxLength = maxLength;
  c.showHint = true;
  return c;
}

constexpr std::pair<std::string_view, std::string_view> kEnterClicks[] = {
    {"edtIssue", "btnAddDraw"}, {"edtDate", "btnAddDraw"}, {"edtNumber", "btnAddDraw"},
    {"edtCheck", "btnCheck"},   {"edtDirect", "btnCheck"}, {"edtGroup3", "btnCheck"},
    {"edtGroup6", "btnCheck"},
};
// The chart takes what the window grows by: the top row's buttons keep to
// the right edge, the rows below the chart to the bottom, and the count,
// the result lines and the chart stretch.
void Anchor(std::vector<ControlSpec>& controls) {
  constexpr int kChartTop = 38;
  for (ControlSpec& s : controls) {
    const bool top = s.rect.top < kChartTop;
    const bool wide = s.name == "lblDrawCount" || s.name == "lblResult" || s.name == "lblWinners";
    unsigned a = top ? tk::kAnchorTop : tk::kAnchorBottom;
    if (s.name == "cnvChart") {
      a = tk::kAnchorLeft | tk::kAnchorTop | tk::kAnchorRight | tk::kAnchorBottom;
    } else if (wide) {
      a |= tk::kAnchorLeft | tk::kAnchorRight;
    } else if ((top && s.kind == Kind::Button) || s.name == "btnDrawsClose") {
      a |= tk::kAnchorRight;
    } else {
      a |= tk::kAnchorLeft;
    }
    s.anchors = a;
  }
}

std::vector<ControlSpec> BuildControls() {
  std::vector<ControlSpec> c;
  // The chart and how much of it.
  c.push_back(Label("lblShown", {8, 12, 28, 14}, "显示"));
  ControlSpec shown = Make("cboShown", Kind::ComboBox, "", {40, 6, 96, 25}, 0);
  shown.onChange = "cboShownChange";
  c.push_back(shown);
  ControlSpec count = Label("lblDrawCount", {148, 12, 312, 14}, "");
  count.color = tk::kBlue;
  c.push_back(count);
  c.push_back(Button("btnUpdate", {466, 6, 112, 25}, 2, "从网址更新(&U)…", "btnUpdateClick"));
  c.push_back(Button("btnImport", {584, 6, 120, 25}, 3, "从文本文件导入…", "btnImportClick"));
  // These two explain on hover what they take.
  ControlSpec paste = Button("btnPaste", {710, 6, 56, 25}, 4, "粘贴", "btnPasteClick");
  paste.showHint = true;
  c.push_back(paste);
  c.push_back(Button("btnSaveChart", {772, 6, 96, 25}, 5, "保存走势图…", "btnSaveChartClick"));
  ControlSpec remove = Button("btnDeleteDraw", {874, 6, 78, 25}, 6, "删除…", "btnDeleteDrawClick");
  remove.showHint = true;
  c.push_back(remove);
  ControlSpec chart = Make("cnvChart", Kind::Canvas, "", {8, 38, 944, 440}, 1);
  chart.onClick = "cnvChartClick";
  c.push_back(chart);

  // One draw by hand.
  c.push_back(Label("lblIssue", {8, 492, 56, 14}, "添加期号"));
  c.push_back(Input("edtIssue", {68, 488, 96, 22}, 7, 20));
  c.push_back(Label("lblDate", {174, 492, 28, 14}, "日期"));
  c.push_back(Input("edtDate", {206, 488, 100, 22}, 8, 20));
  c.push_back(Label("lblNumber", {316, 492, 28, 14}, "号码"));
  c.push_back(Input("edtNumber", {348, 488, 60, 22}, 9, 10));
  c.push_back(Button("btnAddDraw", {416, 486, 60, 25}, 10, "添加", "btnAddDrawClick"));

  // 对奖 and the prizes.
  c.push_back(Label("lblCheck", {8, 526, 56, 14}, "开奖号码"));
  ControlSpec check = Input("edtCheck", {68, 522, 60, 22}, 11, 10);
  check.onChange = "edtCheckChange";
  c.push_back(check);
  c.push_back(Button("btnCheck", {136, 520, 60, 25}, 12, "对奖", "btnCheckClick"));
  c.push_back(Label("lblPrizes", {220, 526, 98, 14}, "奖金（元）直选"));
  c.push_back(Input("edtDirect", {322, 522, 64, 22}, 13, 8));
  c.push_back(Label("lblGroup3", {396, 526, 28, 14}, "组三"));
  c.push_back(Input("edtGroup3", {428, 522, 64, 22}, 14, 8));
  c.push_back(Label("lblGroup6", {502, 526, 28, 14}, "组六"));
  c.push_back(Input("edtGroup6", {534, 522, 64, 22}, 15, 8));
  c.push_back(Button("btnDrawsClose", {874, 520, 78, 25}, 16, "关闭", "btnDrawsCloseClick"));
  ControlSpec result = Label("lblResult", {8, 556, 944, 14}, "");
  result.color = tk::kBlue;
  c.push_back(result);
  c.push_back(Label("lblWinners", {8, 576, 944, 14}, ""));
  // Enter in an edit runs what its row is for.
  for (ControlSpec& control : c) {
    for (const auto& [edit, button] : kEnterClicks) {
      if (control.name == edit) control.enterClicks = button;
    }
  }
  Anchor(c);
  return c;
}

}  // namespace

const tk::FormSpec& DrawsFormSpec() {
  static const std::vector<ControlSpec> controls = BuildControls();
  static const tk::FormSpec form = [] {
    tk::FormSpec f = MakeForm("FormDraws", kDrawsCaption, 960, 600, controls);
    f.minimum = kDrawsMinimum;
    return f;
  }();
  return form;
}

}  // namespace app
