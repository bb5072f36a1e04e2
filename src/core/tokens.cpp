#include "core/tokens.h"

#include "core/number.h"

namespace core {

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> out;
  ForEachToken(line, [&](std::string_view t) {
    out.push_back(t);
    return true;
  });
  return out;
}

int NumberOfTokens(std::span<const std::string_view> tokens) {
  if (tokens.empty()) return kNoNumber;
  if (const int n = ParseNumber(tokens[0]); n != kNoNumber) return n;
  if (tokens.size() < 3) return kNoNumber;
  int n = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string_view t = tokens[i];
    if (t.size() != 1 || t[0] < '0' || t[0] > '9') return kNoNumber;
    n = n * 10 + (t[0] - '0');
  }
  return n;
}

int OneNumber(std::string_view text) {
  std::string_view tokens[4];
  std::size_t count = 0;
  ForEachToken(text, [&](std::string_view t) {
    tokens[count++] = t;
    return count < 4;
  });
  if (count == 1) return ParseNumber(tokens[0]);
  // Three digits apart, each alone: "202 5 7" is no number.
  if (count != 3 || tokens[0].size() != 1) return kNoNumber;
  return NumberOfTokens(std::span<const std::string_view>(tokens, count));
}

}  // namespace core
