#include <bitset>

#include "core/number.h"
#include "lists/bet_type.h"
#include "plays/plays.h"

namespace plays {

core::Read<Placed> Place(const std::vector<std::string>& list, numbers::BetType type,
                         const std::vector<std::string>& made, bool group, bool replace) {
  const numbers::BetType madeType = group ? numbers::GroupBets(0) : numbers::kDirectBets;
  if (replace) return {{made, madeType, 0}, {}};
  if (!list.empty() && (type.kind == core::BetKind::kGroup) != group) {
    return core::Read<Placed>::Refused(
        group ? "投注列表中是直选号码，不能添加组选号码；请用“替换投注列表”，或先清空列表。"
              : "投注列表中是组选号码，不能添加直选号码；请用“替换投注列表”，或先清空列表。");
  }
  // A 组选 group is listed in any order of its digits.
  auto key = [group](int n) { return static_cast<std::size_t>(group ? core::GroupKey(n) : n); };
  std::bitset<core::kNumberCount> listed;
  for (const auto& line : list) {
    const int n = core::ParseNumber(line);
    if (n != core::kNoNumber) listed.set(key(n));
  }
  Placed placed{list, list.empty() ? madeType : type, 0};
  for (const auto& line : made) {
    const int n = core::ParseNumber(line);
    if (n != core::kNoNumber && listed.test(key(n))) {
      ++placed.skipped;
      continue;
    }
    if (n != core::kNoNumber) listed.set(key(n));
    placed.lines.push_back(line);
  }
  return {std::move(placed), {}};
}

std::string SkippedText(std::size_t skipped) {
  return "已跳过 " + std::to_string(skipped) + " 注重复号码";
}

}  // namespace plays
