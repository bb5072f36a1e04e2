// A number of the game: three digits, 百位 first, 000-999, and everything
// the features read off it. Numbers travel as text in the lists; these are
// the only places that turn a token into a value and back.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <string_view>

namespace core {

inline constexpr int kNumberCount = 1000;
inline constexpr int kNoNumber = -1;

// Three ASCII digits as 0-999; anything else (other lengths, fullwidth
// digits, blanks) is kNoNumber.
constexpr int ParseNumber(std::string_view token) {
  if (token.size() != 3) return kNoNumber;
  int v = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return kNoNumber;
    v = v * 10 + (c - '0');
  }
  return v;
}

// "057".
std::string NumberText(int number);

// The digit at a position: 0 百位, 1 十位, 2 个位.
constexpr int DigitAt(int number, int position) {
  return position == 0 ? number / 100 : position == 1 ? number / 10 % 10 : number % 10;
}
constexpr std::array<int, 3> DigitsOf(int number) {
  return {DigitAt(number, 0), DigitAt(number, 1), DigitAt(number, 2)};
}
// Bit d set for each digit d the number holds.
constexpr unsigned DigitMask(int number) {
  return 1u << DigitAt(number, 0) | 1u << DigitAt(number, 1) | 1u << DigitAt(number, 2);
}

// 和值.
constexpr int SumOf(int number) {
  return DigitAt(number, 0) + DigitAt(number, 1) + DigitAt(number, 2);
}
// 跨度: the largest digit less the smallest.
constexpr int SpanOf(int number) {
  const auto d = DigitsOf(number);
  return std::max({d[0], d[1], d[2]}) - std::min({d[0], d[1], d[2]});
}

// 形态: three equal digits, two equal, or three different.
enum class Shape { kBaozi, kZu3, kZu6 };
constexpr Shape ShapeOf(int number) {
  switch (std::popcount(DigitMask(number))) {
    case 1:
      return Shape::kBaozi;
    case 2:
      return Shape::kZu3;
    default:
      return Shape::kZu6;
  }
}
// 豹子 组三 组六.
std::string_view ShapeText(Shape shape);

// The 组选 key: the digits in ascending order, as a number (735 → 357).
constexpr int GroupKey(int number) {
  auto d = DigitsOf(number);
  std::sort(d.begin(), d.end());
  return d[0] * 100 + d[1] * 10 + d[2];
}

// 重号: how many distinct digits two numbers share.
constexpr int SharedDigits(int a, int b) {
  return std::popcount(DigitMask(a) & DigitMask(b));
}

}  // namespace core
