// The seventeen conditions as one table, a row each: its name, the controls
// it owns in the conditions window, how its input compiles, how it reads in
// the summary, and how a 方案 file names its items. Compiling, counting the
// ticked ones, the summary, the 方案 file and the window's wiring all walk
// the rows, so a new condition is a new row (and its settings).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/conditions.h"
#include "core/number.h"
#include "core/result.h"

namespace numbers {

// A set of the numbers 000-999: whether each is in it. A byte each, so that
// counting the sets a number misses is one pass per set.
using NumberSet = std::array<bool, core::kNumberCount>;

// A setting shown by one control of the window (by one pair of options),
// and its item in a 方案 file.
struct SettingControl {
  enum class Kind { kInput, kBox, kOption };
  Kind kind = Kind::kBox;
  std::string_view control{};    // the edit, the check box, or the option chosen when true
  std::string_view other{};      // kOption: the option chosen when false
  std::string_view item{};       // its name in a 方案 file, after the condition's and a dot
  std::string_view no{}, yes{};  // kOption: its two values in a 方案 file
  std::string FilterSettings::*text = nullptr;           // kInput
  bool FilterSettings::*flag = nullptr;                  // kBox, kOption: a flag ...
  std::array<bool, 4> FilterSettings::*boxes = nullptr;  // ... or one of a row of four
  std::size_t index = 0;
};

bool& FlagOf(FilterSettings& settings, const SettingControl& control);
bool FlagOf(const FilterSettings& settings, const SettingControl& control);
std::string& TextOf(FilterSettings& settings, const SettingControl& control);
const std::string& TextOf(const FilterSettings& settings, const SettingControl& control);

struct Condition {
  std::string_view name{};  // as the window, the summary and a 方案 file call it
  std::string_view box{};   // its own check box
  bool FilterSettings::*ticked = nullptr;
  // The inputs, boxes and options it owns, in the window's order.
  std::vector<SettingControl> parts{};
  // What the count label shows while its input is not valid.
  std::string_view invalid{};
  // The numbers that meet it, or the text that refuses its input.
  core::Read<NumberSet> (*compile)(const Condition& self, const FilterSettings& settings) = nullptr;
  // Its input in the summary, after its name: "10-14,18", "组六".
  std::string (*summary)(const Condition& self, const FilterSettings& settings) = nullptr;
};

// In the window's order, 和值 first.
std::span<const Condition, kConditionCount> Conditions();

// The window's two settings that are no condition.
inline constexpr SettingControl kModeSetting{.kind = SettingControl::Kind::kOption,
                                             .control = "rdoDrop",
                                             .other = "rdoKeep",
                                             .item = "模式",
                                             .no = "保留符合条件的号码",
                                             .yes = "删除符合条件的号码",
                                             .flag = &FilterSettings::dropMatching};
inline constexpr SettingControl kToleranceSetting{.kind = SettingControl::Kind::kInput,
                                                  .control = "edtTolerance",
                                                  .item = "容错",
                                                  .text = &FilterSettings::toleranceText};

}  // namespace numbers
