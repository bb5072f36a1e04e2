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
// ticked condition.
struct CompiledFilter {
  std::string error;  // empty when the settings are valid
  bool anyTicked = false;
  std::bitset<1000> meets;
};

CompiledFilter CompileFilter(const FilterSettings& settings);

// The number a line spells (0-999), or -1 when it is not three ASCII digits.
int NumberOf(std::string_view line);

// For each line, whether it goes. A line that is not three digits meets no
// condition. With no condition ticked nothing goes, in either mode.
std::vector<bool> LinesThatGo(const std::vector<std::string>& lines, const CompiledFilter& filter,
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
