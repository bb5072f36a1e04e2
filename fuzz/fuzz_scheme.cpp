// Any bytes as a 方案 file: refused with a readable notice naming the file,
// or settings that write and read back unchanged, the written file being its
// own fixed point. The settings compiled are checked against the conditions
// compiled one at a time: a number misses as many as it fails, meets when
// that is within 容错, and the first invalid ticked condition speaks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "conditions/condition_table.h"
#include "conditions/conditions.h"
#include "conditions/scheme.h"
#include "core/decode.h"
#include "core/text.h"

namespace {

constexpr std::string_view kName = "我的方案.txt";

void CheckCompiled(numbers::FilterSettings s) {
  s.repeatDraw = "357";  // the window's latest draw, so that 重号 can compile
  const numbers::CompiledFilter all = numbers::CompileFilter(s);
  const auto conditions = numbers::Conditions();
  FUZZ_CHECK(all.ticked == numbers::TickedCount(s));
  FUZZ_CHECK(all.anyTicked == (all.ticked > 0));
  std::array<int, core::kNumberCount> misses{};
  std::string firstError;
  for (const numbers::Condition& c : conditions) {
    if (!(s.*c.ticked)) continue;
    numbers::FilterSettings one = s;
    for (const numbers::Condition& other : conditions) one.*other.ticked = false;
    one.*c.ticked = true;
    one.toleranceText.clear();
    const numbers::CompiledFilter alone = numbers::CompileFilter(one);
    FUZZ_CHECK(alone.ticked == 1);
    if (!alone.error.empty()) {
      FUZZ_CHECK(alone.error == c.invalid || c.invalid.empty());
      if (firstError.empty()) firstError = alone.error;
      continue;
    }
    for (std::size_t n = 0; n < misses.size(); ++n) misses[n] += alone.meets[n] ? 0 : 1;
  }
  if (!firstError.empty()) {
    FUZZ_CHECK(all.error == firstError);
    FUZZ_CHECK(all.meets.none());
    return;
  }
  if (!all.anyTicked) {
    FUZZ_CHECK(all.error.empty() && all.meets.all());
    return;
  }
  // 容错 as plainly written: nothing, or one digit between spaces.
  std::string_view tol = s.toleranceText;
  while (tol.starts_with(' ')) tol.remove_prefix(1);
  while (tol.ends_with(' ')) tol.remove_suffix(1);
  const bool digit = tol.size() == 1 && tol[0] >= '0' && tol[0] <= '9';
  const int plain = tol.empty() ? 0 : digit ? tol[0] - '0' : -1;
  if (plain >= all.ticked) FUZZ_CHECK(all.error == numbers::ToleranceInvalidText(all.ticked));
  if (plain >= 0 && plain < all.ticked) FUZZ_CHECK(all.error.empty() && all.tolerance == plain);
  if (!all.error.empty()) {
    FUZZ_CHECK(all.error == numbers::ToleranceInvalidText(all.ticked));
    FUZZ_CHECK(all.meets.none());
    return;
  }
  FUZZ_CHECK(all.tolerance >= 0 && all.tolerance < all.ticked);
  for (std::size_t n = 0; n < misses.size(); ++n) {
    FUZZ_CHECK(all.misses[n] == misses[n]);
    FUZZ_CHECK(all.meets[n] == (misses[n] <= all.tolerance));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto read = numbers::ReadScheme(bytes, "/home/用户/方案/" + std::string(kName));
  if (!read.Ok()) {
    FUZZ_CHECK(read.value == numbers::FilterSettings{});
    FUZZ_CHECK(core::IsValidUtf8(read.refusal));
    FUZZ_CHECK(read.refusal.find(kName) != std::string::npos);
    // The folder never shows; a line that spells it may be quoted.
    if (core::DecodeForShow(bytes).find("/home") == std::string::npos) {
      FUZZ_CHECK(read.refusal.find("/home") == std::string::npos);
    }
    for (char c : read.refusal) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
    return 0;
  }
  FUZZ_CHECK(read.value.repeatDraw.empty());
  const std::string written = numbers::SchemeBytes(read.value);
  const auto again = numbers::ReadScheme(written, kName);
  FUZZ_CHECK(again.Ok() && again.value == read.value);
  FUZZ_CHECK(numbers::SchemeBytes(again.value) == written);
  // repeatDraw is the window's, never written.
  numbers::FilterSettings withDraw = read.value;
  withDraw.repeatDraw = "123";
  FUZZ_CHECK(numbers::SchemeBytes(withDraw) == written);
  CheckCompiled(read.value);
  return 0;
}
