// Texts fixed at compile time from constants, so that a notice stating a
// limit is built from the limit itself and never tells another number.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace core {

// The decimal digits of a constant: DecimalText<100000>::value is "100000".
template <unsigned long long V>
struct DecimalText {
  static constexpr std::size_t kLength = [] {
    std::size_t n = 1;
    for (unsigned long long v = V; v >= 10; v /= 10) ++n;
    return n;
  }();
  static constexpr std::array<char, kLength> kChars = [] {
    std::array<char, kLength> a{};
    unsigned long long v = V;
    for (std::size_t i = kLength; i-- > 0; v /= 10) a[i] = static_cast<char>('0' + v % 10);
    return a;
  }();
  static constexpr std::string_view value{kChars.data(), kChars.size()};
};

// The parts one after the other.
template <const std::string_view&... Parts>
struct JoinedText {
  static constexpr std::array<char, (Parts.size() + ... + 0)> kChars = [] {
    std::array<char, (Parts.size() + ... + 0)> a{};
    auto at = a.begin();
    ((at = std::copy(Parts.begin(), Parts.end(), at)), ...);
    return a;
  }();
  static constexpr std::string_view value{kChars.data(), kChars.size()};
};

}  // namespace core
