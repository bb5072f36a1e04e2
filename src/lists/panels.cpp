#include <string>

#include "core/text.h"
#include "lists/lists.h"

namespace numbers {

void OnDigitBox(const DigitRow& row, const tk::Control& box) {
  std::string digits = core::Trim(row.edit->Text());
  const std::string digit = std::to_string(box.Tag());
  const std::size_t at = digits.find(digit);
  const bool ticked = dynamic_cast<const tk::CheckBox&>(box).Checked();
  if (ticked && at == std::string::npos) digits += digit;
  if (!ticked && at != std::string::npos) digits.erase(at, digit.size());
  // Written back every time, so stray blanks go at the next change.
  row.edit->SetText(digits);
}

void OnDigitKey(const DigitRow& row, char32_t& key) {
  if (key == tk::kBackspace) {
    const std::string digits = core::Trim(row.edit->Text());
    const int caret = row.edit->CaretOffset();
    if (caret > 0) {
      // The character just left of the caret, counted in the trimmed text. A
      // caret past its end (blanks pasted in) names no character.
      const auto chars = core::Chars(digits);
      if (static_cast<std::size_t>(caret) <= chars.size()) {
        const std::string_view x = chars[static_cast<std::size_t>(caret) - 1];
        if (x.size() == 1 && core::IsAsciiDigit(x[0])) row.boxes[x[0] - '0']->SetChecked(false);
      }
      row.edit->SetCaretOffset(caret - 1);
    }
  } else if (key >= U'0' && key <= U'9') {
    row.boxes[key - U'0']->SetChecked(true);
    row.edit->SetCaretOffset(10);
  }
  key = 0;
}

}  // namespace numbers
