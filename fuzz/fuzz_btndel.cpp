// "Remove every number spelled with typed digits" over arbitrary pasted text:
// all 1,000 numbers listed, the input pasted into edtNum, one click on btnDel.
// The run must end and remove exactly the numbers whose three digits all
// appear in the trimmed text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/support/headless_window.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "check.h"
#include "core/text.h"
#include "lists/lists.h"
#include "toolkit/headless/headless.h"

namespace {

// One window for the whole process: building it per input costs more than
// most runs. Every input starts from all numbers listed and a new paste, so no
// state of an earlier input matters.
using World = testsupport::HeadlessWindow;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World w;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  w.rec.Clear();
  w.user.Click(w.form.btnAll);
  const std::vector<std::string> all = w.form.mmoList.Lines();
  FUZZ_CHECK(all.size() == 1000);

  // Paste over the whole previous text.
  const int old = static_cast<int>(core::CharCount(w.form.edtNum.Text()));
  w.user.Select(w.form.edtNum, 0, old);
  w.user.Paste(w.form.edtNum, input);
  FUZZ_CHECK(w.form.edtNum.Text() == input);

  const std::string_view trimmed = core::TrimView(input);
  bool digit[10] = {};
  for (char c : trimmed)
    if (c >= '0' && c <= '9') digit[c - '0'] = true;
  const std::uint64_t k = numbers::SpellingAlphabet(input).size();

  const std::size_t pumps = w.app.PumpCount();
  w.user.Click(w.form.btnDel);
  const std::size_t pumped = w.app.PumpCount() - pumps;

  FUZZ_CHECK(w.form.btnDel.Enabled());
  FUZZ_CHECK(w.form.edtNum.Text() == input);
  FUZZ_CHECK(w.rec.errors.empty());
  const auto& left = w.form.mmoList.Lines();
  FUZZ_CHECK(w.form.lblCount.Text() == std::to_string(left.size()));

  if (trimmed.empty()) {
    FUZZ_CHECK(w.rec.notices.size() == 1 && w.rec.notices[0] == numbers::kEmptyTypedDigits);
    FUZZ_CHECK(pumped == 0);
    FUZZ_CHECK(left == all);
    return 0;
  }
  FUZZ_CHECK(w.rec.notices.empty());
  // One pump per candidate looked up, and one for the end; a long alphabet
  // skips the candidates that no line can equal.
  if (k <= 10) {
    FUZZ_CHECK(pumped == k * k * k + 1);
  } else {
    FUZZ_CHECK(pumped == 1000 - left.size() + 1);
  }
  // What stays is, in order, every number with a digit the text lacks.
  std::vector<std::string> want;
  for (const auto& n : all) {
    if (!(digit[n[0] - '0'] && digit[n[1] - '0'] && digit[n[2] - '0'])) want.push_back(n);
  }
  FUZZ_CHECK(left == want);
  return 0;
}
