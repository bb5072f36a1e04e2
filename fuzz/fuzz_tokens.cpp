// Pasted text cut into lines and tokens, and read as one number, checked
// against a reference written from the definitions: lines end at CR LF, CR
// or LF; tokens are runs of characters that are not separators, where a
// separator is a whole valid character of the set below and a stray byte
// never is one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "core/number.h"
#include "core/tokens.h"
#include "utf8_reference.h"

namespace {

constexpr char32_t kSeparators[] = {U' ',      U'\t',     U'\v',     U'\f',
                                    U',',      U';',      U'\u00A0', U'\u3000',
                                    U'\uFEFF', U'\uFF0C', U'\uFF1B', U'\u3001'};

bool ReferenceSeparator(char32_t c) {
  for (char32_t s : kSeparators)
    if (c == s) return true;
  return false;
}

std::vector<std::string_view> ReferenceTokens(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t start = std::string_view::npos;
  for (std::size_t i = 0; i < line.size();) {
    std::size_t n = ValidSequenceAt(line, i);
    const bool sep = n > 0 && ReferenceSeparator(CodePointAt(line, i, n));
    if (n == 0) n = 1;
    if (sep && start != std::string_view::npos) {
      out.push_back(line.substr(start, i - start));
      start = std::string_view::npos;
    } else if (!sep && start == std::string_view::npos) {
      start = i;
    }
    i += n;
  }
  if (start != std::string_view::npos) out.push_back(line.substr(start));
  return out;
}

bool OneDigit(std::string_view t) {
  return t.size() == 1 && t[0] >= '0' && t[0] <= '9';
}

int ReferenceOneNumber(const std::vector<std::string_view>& t) {
  auto three = [](std::string_view s) {
    return s.size() == 3 && OneDigit(s.substr(0, 1)) && OneDigit(s.substr(1, 1)) &&
           OneDigit(s.substr(2, 1));
  };
  if (t.size() == 1 && three(t[0])) return std::stoi(std::string(t[0]));
  if (t.size() == 3 && OneDigit(t[0]) && OneDigit(t[1]) && OneDigit(t[2]))
    return (t[0][0] - '0') * 100 + (t[1][0] - '0') * 10 + (t[2][0] - '0');
  return core::kNoNumber;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string joined;
  std::size_t lines = 0;
  core::ForEachLine(text, [&](std::string_view line, std::size_t number) {
    FUZZ_CHECK(number == ++lines);
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    joined += line;
    const auto tokens = core::Tokens(line);
    FUZZ_CHECK(tokens == ReferenceTokens(line));
    FUZZ_CHECK(core::OneNumber(line) == ReferenceOneNumber(tokens));
    return true;
  });
  // Nothing but the line breaks is lost.
  std::string bare;
  for (char c : text)
    if (c != '\r' && c != '\n') bare += c;
  FUZZ_CHECK(joined == bare);
  return 0;
}
