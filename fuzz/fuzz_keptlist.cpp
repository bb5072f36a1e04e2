// Any bytes as a list kept from the last run: refused with a readable notice
// naming the file and no lines, or lines and a bet type that write and read
// back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check.h"
#include "core/text.h"
#include "lists/kept_lists.h"

namespace {

constexpr std::string_view kPath = "/home/用户/.local/share/qelmar3d/last-bets.txt";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const numbers::KeptList read = numbers::ReadKeptList(bytes, kPath);
  if (!read.Ok()) {
    FUZZ_CHECK(read.value.lines.empty());
    FUZZ_CHECK(read.value.type == numbers::kDirectBets);
    FUZZ_CHECK(core::IsValidUtf8(read.refusal));
    FUZZ_CHECK(read.refusal.find(kPath) != std::string::npos);
    FUZZ_CHECK(core::CharCount(read.refusal) < core::CharCount(kPath) + 40);
    for (char c : read.refusal) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
    return 0;
  }
  const numbers::KeptListData& kept = read.value;
  FUZZ_CHECK(kept.type.baoziDropped >= 0);
  if (kept.type.kind == core::BetKind::kDirect) FUZZ_CHECK(kept.type.baoziDropped == 0);
  for (const std::string& line : kept.lines) {
    FUZZ_CHECK(core::IsValidUtf8(line));
    FUZZ_CHECK(line.find("\r\n") == std::string::npos);
  }
  const std::string written = numbers::KeptListBytes(kept.lines, kept.type);
  const numbers::KeptList again = numbers::ReadKeptList(written, kPath);
  FUZZ_CHECK(again.Ok() && again.value.lines == kept.lines && again.value.type == kept.type);
  FUZZ_CHECK(numbers::KeptListBytes(again.value.lines, again.value.type) == written);
  return 0;
}
