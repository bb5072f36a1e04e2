#include "harness.h"

#include <algorithm>
#include <utility>

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

std::vector<std::string> TableTabChain(const tk::Form& form) {
  // The tab orders from the window down to each control.
  auto path = [&](const tk::Control& c) {
    std::vector<int> p;
    for (const tk::Control* at = &c;;) {
      p.insert(p.begin(), at->Def().tabOrder);
      if (at->Def().parent.empty()) return p;
      at = &form.Find(at->Def().parent);
    }
  };
  std::vector<std::pair<std::vector<int>, std::string>> stops;
  for (tk::Control* c : form.Controls()) {
    const tk::Kind kind = c->GetKind();
    const bool takesFocus = kind == tk::Kind::Button || kind == tk::Kind::CheckBox ||
                            kind == tk::Kind::Edit || kind == tk::Kind::List ||
                            kind == tk::Kind::ComboBox ||
                            (kind == tk::Kind::Radio && dynamic_cast<tk::CheckBox&>(*c).Checked());
    if (!takesFocus || c->Def().tabOrder < 0 || !c->Enabled()) continue;
    stops.emplace_back(path(*c), std::string(c->Name()));
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> names;
  for (auto& s : stops) names.push_back(std::move(s.second));
  return names;
}
