#include "harness.h"

void Behaviour::Tick(int row, std::string_view digits) {
  for (char d : digits) User().Click(*Form().Row(row).boxes[static_cast<std::size_t>(d - '0')]);
}

void Behaviour::Generate(bool betPanel, std::string_view h, std::string_view t,
                         std::string_view u) {
  const int first = betPanel ? 0 : 3;
  Tick(first, h);
  Tick(first + 1, t);
  Tick(first + 2, u);
  Click(betPanel ? "btnGet" : "btnSel");
}

void Behaviour::AddNumbers(bool betList, const std::vector<std::string>& numbers) {
  const std::string_view edit = betList ? "edtRight" : "edtDel";
  for (const auto& n : numbers) {
    User().Select(C(edit), 0, 3);
    Paste(edit, n);
    Click(betList ? "btn3" : "btn4");
  }
}

std::vector<std::string> Behaviour::Lines(std::string_view list) {
  return List(list).Lines();
}
