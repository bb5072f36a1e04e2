// One past draw as the user brings it, and the limits every way of bringing
// draws in shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace numbers {

// More draws than a chart or draws.txt takes; a text or file beyond these is
// refused whole.
inline constexpr std::size_t kMaxDraws = 20000;
inline constexpr std::size_t kDrawsTextMaxMiB = 8;
inline constexpr std::size_t kDrawsTextMaxBytes = kDrawsTextMaxMiB << 20;

// A 期号 is written with this many digits.
inline constexpr std::size_t kIssueMinDigits = 5;
inline constexpr std::size_t kIssueMaxDigits = 9;

struct Draw {
  std::uint32_t issue = 0;  // 期号's value
  int issueDigits = 0;      // digits as written, leading zeros kept
  std::string date;         // YYYY-MM-DD, empty when not known
  int number = 0;           // 0-999

  bool operator==(const Draw&) const = default;
};

// "5–9 位数字，如 2024001": how a 期号 is written, for notices and hints.
std::string IssueForm();
// 期号 as written, e.g. "2024001".
std::string IssueText(const Draw& draw);

}  // namespace numbers
