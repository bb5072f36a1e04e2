#include "lists/groups.h"

#include <algorithm>
#include <bitset>

#include "core/number.h"

namespace numbers {

std::vector<std::string> ToGroups(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  std::bitset<1000> seen;
  for (const auto& line : lines) {
    if (core::ParseNumber(line) < 0) {
      out.push_back(line);
      continue;
    }
    std::string group = line;
    std::sort(group.begin(), group.end());
    if (group[0] == group[2]) continue;  // 豹子
    const auto key = static_cast<std::size_t>(core::ParseNumber(group));
    if (seen[key]) continue;
    seen[key] = true;
    out.push_back(std::move(group));
  }
  return out;
}

std::vector<std::string> ExpandGroups(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size() * 6);
  std::bitset<1000> seen;
  for (const auto& line : lines) {
    if (core::ParseNumber(line) < 0) {
      out.push_back(line);
      continue;
    }
    std::string order = line;
    std::sort(order.begin(), order.end());
    do {
      const auto key = static_cast<std::size_t>(core::ParseNumber(order));
      if (!seen[key]) {
        seen[key] = true;
        out.push_back(order);
      }
    } while (std::next_permutation(order.begin(), order.end()));
  }
  return out;
}

}  // namespace numbers
