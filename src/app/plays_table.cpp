#include "app/plays_table.h"

#include <array>
#include <vector>

#include "app/tables.h"

namespace app {

namespace {

using tk::ControlSpec;
using tk::Kind;

constexpr std::string_view kInput = "grpPlaysInput";
constexpr int kWidth = 528;
constexpr int kBoxLeft = 64;
constexpr int kBoxStep = 44;

// The box names live as long as the table.
const std::array<std::array<std::string, 10>, 2>& BoxNames() {
  static const auto names = [] {
    std::array<std::array<std::string, 10>, 2> n;
    for (int row = 0; row < 2; ++row) {
      for (int d = 0; d < 10; ++d) {
        n[static_cast<std::size_t>(row)][static_cast<std::size_t>(d)] =
            (row == 0 ? "chkPlaysFirst" : "chkPlaysTuo") + std::to_string(d);
      }
    }
    return n;
  }();
  return names;
}

constexpr std::array<std::string_view, 10> kDigitTexts = {"0", "1", "2", "3", "4",
                                                          "5", "6", "7", "8", "9"};

void DigitRow(std::vector<ControlSpec>& c, int row, std::string_view label, std::string_view text) {
  const int top = 24 + 30 * row;
  c.push_back(Make(label, Kind::Label, kInput, {12, top + 1, 48, 14}, -1, text));
  for (int d = 0; d < 10; ++d) {
    ControlSpec box = Make(BoxNames()[static_cast<std::size_t>(row)][static_cast<std::size_t>(d)],
                           Kind::CheckBox, kInput, {kBoxLeft + kBoxStep * d, top, 38, 17},
                           row * 10 + d, kDigitTexts[static_cast<std::size_t>(d)]);
    box.onClick = "InputChanged";
    c.push_back(box);
  }
}

std::vector<ControlSpec> BuildControls() {
  std::vector<ControlSpec> c;
  c.push_back(Make("lblPlay", Kind::Label, "", {12, 17, 48, 14}, -1, "玩法"));
  ControlSpec play = Make("cboPlay", Kind::ComboBox, "", {64, 12, 120, 25}, 0);
  play.onChange = "PlayChanged";
  c.push_back(play);
  ControlSpec note = Make("lblPlayNote", Kind::Label, "", {194, 17, kWidth - 202, 14});
  note.showHint = true;
  c.push_back(note);

  c.push_back(Make(kInput, Kind::GroupBox, "", {8, 44, kWidth - 16, 118}, 1, "选号"));
  DigitRow(c, 0, "lblPlaysFirst", "号码");
  DigitRow(c, 1, "lblPlaysTuo", "拖码");
  c.push_back(Make("lblPlaysValues", Kind::Label, kInput, {12, 89, 48, 14}, -1, "和值"));
  ControlSpec values = Make("edtPlaysValues", Kind::Edit, kInput, {64, 85, 160, 22}, 20);
  values.onChange = "InputChanged";
  values.maxLength = 200;
  values.showHint = true;
  c.push_back(values);
  c.push_back(Make("lblPlaysExample", Kind::Label, kInput, {232, 89, 260, 14}, -1));

  ControlSpec count = Make("lblPlaysCount", Kind::Label, "", {8, 172, kWidth - 16, 14});
  count.color = tk::kBlue;
  c.push_back(count);
  c.push_back(
      Clickable(Make("btnPlaysReplace", Kind::Button, "", {188, 198, 112, 25}, 2, "替换投注列表"),
                "btnPlaysReplaceClick"));
  c.push_back(
      Clickable(Make("btnPlaysAdd", Kind::Button, "", {308, 198, 120, 25}, 3, "添加到投注列表"),
                "btnPlaysAddClick"));
  c.push_back(Clickable(Make("btnPlaysCancel", Kind::Button, "", {436, 198, 84, 25}, 4, "取消"),
                        "btnPlaysCancelClick"));
  return c;
}

}  // namespace

std::string PlaysDigitBox(int row, int digit) {
  return BoxNames()[static_cast<std::size_t>(row)][static_cast<std::size_t>(digit)];
}

const tk::FormSpec& PlaysFormSpec() {
  static const std::vector<ControlSpec> controls = BuildControls();
  static const tk::FormSpec form = [] {
    tk::FormSpec f = MakeForm("FormPlays", kPlaysCaption, kWidth, 232, controls);
    f.dialog = true;
    return f;
  }();
  return form;
}

}  // namespace app
