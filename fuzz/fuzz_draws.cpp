// Any bytes as a draws file: refused with a short readable notice and no
// draws, or draws sorted by 期号, each once, of three digits and a real date
// or none, that draws.txt writes and reads back unchanged and that merge
// into an empty history as they are.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "core/text.h"
#include "draws/reader.h"
#include "draws/store.h"

namespace {

bool Digits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

int Num(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// YYYY-MM-DD of a day that exists, from 1900 on (earlier years are typing
// mistakes to the reader).
bool RealDate(std::string_view d) {
  if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
  const std::string_view y = d.substr(0, 4), m = d.substr(5, 2), day = d.substr(8, 2);
  if (!Digits(y) || !Digits(m) || !Digits(day)) return false;
  const int year = Num(y), month = Num(m), dd = Num(day);
  if (year < 1900 || month < 1 || month > 12 || dd < 1) return false;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return dd <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto read = numbers::ReadDrawsFile(bytes, "开奖.txt");
  if (!read.Ok()) {
    FUZZ_CHECK(read.value.empty());
    FUZZ_CHECK(core::IsValidUtf8(read.refusal));
    FUZZ_CHECK(core::CharCount(read.refusal) < 120);
    for (char c : read.refusal) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
    return 0;
  }
  const std::vector<numbers::Draw>& draws = read.value;
  FUZZ_CHECK(!draws.empty() && draws.size() <= numbers::kMaxDraws);
  for (std::size_t i = 0; i < draws.size(); ++i) {
    const numbers::Draw& d = draws[i];
    if (i > 0) FUZZ_CHECK(draws[i - 1].issue < d.issue);
    FUZZ_CHECK(d.number >= 0 && d.number <= 999);
    FUZZ_CHECK(d.issueDigits >= static_cast<int>(numbers::kIssueMinDigits) &&
               d.issueDigits <= static_cast<int>(numbers::kIssueMaxDigits));
    const std::string issue = numbers::IssueText(d);
    FUZZ_CHECK(issue.size() == static_cast<std::size_t>(d.issueDigits) && Digits(issue));
    FUZZ_CHECK(d.date.empty() || RealDate(d.date));
  }
  const auto again = numbers::ReadDrawsFile(numbers::DrawsFileBytes(draws), "draws.txt");
  FUZZ_CHECK(again.Ok() && again.value == draws);
  std::vector<numbers::Draw> kept;
  FUZZ_CHECK(numbers::MergeDraws(kept, draws).empty());
  FUZZ_CHECK(kept == draws);
  return 0;
}
