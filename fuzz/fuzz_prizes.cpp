// Any bytes as prizes.txt: refused with a short readable notice and the
// defaults, or three prizes of 1 to kMaxPrize 元 that write and read back
// unchanged. The same bytes typed in a prize edit against a model of what
// ParsePrize promises: blanks around dropped, ASCII digits only (grouped by
// commas or not), 1 to kMaxPrize 元, else -1.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "core/text.h"
#include "draws/prizes.h"

namespace {

// 1,040 as prizes are printed: a first group of one to three characters,
// then groups of three, each after a comma (ASCII or fullwidth); "" when the
// commas stand elsewhere.
std::string Ungrouped(std::string_view t) {
  std::vector<std::string> groups(1);
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == ',') {
      groups.emplace_back();
    } else if (t.substr(i).starts_with("，")) {
      groups.emplace_back();
      i += 2;
    } else {
      groups.back() += t[i];
    }
  }
  if (groups.size() == 1) return groups[0];
  if (groups[0].empty() || groups[0].size() > 3) return {};
  std::string digits;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (g > 0 && groups[g].size() != 3) return {};
    digits += groups[g];
  }
  return digits;
}

int ReferencePrize(std::string_view typed) {
  while (!typed.empty() && static_cast<unsigned char>(typed.front()) <= 0x20)
    typed.remove_prefix(1);
  while (!typed.empty() && static_cast<unsigned char>(typed.back()) <= 0x20) typed.remove_suffix(1);
  const std::string t = Ungrouped(typed);
  if (t.empty()) return -1;
  long long v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
    if (v > numbers::kMaxPrize) v = numbers::kMaxPrize + 1;  // stays out of range
  }
  return v >= 1 && v <= numbers::kMaxPrize ? static_cast<int>(v) : -1;
}

bool InRange(int prize) {
  return prize >= 1 && prize <= numbers::kMaxPrize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(numbers::ParsePrize(bytes) == ReferencePrize(bytes));
  const auto read = numbers::ReadPrizesFile(bytes);
  if (!read.Ok()) {
    FUZZ_CHECK(read.value == numbers::Prizes{});
    FUZZ_CHECK(core::IsValidUtf8(read.refusal));
    FUZZ_CHECK(core::CharCount(read.refusal) < 80);
    for (char c : read.refusal) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
    return 0;
  }
  const numbers::Prizes& p = read.value;
  FUZZ_CHECK(InRange(p.direct) && InRange(p.group3) && InRange(p.group6));
  const auto again = numbers::ReadPrizesFile(numbers::PrizesFileBytes(p));
  FUZZ_CHECK(again.Ok() && again.value == p);
  return 0;
}
