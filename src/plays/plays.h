// The plays other tools offer (和值, 跨度, 组合, 复式, 包号, 胆拖): what each
// makes of its inputs, counted and written out before anything enters the
// bet list, and how its lines join the list. Pure functions; every rule of
// a number comes from core/number.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "lists/bet_type.h"

namespace plays {

enum class Play {
  kDirectSum,    // 直选和值
  kDirectSpan,   // 直选跨度
  kDirectCombo,  // 直选组合
  kGroupSum,     // 组选和值
  kZu3,          // 组三复式
  kZu6,          // 组六复式
  kGroupPack,    // 组选包号
  kZu3DanTuo,    // 组三胆拖
  kZu6DanTuo,    // 组六胆拖
};
inline constexpr int kPlayCount = 9;

// What a play reads: values typed in an edit (和值 or 跨度), one row of
// digits, or 胆码 and 拖码.
enum class Needs { kSums, kSpans, kDigits, kDanTuo };

struct PlayInfo {
  Play play;
  std::string_view name;
  bool group;  // makes 组选 lines
  Needs needs;
  std::string_view note;  // what one bet is, for the window
};
// In the window's order.
const std::array<PlayInfo, kPlayCount>& AllPlays();
const PlayInfo& InfoOf(Play play);

// A play's inputs: digit sets as bits (bit d for digit d) and the values
// text as typed.
struct Inputs {
  unsigned digits = 0;  // 号码, or 胆码 for the 胆拖 plays
  unsigned tuo = 0;     // 拖码
  std::string values;   // 和值 or 跨度: "13", "10-14,18"
};

// Values and ranges ("13", "10-14,18", fullwidth forms, 、 and blanks as
// separators, - － ~ ～ – — − as the range mark) within low..high: bit v for
// each value v; refused with the window's text when empty or not valid.
core::Read<std::uint32_t> ReadValues(std::string_view text, int low, int high,
                                     std::string_view refusal);

// How many bets the inputs make, or why they make none yet.
core::Read<long long> CountOf(Play play, const Inputs& in);
// The bets, in ascending order: 直选 numbers, or 组选 groups written with
// their digits ascending ("112", "123").
core::Read<std::vector<std::string>> LinesOf(Play play, const Inputs& in);

// What the window keeps between openings for the rest of the run.
struct Choice {
  Play play = Play::kDirectSum;
  unsigned digits = 0;
  unsigned tuo = 0;
  std::string sums;
  std::string spans;
  friend bool operator==(const Choice&, const Choice&) = default;
};
// The inputs of the chosen play.
Inputs InputsOf(const Choice& choice);

// The bet list after a play's lines go in: replacing takes the lines and
// their kind; adding appends those not listed yet (a 组选 group matches its
// digits in any order) and counts the rest, and is refused when the list
// holds lines of the other kind. `type` is the list's bet type.
struct Placed {
  std::vector<std::string> lines;
  numbers::BetType type;
  std::size_t skipped = 0;
};
core::Read<Placed> Place(const std::vector<std::string>& list, numbers::BetType type,
                         const std::vector<std::string>& made, bool group, bool replace);
// "已跳过 K 注重复号码".
std::string SkippedText(std::size_t skipped);

}  // namespace plays
