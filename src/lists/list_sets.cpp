#include "lists/list_sets.h"

#include "core/number.h"

namespace numbers {

NumberSet NumbersIn(const std::vector<std::string>& lines) {
  NumberSet set;
  for (const auto& l : lines) {
    const int n = core::ParseNumber(l);
    if (n >= 0) set[static_cast<std::size_t>(n)] = true;
  }
  return set;
}

namespace {

std::vector<std::string> Filtered(const std::vector<std::string>& lines, const NumberSet& set,
                                  bool keepMembers) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const auto& l : lines) {
    const int n = core::ParseNumber(l);
    if (n < 0 || set[static_cast<std::size_t>(n)] == keepMembers) out.push_back(l);
  }
  return out;
}

}  // namespace

std::vector<std::string> IntersectNumbers(const std::vector<std::string>& lines,
                                          const NumberSet& set) {
  return Filtered(lines, set, true);
}

std::vector<std::string> DropNumbers(const std::vector<std::string>& lines, const NumberSet& set) {
  return Filtered(lines, set, false);
}

std::vector<std::string> AppendMissing(const std::vector<std::string>& lines,
                                       const std::vector<std::string>& numbers) {
  std::vector<std::string> out = lines;
  NumberSet have = NumbersIn(lines);
  for (const auto& l : numbers) {
    const int n = core::ParseNumber(l);
    if (n < 0 || have[static_cast<std::size_t>(n)]) continue;
    have[static_cast<std::size_t>(n)] = true;
    out.push_back(l);
  }
  return out;
}

std::vector<std::string> DropRepeats(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  NumberSet seen;
  for (const auto& l : lines) {
    const int n = core::ParseNumber(l);
    if (n >= 0) {
      if (seen[static_cast<std::size_t>(n)]) continue;
      seen[static_cast<std::size_t>(n)] = true;
    }
    out.push_back(l);
  }
  return out;
}

}  // namespace numbers
