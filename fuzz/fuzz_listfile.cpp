// Any bytes as a list file: a file is either refused with a readable notice
// and no numbers, or gives numbers of three digits that save and load back
// unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "check.h"
#include "core/decode.h"
#include "core/text.h"
#include "lists/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const numbers::ListFile file = numbers::ReadListFile(bytes);
  FUZZ_CHECK(core::IsValidUtf8(core::DecodeForShow(bytes)));
  if (!file.Ok()) {
    FUZZ_CHECK(file.value.empty());
    FUZZ_CHECK(core::IsValidUtf8(file.refusal));
    FUZZ_CHECK(core::CharCount(file.refusal) < 80);
    return 0;
  }
  FUZZ_CHECK(!file.value.empty() && file.value.size() <= numbers::kListFileMaxNumbers);
  for (const auto& n : file.value) {
    FUZZ_CHECK(n.size() == 3);
    for (char c : n) FUZZ_CHECK(c >= '0' && c <= '9');
  }
  const numbers::ListFile again = numbers::ReadListFile(numbers::ListFileBytes(file.value));
  FUZZ_CHECK(again.Ok() && again.value == file.value);
  return 0;
}
