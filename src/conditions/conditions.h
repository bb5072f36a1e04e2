// Trimming a bet list by the usual conditions of the game (sum, span, shape,
// ratios, must-have and banned digits, positions, pairs, runs, repeats of the
// last draw), allowing a number to fail some of them (容错), and group bets.
// Pure functions of text: the conditions window and the list menu call them.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/number.h"

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
inline constexpr std::string_view kPosInvalid =
    "定位应在百位、十位、个位中至少一位填 0–9 的数字，如 百位 12、个位 3";
inline constexpr std::string_view kPairInvalid =
    "二码应为两位数字一组，组间用逗号或空格分开，如 12 35";
inline constexpr std::string_view kPairSumInvalid = "两码和应为 0–9 之间的数，如 0-2,5";
inline constexpr std::string_view kPairDiffInvalid = "两码差应为 0–9 之间的数，如 0-2,5";
inline constexpr std::string_view kDzxInvalid = "大中小比应为三数之和为 3 的比例，如 1:1:1,2:1:0";
inline constexpr std::string_view kPrimeInvalid = "质合比应至少勾选一种比例，如 2:1";
inline constexpr std::string_view kRunInvalid = "连号应至少勾选全顺、半顺、非顺中的一项";
inline constexpr std::string_view kRepeatInvalid = "重号应至少勾选一种个数，如 1";
inline constexpr std::string_view kRepeatNoDraw =
    "重号要与最近一期开奖号码比较，现在还没有开奖号码";
// 容错 must lie between 0 and the number of ticked conditions minus one:
// "容错应为 0–2 之间的数（已选 3 个条件），如 1".
std::string ToleranceInvalidText(int ticked);

// What each input accepts: conditions/inputs.h.

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

  bool pos = false;  // 定位: digits allowed at 百位, 十位, 个位; an empty edit allows any
  std::string posHText, posTText, posUText;
  bool pair = false;  // 二码: pairs of two digits, e.g. "12 35"
  std::string pairText;
  bool pairSum = false;  // 两码和: values 0-9 and ranges
  std::string pairSumText;
  bool pairDiff = false;  // 两码差: values 0-9 and ranges
  std::string pairDiffText;
  bool dzx = false;  // 大中小比: patterns x:y:z of 大 7-9, 中 3-6, 小 0-2
  std::string dzxText;
  bool prime = false;  // 质合比 (质 1 2 3 5 7), index 0..3 = 3:0, 2:1, 1:2, 0:3
  std::array<bool, 4> primeRatios{};
  bool run = false;  // 连号
  bool runFull = false, runHalf = false, runNone = false;
  bool repeat = false;  // 重号: index = distinct digits shared with repeatDraw, 0..3
  std::array<bool, 4> repeatCounts{};
  std::string repeatDraw;  // the latest draw as three digits; the window's, not a 方案's

  std::string toleranceText;  // 容错: how many ticked conditions a number may fail; empty is 0

  friend bool operator==(const FilterSettings&, const FilterSettings&) = default;
};

// The conditions, 和值 to 重号: conditions/condition_table.h.
inline constexpr int kConditionCount = 17;
// Whether condition i (in the window's order) is ticked.
bool IsTicked(const FilterSettings& settings, int condition);
int TickedCount(const FilterSettings& settings);

// The settings compiled: either an error (what is wrong and how to write it,
// for the count label) or, for each number 000-999, how many ticked conditions
// it fails and whether that is at most 容错 (every number meets when none is
// ticked; none with an error). Of several invalid ticked conditions the first
// in the window's order, 和值 to 重号, gives the error; 容错 is checked last.
struct CompiledFilter {
  std::string error;  // empty when the settings are valid
  bool anyTicked = false;
  std::bitset<core::kNumberCount> meets;
  int ticked = 0;
  int tolerance = 0;
  std::array<std::uint8_t, core::kNumberCount> misses{};
};

CompiledFilter CompileFilter(const FilterSettings& settings);

// For each line, whether it goes. A line that is no number (core::ParseNumber)
// meets no condition. With no condition ticked, or an error, nothing goes, in
// either mode.
std::vector<bool> LinesThatGo(const std::vector<std::string>& lines, const CompiledFilter& filter,
                              bool dropMatching);

// The figures of the count label, without building the vector of LinesThatGo:
// M lines, K of them meeting the conditions (every three-digit line when none
// is ticked, none with an error), D going.
// byMisses[k]: the three-digit lines that fail exactly k ticked conditions
// (all of them in byMisses[0] when none is ticked; zeros with an error).
struct FilterCounts {
  int lines = 0;
  int meeting = 0;
  int going = 0;
  int tolerance = 0;
  std::array<int, kConditionCount + 1> byMisses{};
};
FilterCounts CountFilter(const std::vector<std::string>& lines, const CompiledFilter& filter,
                         bool dropMatching);

// A list reduced to how many of its lines spell each number 000-999: while
// the list cannot change (the conditions window is modal), each recount
// costs 1,000 steps whatever the list's length.
struct LineTally {
  int lines = 0;
  std::array<int, core::kNumberCount> perNumber{};
};
LineTally TallyLines(const std::vector<std::string>& lines);
FilterCounts CountFilter(const LineTally& tally, const CompiledFilter& filter, bool dropMatching);

// "投注列表 M 注，符合条件 K 注，将删除 D 注"
std::string FilterCountText(int lines, int meeting, int going);
// The same with 容错 0; with 容错 T above 0 the lines that miss none, one, ...
// T: "投注列表 M 注：全中 a 注，错一 b 注，错二 c 注；将删除 D 注".
std::string FilterCountText(const FilterCounts& counts);

// The ticked conditions as a user reads them aloud, inputs in a tidy form
// (an input that is not valid as typed, shortened):
// "已选条件：和值 10-14,18；形态 组六；杀码 4；容错 1"; "已选条件：无" when none.
std::string FilterSummary(const FilterSettings& settings);

}  // namespace numbers
