// 遗漏 and the statistics of the draws shown, as the trend chart and anyone
// else reads them.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "draws/draw.h"

namespace numbers {

// [position][digit]; position 0 = 百位, 1 = 十位, 2 = 个位.
using DigitTable = std::array<std::array<int, 10>, 3>;

// The 遗漏 of every digit at every position after each draw from `first`
// on, in order, counted from the first draw: 0 where the digit is drawn,
// else one more than in the draw before (1 in the first draw).
std::vector<DigitTable> Omissions(std::span<const Draw> draws, std::size_t first = 0);

// Over rows shown (the last N draws) with their 遗漏, which count from the
// first kept draw.
struct DigitStats {
  DigitTable count{};            // 出现次数 k
  DigitTable averageOmission{};  // ⌊(N − k) / (k + 1)⌋
  DigitTable maxOmission{};      // largest 遗漏 in the rows
  DigitTable maxRun{};           // longest run of rows drawing the digit
};
DigitStats StatsOf(std::span<const Draw> rows, std::span<const DigitTable> omissions);

}  // namespace numbers
