// The bet type of a list: what it holds, kept beside its lines.
#pragma once

#include "core/bet.h"

namespace numbers {

// What a list holds, kept beside its lines: 直选 numbers, or 组选 groups made
// by 转为组选号码, which dropped some 豹子.
struct BetType {
  core::BetKind kind = core::BetKind::kDirect;
  int baoziDropped = 0;  // 组选 only
  bool operator==(const BetType&) const = default;
};
inline constexpr BetType kDirectBets{};
constexpr BetType GroupBets(int baoziDropped) {
  return {core::BetKind::kGroup, baoziDropped};
}
// The history keeps the bet type as an int tag: 0 for 直选, 1 + the 豹子
// dropped for 组选. These two are the only places that know it.
constexpr int TagOf(BetType type) {
  return type.kind == core::BetKind::kGroup ? type.baoziDropped + 1 : 0;
}
constexpr BetType BetTypeOf(int tag) {
  return tag > 0 ? GroupBets(tag - 1) : kDirectBets;
}
}  // namespace numbers
