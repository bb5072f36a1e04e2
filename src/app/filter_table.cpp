#include "app/filter_table.h"

#include <tuple>
#include <vector>

#include "app/tables.h"

namespace app {

namespace {

using tk::ControlSpec;
using tk::Kind;

constexpr std::string_view kGroup = "grpFilter";
constexpr std::string_view kMore = "grpMore";
constexpr std::string_view kScheme = "grpScheme";
constexpr std::string_view kTolerance = "grpTolerance";
constexpr std::string_view kMode = "grpMode";
// Every row of conditions: the box at the left, its inputs from kInputLeft.
constexpr int kRowTop = 22;
constexpr int kRowStep = 28;
constexpr int kInputLeft = 96;
constexpr int kInputWidth = 327;
// The two columns of conditions; what lies below spans both. The window
// stays within a 1366-pixel work area at 150 % with its frame.
constexpr int kColumnWidth = 435;
constexpr int kRightColumn = 8 + kColumnWidth + 8;
constexpr int kWindowWidth = kRightColumn + kColumnWidth + 8;
constexpr int kFullWidth = kWindowWidth - 16;

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

ControlSpec Button(std::string_view name, std::string_view parent, tk::Rect rect, int tab,
                   std::string_view text, std::string_view handler) {
  return Clickable(Make(name, Kind::Button, parent, rect, tab, text), handler);
}

// A condition's box; `tab` is its place in the group, its inputs follow.
ControlSpec Condition(std::string_view group, std::string_view name, int row, int tab,
                      std::string_view text, int width = 80) {
  ControlSpec c = Row(name, Kind::CheckBox, group, {12, RowTop(row), width, 17}, tab, text);
  c.showHint = true;
  return c;
}

ControlSpec Input(std::string_view group, std::string_view name, int row, int tab,
                  int width = kInputWidth, int left = kInputLeft) {
  return Row(name, Kind::Edit, group, {left, RowTop(row) - 3, width, 22}, tab);
}

ControlSpec Caption(std::string_view group, std::string_view name, tk::Rect rect,
                    std::string_view text) {
  return Make(name, Kind::Label, group, rect, -1, text);
}

// Boxes that stand in a row after the condition's own box.
void Choices(std::vector<ControlSpec>& out, std::string_view group, int row, int firstTab,
             int width,
             std::initializer_list<std::pair<std::string_view, std::string_view>> boxes) {
  int left = kInputLeft;
  int tab = firstTab;
  for (const auto& [name, text] : boxes) {
    out.push_back(Row(name, Kind::CheckBox, group, {left, RowTop(row), width, 17}, tab++, text));
    left += width + 8;
  }
}

// The nine conditions the window has always had.
void FirstConditions(std::vector<ControlSpec>& c) {
  c.push_back(Row(kGroup, Kind::GroupBox, "", {8, 6, kColumnWidth, 280}, 0, "过滤条件"));
  c.push_back(Condition(kGroup, "chkSum", 0, 0, "和值"));
  c.push_back(Input(kGroup, "edtSum", 0, 1));
  c.push_back(Condition(kGroup, "chkSpan", 1, 2, "跨度"));
  c.push_back(Input(kGroup, "edtSpan", 1, 3));
  c.push_back(Condition(kGroup, "chkTail", 2, 4, "和尾"));
  c.push_back(Input(kGroup, "edtTail", 2, 5));
  c.push_back(Condition(kGroup, "chkShape", 3, 6, "形态"));
  Choices(c, kGroup, 3, 7, 60, {{"chkBaozi", "豹子"}, {"chkZu3", "组三"}, {"chkZu6", "组六"}});
  c.push_back(Condition(kGroup, "chkOdd", 4, 10, "奇偶比"));
  Choices(c, kGroup, 4, 11, 52,
          {{"chkOdd30", "3:0"}, {"chkOdd21", "2:1"}, {"chkOdd12", "1:2"}, {"chkOdd03", "0:3"}});
  c.push_back(Condition(kGroup, "chkBig", 5, 15, "大小比"));
  Choices(c, kGroup, 5, 16, 52,
          {{"chkBig30", "3:0"}, {"chkBig21", "2:1"}, {"chkBig12", "1:2"}, {"chkBig03", "0:3"}});
  c.push_back(Condition(kGroup, "chkRoad", 6, 20, "012路比"));
  c.push_back(Input(kGroup, "edtRoad", 6, 21));
  c.push_back(Condition(kGroup, "chkDan", 7, 22, "胆码"));
  c.push_back(Input(kGroup, "edtDan", 7, 23, 120));
  c.push_back(Row("rdoDanAny", Kind::Radio, kGroup, {226, RowTop(7), 96, 17}, 24, "至少含一个"));
  c.push_back(Row("rdoDanAll", Kind::Radio, kGroup, {330, RowTop(7), 96, 17}, 25, "全部包含"));
  c.push_back(Condition(kGroup, "chkKill", 8, 26, "杀码"));
  c.push_back(Input(kGroup, "edtKill", 8, 27));
}

// Positions, pairs, more ratios, runs and repeats, in a column of their own.
void MoreConditions(std::vector<ControlSpec>& c) {
  c.push_back(Row(kMore, Kind::GroupBox, "", {kRightColumn, 6, kColumnWidth, 280}, 1, "更多条件"));
  c.push_back(Condition(kMore, "chkPos", 0, 0, "定位"));
  // 百位 [  ] 十位 [  ] 个位 [  ]
  int left = kInputLeft;
  int tab = 1;
  for (const auto& [label, edit, text] :
       {std::tuple{"lblPosH", "edtPosH", "百位"}, std::tuple{"lblPosT", "edtPosT", "十位"},
        std::tuple{"lblPosU", "edtPosU", "个位"}}) {
    c.push_back(Caption(kMore, label, {left, RowTop(0) + 1, 30, 14}, text));
    c.push_back(Input(kMore, edit, 0, tab++, 72, left + 32));
    left += 32 + 72 + 8;
  }
  c.push_back(Condition(kMore, "chkPair", 1, 4, "二码"));
  c.push_back(Input(kMore, "edtPair", 1, 5));
  c.push_back(Condition(kMore, "chkPairSum", 2, 6, "两码和"));
  c.push_back(Input(kMore, "edtPairSum", 2, 7));
  c.push_back(Condition(kMore, "chkPairDiff", 3, 8, "两码差"));
  c.push_back(Input(kMore, "edtPairDiff", 3, 9));
  c.push_back(Condition(kMore, "chkDzx", 4, 10, "大中小比", 82));
  c.push_back(Input(kMore, "edtDzx", 4, 11));
  c.push_back(Condition(kMore, "chkPrime", 5, 12, "质合比"));
  Choices(
      c, kMore, 5, 13, 52,
      {{"chkPrime30", "3:0"}, {"chkPrime21", "2:1"}, {"chkPrime12", "1:2"}, {"chkPrime03", "0:3"}});
  c.push_back(Condition(kMore, "chkRun", 6, 17, "连号"));
  Choices(c, kMore, 6, 18, 60,
          {{"chkRunFull", "全顺"}, {"chkRunHalf", "半顺"}, {"chkRunNone", "非顺"}});
  c.push_back(Condition(kMore, "chkRepeat", 7, 21, "重号"));
  Choices(
      c, kMore, 7, 22, 52,
      {{"chkRepeat0", "0个"}, {"chkRepeat1", "1个"}, {"chkRepeat2", "2个"}, {"chkRepeat3", "3个"}});
  ControlSpec draw = Caption(kMore, "lblRepeatDraw", {332, RowTop(7) + 1, 96, 14}, {});
  draw.showHint = true;
  c.push_back(draw);
}

std::vector<ControlSpec> BuildControls() {
  std::vector<ControlSpec> c;
  FirstConditions(c);
  MoreConditions(c);

  // 方案 and 容错 side by side under the conditions.
  c.push_back(Row(kScheme, Kind::GroupBox, "", {8, 294, 666, 48}, 2, "缩水方案"));
  ControlSpec schemes = Make("cboScheme", Kind::ComboBox, kScheme, {12, 16, 286, 25}, 0);
  schemes.onChange = "cboSchemeChange";
  schemes.showHint = true;
  c.push_back(schemes);
  c.push_back(
      Button("btnSchemeSave", kScheme, {306, 16, 86, 25}, 1, "保存方案…", "btnSchemeSaveClick"));
  c.push_back(
      Button("btnSchemeDelete", kScheme, {398, 16, 72, 25}, 2, "删除方案", "btnSchemeDeleteClick"));
  c.push_back(Button("btnSchemeExport", kScheme, {476, 16, 86, 25}, 3, "导出方案…",
                     "btnSchemeExportClick"));
  c.push_back(Button("btnSchemeImport", kScheme, {568, 16, 86, 25}, 4, "导入方案…",
                     "btnSchemeImportClick"));
  c.push_back(Row(kTolerance, Kind::GroupBox, "", {682, 294, 204, 48}, 3, "容错"));
  c.push_back(Row("edtTolerance", Kind::Edit, kTolerance, {12, 18, 40, 22}, 0));
  c.push_back(Caption(kTolerance, "lblTolerance", {58, 22, 142, 14}, "个已选条件可以不符合"));

  ControlSpec summary = Row("lblFilterSummary", Kind::Label, "", {8, 349, kFullWidth, 14}, -1);
  summary.showHint = true;
  c.push_back(summary);
  ControlSpec count = Row("lblFilterCount", Kind::Label, "", {8, 369, kFullWidth - 104, 14}, -1);
  count.color = tk::kBlue;
  c.push_back(count);
  ControlSpec backtest = Button("btnFilterBacktest", "", {kWindowWidth - 104, 365, 96, 23}, 4,
                                "历史验证…", "btnFilterBacktestClick");
  backtest.showHint = true;
  c.push_back(backtest);

  c.push_back(Row(kMode, Kind::GroupBox, "", {8, 390, kColumnWidth, 48}, 5, "处理方式"));
  c.push_back(Row("rdoKeep", Kind::Radio, kMode, {12, 22, 200, 17}, 0, "保留符合条件的号码"));
  c.push_back(Row("rdoDrop", Kind::Radio, kMode, {224, 22, 200, 17}, 1, "删除符合条件的号码"));
  c.push_back(
      Button("btnFilterDelete", "", {578, 407, 96, 25}, 6, "删除号码", "btnFilterDeleteClick"));
  c.push_back(
      Button("btnFilterToDel", "", {682, 407, 112, 25}, 7, "放入删除列表", "btnFilterToDelClick"));
  c.push_back(Button("btnFilterCancel", "", {802, 407, 84, 25}, 8, "取消", "btnFilterCancelClick"));
  return c;
}

}  // namespace

const tk::FormSpec& FilterFormSpec() {
  static const std::vector<ControlSpec> controls = BuildControls();
  static const tk::FormSpec form = [] {
    tk::FormSpec f = MakeForm("FormFilter", kFilterCaption, kWindowWidth, 446, controls);
    f.dialog = true;
    return f;
  }();
  return form;
}

}  // namespace app
