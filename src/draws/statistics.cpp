#include "draws/statistics.h"

#include <algorithm>

#include "core/number.h"

namespace numbers {

std::vector<DigitTable> Omissions(std::span<const Draw> draws, std::size_t first) {
  std::vector<DigitTable> out;
  out.reserve(draws.size() - std::min(first, draws.size()));
  DigitTable last{};
  for (std::size_t r = 0; r < draws.size(); ++r) {
    for (int p = 0; p < 3; ++p) {
      const int drawn = core::DigitAt(draws[r].number, p);
      for (int d = 0; d < 10; ++d) last[p][d] = d == drawn ? 0 : last[p][d] + 1;
    }
    if (r >= first) out.push_back(last);
  }
  return out;
}

DigitStats StatsOf(std::span<const Draw> rows, std::span<const DigitTable> omissions) {
  DigitStats s;
  DigitTable run{};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int p = 0; p < 3; ++p) {
      const int drawn = core::DigitAt(rows[r].number, p);
      for (int d = 0; d < 10; ++d) {
        s.maxOmission[p][d] = std::max(s.maxOmission[p][d], omissions[r][p][d]);
        if (d == drawn) {
          ++s.count[p][d];
          s.maxRun[p][d] = std::max(s.maxRun[p][d], ++run[p][d]);
        } else {
          run[p][d] = 0;
        }
      }
    }
  }
  const int n = static_cast<int>(rows.size());
  for (int p = 0; p < 3; ++p)
    for (int d = 0; d < 10; ++d)
      s.averageOmission[p][d] = (n - s.count[p][d]) / (s.count[p][d] + 1);
  return s;
}

}  // namespace numbers
