#include "app/main_table.h"

#include <deque>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/tables.h"

namespace app {

namespace {

using tk::ControlSpec;
using tk::Kind;

// Names made at run time (chk1 ... chk60) need storage that never moves.
std::string_view Interned(std::string text) {
  static std::deque<std::string> names;
  return names.emplace_back(std::move(text));
}

ControlSpec LinkLabel(ControlSpec c, int fontHeight, std::string_view handler) {
  c.handCursor = true;
  c.color = tk::kBlue;
  c.fontHeight = fontHeight;
  return Clickable(c, handler);
}

ControlSpec CountLabel(std::string_view name, int top) {
  ControlSpec c = Make(name, Kind::Label, "pnl2", {120, top, 0, 14}, -1, "0");
  c.autoSize = true;
  c.color = tk::kBlue;
  return c;
}

ControlSpec NumberList(std::string_view name, tk::Rect rect, int tab) {
  ControlSpec c = Make(name, Kind::List, "pnl2", rect, tab);
  c.anchors = tk::kAnchorLeft | tk::kAnchorTop | tk::kAnchorRight;
  c.background = tk::kCream;
  c.fontHeight = 21;
  return c;
}

ControlSpec NumberEdit(std::string_view name, std::string_view group, tk::Rect rect,
                       std::string_view keyHandler) {
  ControlSpec c = Make(name, Kind::Edit, group, rect, 35);
  c.fontHeight = 21;
  c.maxLength = 3;
  c.onKeyPress = keyHandler;
  return c;
}

// One selection panel: three rows of ten boxes with their label and edit.
// `first` is the number of the panel's first box (1 or 31), `edit` of its
// first digit edit (1 or 4), `label` of its first row label (3 or 6).
void AddPanel(std::vector<ControlSpec>& out, std::string_view group, int first, int edit,
              int label) {
  static constexpr std::string_view kRowNames[3] = {"百位：", "十位：", "个位："};
  for (int row = 0; row < 3; ++row) {
    const int top = kRowTops[row];
    out.push_back(Make(Interned("lbl" + std::to_string(label + row)), Kind::Label, group,
                       {8, top, 42, 14}, -1, kRowNames[row]));
    const int rowFirst = first + 10 * row;
    const std::string_view handler = Interned("chk" + std::to_string(rowFirst) + "Click");
    for (int d = 0; d < 10; ++d) {
      ControlSpec box =
          Make(Interned("chk" + std::to_string(rowFirst + d)), Kind::CheckBox, group,
               {kBoxLefts[d], top, 33, 17}, 10 * row + d, Interned(std::to_string(d)));
      box.tag = d;
      box.fontHeight = 21;
      if (row == 1) box.color = tk::kRed;
      out.push_back(Clickable(box, handler));
    }
    const std::string editName = "edt" + std::to_string(edit + row);
    ControlSpec digits = Make(Interned(editName), Kind::Edit, group, {424, top, 89, 27}, 30 + row);
    digits.fontHeight = 19;
    digits.maxLength = 10;
    digits.onKeyPress = Interned(editName + "KeyPress");
    out.push_back(digits);
  }
}

std::vector<ControlSpec> BuildControls() {
  std::vector<ControlSpec> c;
  ControlSpec pnl3 = Make("pnl3", Kind::Panel, "", {0, 542, 784, 20}, 0);
  pnl3.dock = tk::Dock::Bottom;
  c.push_back(pnl3);
  ControlSpec tips =
      LinkLabel(Make("lblTips", Kind::Label, "pnl3", {2, 3, 0, 13}), 13, "lblTipsClick");
  tips.color = tk::kDefaultColor;
  tips.underline = true;
  tips.showHint = true;
  tips.autoSize = true;
  c.push_back(tips);
  ControlSpec pnl4 = Make("pnl4", Kind::Panel, "", {0, 0, 784, 542}, 1);
  pnl4.dock = tk::Dock::Client;
  c.push_back(pnl4);
  ControlSpec pnl1 = Make("pnl1", Kind::Panel, "pnl4", {1, 1, 537, 540}, 0);
  pnl1.dock = tk::Dock::Left;
  c.push_back(pnl1);
  ControlSpec pnl2 = Make("pnl2", Kind::Panel, "pnl4", {538, 1, 245, 540}, 1);
  pnl2.dock = tk::Dock::Client;
  c.push_back(pnl2);
  ControlSpec tmr1 = Make("tmr1", Kind::Timer, "", {});
  tmr1.interval = 15000;
  tmr1.onTimer = "tmr1Timer";
  c.push_back(tmr1);

  // Work area. lbl1, edtNum and btnDel stand in the band below the deletion
  // panel, where they neither hide nor cover any of its controls.
  c.push_back(Clickable(Make("btnDel", Kind::Button, "pnl1", {336, 471, 113, 25}, 0, "删除号码"),
                        "btnDelClick"));
  c.push_back(Make("edtNum", Kind::Edit, "pnl1", {16, 474, 305, 22}, 1));
  c.push_back(Make("grp1", Kind::GroupBox, "pnl1", {8, 27, 521, 198}, 2, "直选投注"));
  AddPanel(c, "grp1", 1, 1, 3);
  c.push_back(Clickable(
      Make("btnAll", Kind::Button, "grp1", {92, 128, 115, 25}, 34, "生成所有号码"), "btnAllClick"));
  c.push_back(
      Clickable(Make("btnGet", Kind::Button, "grp1", {276, 128, 115, 25}, 33, "生成直选号码"),
                "btnGetClick"));
  c.push_back(NumberEdit("edtRight", "grp1", {328, 163, 65, 29}, "edtRightKeyPress"));
  c.push_back(Clickable(Make("btn3", Kind::Button, "grp1", {396, 164, 115, 25}, 36, "添加直选号码"),
                        "btn3Click"));
  c.push_back(Make("grp2", Kind::GroupBox, "pnl1", {8, 248, 521, 201}, 3, "删除投注"));
  AddPanel(c, "grp2", 31, 4, 6);
  c.push_back(Clickable(
      Make("btnSel", Kind::Button, "grp2", {92, 128, 115, 25}, 33, "生成删除号码"), "btnSelClick"));
  c.push_back(
      Clickable(Make("btnDelete", Kind::Button, "grp2", {276, 128, 115, 25}, 34, "删除确认"),
                "btnDeleteClick"));
  c.push_back(NumberEdit("edtDel", "grp2", {328, 166, 65, 29}, "edtDelKeyPress"));
  c.push_back(Clickable(Make("btn4", Kind::Button, "grp2", {396, 164, 115, 25}, 36, "添加删除号码"),
                        "btn4Click"));
  c.push_back(Make("lbl1", Kind::Label, "pnl1", {16, 451, 84, 14}, -1, "请输入数字："));
  c.push_back(Make("lbl9", Kind::Label, "pnl1", {8, 518, 70, 14}, -1, "版本：V1.5"));
  c.push_back(LinkLabel(
      Make("lbl12", Kind::Label, "pnl1", {120, 518, 143, 13}, -1, "最新版本请点击这里下载"), 13,
      "lbl12Click"));
  c.push_back(LinkLabel(Make("lbl10", Kind::Label, "pnl1", {312, 518, 210, 14}, -1,
                             "by Qelmar工作室 (" QELMAR3D_HOME_SHOWN ")"),
                        14, "lbl10Click"));

  // List area.
  c.push_back(Make("lbl2", Kind::Label, "pnl2", {16, 8, 98, 14}, -1, "投注号码列表："));
  c.push_back(CountLabel("lblCount", 8));
  c.push_back(
      Clickable(Make("btn1", Kind::Button, "pnl2", {160, 4, 73, 25}, 2, "删除"), "btn1Click"));
  c.push_back(NumberList("mmoList", {8, 32, 223, 225}, 0));
  c.push_back(Make("lbl11", Kind::Label, "pnl2", {16, 264, 98, 14}, -1, "删除号码列表："));
  c.push_back(CountLabel("lblDelCnt", 264));
  c.push_back(
      Clickable(Make("btn2", Kind::Button, "pnl2", {160, 260, 73, 25}, 3, "删除"), "btn2Click"));
  c.push_back(NumberList("mmoDel", {8, 288, 223, 248}, 1));
  return c;
}

}  // namespace

const tk::FormSpec& MainFormSpec() {
  static const std::vector<ControlSpec> controls = BuildControls();
  static const tk::FormSpec form = [] {
    tk::FormSpec f = MakeForm("Form1", kTitle, 784, 562, controls);
    f.left = 335;
    f.top = 130;
    f.outerWidth = 800;
    f.outerHeight = 600;
    f.onClose = "FormClose";
    return f;
  }();
  return form;
}

}  // namespace app
