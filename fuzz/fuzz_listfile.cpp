// Any bytes as a list file: a file is either refused with a readable notice
// and no numbers, or gives numbers of three digits that save and load back
// unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "check.h"
#include "lists/list_file.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const numbers::ListFile file = numbers::ReadListFile(bytes);
  FUZZ_CHECK(core::IsValidUtf8(numbers::DecodeListFile(bytes)));
  if (!file.refusal.empty()) {
    FUZZ_CHECK(file.numbers.empty());
    FUZZ_CHECK(core::IsValidUtf8(file.refusal));
    FUZZ_CHECK(core::CharCount(file.refusal) < 80);
    return 0;
  }
  FUZZ_CHECK(!file.numbers.empty() && file.numbers.size() <= numbers::kListFileMaxNumbers);
  for (const auto& n : file.numbers) {
    FUZZ_CHECK(n.size() == 3);
    for (char c : n) FUZZ_CHECK(c >= '0' && c <= '9');
  }
  const numbers::ListFile again = numbers::ReadListFile(numbers::ListFileBytes(file.numbers));
  FUZZ_CHECK(again.refusal.empty() && again.numbers == file.numbers);
  return 0;
}
