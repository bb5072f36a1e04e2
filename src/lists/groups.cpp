#include "lists/groups.h"

#include <algorithm>
#include <bitset>

#include "core/number.h"

namespace numbers {

std::vector<std::string> ToGroups(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  std::bitset<core::kNumberCount> seen;
  for (const auto& line : lines) {
    const int number = core::ParseNumber(line);
    if (number == core::kNoNumber) {
      out.push_back(line);
      continue;
    }
    if (core::ShapeOf(number) == core::Shape::kBaozi) continue;
    const int key = core::GroupKey(number);
    if (seen[static_cast<std::size_t>(key)]) continue;
    seen[static_cast<std::size_t>(key)] = true;
    out.push_back(core::NumberText(key));
  }
  return out;
}

std::vector<std::string> ExpandGroups(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size() * 6);
  std::bitset<core::kNumberCount> seen;
  for (const auto& line : lines) {
    const int number = core::ParseNumber(line);
    if (number == core::kNoNumber) {
      out.push_back(line);
      continue;
    }
    // Every order of the digits, from the smallest up.
    std::string order = core::NumberText(core::GroupKey(number));
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
