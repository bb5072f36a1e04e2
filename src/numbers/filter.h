// Trimming a bet list by the usual conditions of the game (sum, span, shape,
// ratios, must-have and banned digits), and group bets. Pure functions of
// text: the conditions window and the list menu call them.
#pragma once

#include <array>
#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace numbers {

// What the count label shows instead of the count while a ticked condition's
// input is not valid: what is wrong and how to write it.
inline constexpr std::string_view kSumInvalid = "和值应为 0–27 之间的数，如 10-14,18";
inline constexpr std::string_view kSpanInvalid = "跨度应为 0–9 之间的数，如 0-2,5";
inline constexpr std::string_view kTailInvalid = "和尾应为 0–9 之间的数，如 0-2,5";
inline constexpr std::string_view kShapeInvalid = "形态应至少勾选豹子、组三、组六中的一项";
inline constexpr std::string_view kOddInvalid = "奇偶比应至少勾选一种比例，如 2:1";
inline constexpr std::string_view kBigInvalid = "大小比应至少勾选一种比例，如 2:1";
inline constexpr std::string_view kRoadInvalid = "012路比应为三数之和为 3 的比例，如 1:1:1,2:1:0";
inline constexpr std::string_view kDanInvalid = "胆码应为 0–9 的数字，如 1,5";
inline constexpr std::string_view kKillInvalid = "杀码应为 0–9 的数字，如 4,7";

// Inputs accept ASCII and fullwidth forms alike. Separators: , ， 、 blank, tab,
// U+3000, U+00A0. Values: numbers and ranges a-b (a <= b; - － ~ ～ – — − as the range
// mark, blanks around it allowed). 012路比: patterns x:y:z (: or ：). 胆码 and
// 杀码: digits, repeats harmless. Anything else, or nothing, is not valid.

// What the conditions window holds: a ticked flag per condition and its input.
struct FilterSettings {
  bool sum = false;  // 和值: sumText holds values 0-27 and ranges
  std::string sumText;
  bool span = false;  // 跨度: 0-9
  std::string spanText;
  bool tail = false;  // 和尾: 0-9
  std::string tailText;
  bool shape = false;  // 形态
  bool baozi = false, zu3 = false, zu6 = false;
  bool odd = false;  // 奇偶比, index 0..3 = 3:0, 2:1, 1:2, 0:3
  std::array<bool, 4> oddRatios{};
  bool big = false;  // 大小比, same order
  std::array<bool, 4> bigRatios{};
  bool road = false;  // 012路比: patterns x:y:z
  std::string roadText;
  bool dan = false;  // 胆码: digits
  std::string danText;
  bool danAll = false;  // false: at least one (rdoDanAny); true: all (rdoDanAll)
  bool kill = false;    // 杀码: digits
  std::string killText;
  bool dropMatching = false;  // rdoDrop: the numbers that meet go
};

// The settings compiled: either an error (what is wrong and how to write it,
// for the count label) or, for each number 000-999, whether it meets every
// ticked condition (all of them when none is ticked; none with an error).
// Of several invalid ticked conditions the first in the window's order, 和值
// to 杀码, gives the error.
struct CompiledFilter {
  std::string error;  // empty when the settings are valid
  bool anyTicked = false;
  std::bitset<1000> meets;
};

CompiledFilter CompileFilter(const FilterSettings& settings);

// The number a line spells (0-999), or -1 when it is not three ASCII digits.
int NumberOf(std::string_view line);

// For each line, whether it goes. A line that is not three digits meets no
// condition. With no condition ticked, or an error, nothing goes, in either mode.
std::vector<bool> LinesThatGo(const std::vector<std::string>& lines, const CompiledFilter& filter,
                              bool dropMatching);

// The figures of the count label, without building the vector of LinesThatGo:
// M lines, K of them meeting the conditions (every three-digit line when none
// is ticked, none with an error), D going.
struct FilterCounts {
  int lines = 0;
  int meeting = 0;
  int going = 0;
};
FilterCounts CountFilter(const std::vector<std::string>& lines, const CompiledFilter& filter,
                         bool dropMatching);

// "投注列表 M 注，符合条件 K 注，将删除 D 注"
std::string FilterCountText(int lines, int meeting, int going);

// 组选: each three-digit line as its digits in ascending order, the first of
// each group kept in order of first appearance, 豹子 dropped; other lines stay.
std::vector<std::string> ToGroups(const std::vector<std::string>& lines);
// Each three-digit line as all its distinct orderings in ascending order,
// repeats after the first dropped; other lines stay.
std::vector<std::string> ExpandGroups(const std::vector<std::string>& lines);

}  // namespace numbers
