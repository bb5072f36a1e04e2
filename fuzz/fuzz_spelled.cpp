// The spelled-number run over an arbitrary list and typed text, against the
// plain three-wheel counter: every candidate of the typed characters looked
// up once, in counter order, each removing every line equal to it with
// letter case ignored (ASCII, fullwidth Latin, Greek, Cyrillic, Roman
// numerals). Input: the
// typed text, a LF, then the list's lines.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/support/headless_window.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "case_pairs.h"
#include "check.h"
#include "core/text.h"
#include "lists/lists.h"
#include "toolkit/headless/headless.h"

namespace {

// Past this many characters the reference's k*k*k candidates cost too much.
constexpr std::size_t kMaxAlphabet = 24;
constexpr std::size_t kMaxLines = 64;

// Each character of the text (a stray byte is one) with capitals made small.
std::string Folded(std::string_view s) {
  std::string out;
  for (std::string_view ch : core::Chars(s)) {
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) >= 0x80) {
      out += ch;  // a stray byte
      continue;
    }
    char32_t cp = core::DecodeChar(ch);
    for (const auto& p : kCasePairs) {
      if (cp >= p.capital && cp < p.capital + p.count) cp = p.small + (cp - p.capital);
    }
    out += core::EncodeChar(cp);
  }
  return out;
}

// One window for the whole process; every input sets both lists anew.
using World = testsupport::HeadlessWindow;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = input.find('\n');
  if (nl == std::string_view::npos) return 0;
  const std::string_view typed = input.substr(0, nl);
  if (typed.find('\0') != std::string_view::npos) return 0;  // an edit's text ends there
  std::vector<std::string> lines = core::SplitLines(input.substr(nl + 1));
  if (lines.size() > kMaxLines) return 0;

  // The distinct characters of the trimmed text, by first appearance.
  std::vector<std::string> alphabet;
  for (std::string_view ch : core::Chars(core::TrimView(typed))) {
    bool seen = false;
    for (const auto& a : alphabet) seen = seen || a == ch;
    if (!seen) alphabet.emplace_back(ch);
  }
  if (alphabet.empty() || alphabet.size() > kMaxAlphabet) return 0;

  // Reference: the counter over every candidate.
  std::vector<std::string> want = lines;
  for (const auto& h : alphabet) {
    for (const auto& t : alphabet) {
      for (const auto& u : alphabet) {
        const std::string c = Folded(h + t + u);
        std::erase_if(want, [&](const std::string& line) { return Folded(line) == c; });
      }
    }
  }

  static World w;
  w.rec.Clear();
  w.form.mmoList.ClearLines();
  for (const auto& l : lines) w.form.mmoList.AppendLine(l);
  w.form.lblCount.SetText(std::to_string(lines.size()));
  w.user.Select(w.form.edtNum, 0, static_cast<int>(core::CharCount(w.form.edtNum.Text())));
  w.user.Paste(w.form.edtNum, typed);
  FUZZ_CHECK(w.form.edtNum.Text() == typed);
  w.user.Click(w.form.btnDel);

  FUZZ_CHECK(w.rec.errors.empty() && w.rec.notices.empty());
  FUZZ_CHECK(w.form.mmoList.Lines() == want);
  FUZZ_CHECK(w.form.lblCount.Text() == std::to_string(want.size()));
  FUZZ_CHECK(w.form.btnDel.Enabled());
  return 0;
}
