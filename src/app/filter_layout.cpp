#include "app/filter_layout.h"

#include <vector>

#include "app/specs.h"

namespace app {

namespace {

using tk::ControlSpec;
using tk::Kind;

constexpr std::string_view kGroup = "grpFilter";
constexpr std::string_view kMode = "grpMode";
// Every row of conditions: the box at the left, its inputs from kInputLeft.
constexpr int kRowTop = 22;
constexpr int kRowStep = 28;
constexpr int kInputLeft = 96;
constexpr int kInputWidth = 336;

int RowTop(int row) {
  return kRowTop + kRowStep * row;
}

// A row of this window: every box, option and keystroke recounts.
ControlSpec Row(std::string_view name, Kind kind, std::string_view parent, tk::Rect rect, int tab,
                std::string_view text = {}) {
  ControlSpec c = Make(name, kind, parent, rect, tab, text);
  if (kind == Kind::CheckBox || kind == Kind::Radio) c.onClick = "SettingChanged";
  if (kind == Kind::Edit) {
    c.onChange = "SettingChanged";
    c.showHint = true;
    c.maxLength = 200;
  }
  return c;
}

ControlSpec Button(std::string_view name, tk::Rect rect, int tab, std::string_view text,
                   std::string_view handler) {
  return Clickable(Make(name, Kind::Button, "", rect, tab, text), handler);
}

// A condition's box; `tab` is its place in the group, its inputs follow.
ControlSpec Condition(std::string_view name, int row, int tab, std::string_view text) {
  return Row(name, Kind::CheckBox, kGroup, {12, RowTop(row), 80, 17}, tab, text);
}

ControlSpec Input(std::string_view name, int row, int tab, int width = kInputWidth) {
  return Row(name, Kind::Edit, kGroup, {kInputLeft, RowTop(row) - 3, width, 22}, tab);
}

// Boxes that stand in a row after the condition's own box.
void Choices(std::vector<ControlSpec>& out, int row, int firstTab, int width,
             std::initializer_list<std::pair<std::string_view, std::string_view>> boxes) {
  int left = kInputLeft;
  int tab = firstTab;
  for (const auto& [name, text] : boxes) {
    out.push_back(Row(name, Kind::CheckBox, kGroup, {left, RowTop(row), width, 17}, tab++, text));
    left += width + 8;
  }
}

std::vector<ControlSpec> BuildControls() {
  std::vector<ControlSpec> c;
  c.push_back(Row(kGroup, Kind::GroupBox, "", {8, 6, 444, 280}, 0, "过滤条件"));
  c.push_back(Condition("chkSum", 0, 0, "和值"));
  c.push_back(Input("edtSum", 0, 1));
  c.push_back(Condition("chkSpan", 1, 2, "跨度"));
  c.push_back(Input("edtSpan", 1, 3));
  c.push_back(Condition("chkTail", 2, 4, "和尾"));
  c.push_back(Input("edtTail", 2, 5));
  c.push_back(Condition("chkShape", 3, 6, "形态"));
  Choices(c, 3, 7, 60, {{"chkBaozi", "豹子"}, {"chkZu3", "组三"}, {"chkZu6", "组六"}});
  c.push_back(Condition("chkOdd", 4, 10, "奇偶比"));
  Choices(c, 4, 11, 52,
          {{"chkOdd30", "3:0"}, {"chkOdd21", "2:1"}, {"chkOdd12", "1:2"}, {"chkOdd03", "0:3"}});
  c.push_back(Condition("chkBig", 5, 15, "大小比"));
  Choices(c, 5, 16, 52,
          {{"chkBig30", "3:0"}, {"chkBig21", "2:1"}, {"chkBig12", "1:2"}, {"chkBig03", "0:3"}});
  c.push_back(Condition("chkRoad", 6, 20, "012路比"));
  c.push_back(Input("edtRoad", 6, 21));
  c.push_back(Condition("chkDan", 7, 22, "胆码"));
  c.push_back(Input("edtDan", 7, 23, 120));
  c.push_back(Row("rdoDanAny", Kind::Radio, kGroup, {226, RowTop(7), 96, 17}, 24, "至少含一个"));
  c.push_back(Row("rdoDanAll", Kind::Radio, kGroup, {330, RowTop(7), 96, 17}, 25, "全部包含"));
  c.push_back(Condition("chkKill", 8, 26, "杀码"));
  c.push_back(Input("edtKill", 8, 27));

  c.push_back(Row(kMode, Kind::GroupBox, "", {8, 294, 444, 48}, 1, "处理方式"));
  c.push_back(Row("rdoKeep", Kind::Radio, kMode, {12, 22, 200, 17}, 0, "保留符合条件的号码"));
  c.push_back(Row("rdoDrop", Kind::Radio, kMode, {224, 22, 200, 17}, 1, "删除符合条件的号码"));

  ControlSpec count = Row("lblFilterCount", Kind::Label, "", {8, 352, 444, 14}, -1);
  count.color = tk::kBlue;
  c.push_back(count);
  c.push_back(Button("btnFilterDelete", {144, 376, 96, 25}, 2, "删除号码", "btnFilterDeleteClick"));
  c.push_back(
      Button("btnFilterToDel", {248, 376, 112, 25}, 3, "放入删除列表", "btnFilterToDelClick"));
  c.push_back(Button("btnFilterCancel", {368, 376, 84, 25}, 4, "取消", "btnFilterCancelClick"));
  return c;
}

}  // namespace

const tk::FormSpec& FilterFormSpec() {
  static const std::vector<ControlSpec> controls = BuildControls();
  static const tk::FormSpec form = [] {
    tk::FormSpec f = MakeForm("FormFilter", kFilterCaption, 460, 410, controls);
    f.dialog = true;
    return f;
  }();
  return form;
}

}  // namespace app
