#include <string>

#include "core/number.h"
#include "core/text.h"
#include "lists/lists.h"

namespace numbers {

void GenerateCombinations(tk::Application& app, const std::array<tk::Edit*, 3>& digits,
                          tk::Control& button, const CountedList& target) {
  const std::string h = core::Trim(digits[0]->Text());
  const std::string t = core::Trim(digits[1]->Text());
  const std::string u = core::Trim(digits[2]->Text());
  if (h.empty() || t.empty() || u.empty()) {
    app.ShowNotice(kEmptyDigits);
    return;
  }
  button.SetEnabled(false);
  target.list->ClearLines();
  int counter = 0;
  const auto hs = core::Chars(h);
  const auto ts = core::Chars(t);
  const auto us = core::Chars(u);
  std::string number;
  for (std::string_view hc : hs) {
    for (std::string_view tc : ts) {
      for (std::string_view uc : us) {
        number.assign(hc).append(tc).append(uc);
        target.list->AppendLine(number);
        ShowCount(target, ++counter);
      }
    }
  }
  button.SetEnabled(true);
}

void GenerateAll(tk::Control& button, const CountedList& target) {
  button.SetEnabled(false);
  target.list->ClearLines();
  for (int i = 0; i < core::kNumberCount; ++i) target.list->AppendLine(core::NumberText(i));
  ShowCount(target, core::kNumberCount);
  button.SetEnabled(true);
}

}  // namespace numbers
