// UTF-8 as the Unicode standard defines it, written apart from the code
// under test, for the fuzz targets' oracles.
#pragma once

#include <cstddef>
#include <string_view>

namespace {

// Length of the valid UTF-8 sequence at text[pos], 0 when there is none
// (well-formed byte sequences of the Unicode standard, table 3-7).
std::size_t ValidSequenceAt(std::string_view t, std::size_t pos) {
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(t[pos + i]); };
  auto in = [&](std::size_t i, unsigned lo, unsigned hi) {
    return pos + i < t.size() && b(i) >= lo && b(i) <= hi;
  };
  const unsigned c = b(0);
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) return in(1, 0x80, 0xBF) ? 2 : 0;
  if (c == 0xE0) return in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
  if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF)
    return in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
  if (c == 0xED) return in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF) ? 3 : 0;
  if (c == 0xF0) return in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
  if (c >= 0xF1 && c <= 0xF3)
    return in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
  if (c == 0xF4) return in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
  return 0;
}

// The code point of the valid sequence of length n at text[pos].
inline char32_t CodePointAt(std::string_view t, std::size_t pos, std::size_t n) {
  auto b = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(t[pos + i]));
  };
  if (n == 1) return b(0);
  if (n == 2) return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
  if (n == 3) return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
  return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
}

}  // namespace
