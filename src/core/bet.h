// What a bet costs and which kind a list holds.
#pragma once

#include <string>

namespace core {

inline constexpr int kBetCost = 2;  // 元 per line

// A 直选 list (numbers as drawn) or a 组选 list (groups, digits in any order).
enum class BetKind { kDirect, kGroup };

// "共 N 注，金额 2N 元".
std::string CostText(long long count);

}  // namespace core
