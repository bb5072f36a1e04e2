// The draws window (开奖号码与走势) as data.
#pragma once

#include <array>
#include <string_view>

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kDrawsCaption = "开奖号码与走势";
// The drop-down's choices of rows shown, and how many draws each shows (0: all).
inline constexpr std::array<std::string_view, 4> kShownItems = {"近 30 期", "近 50 期", "近 100 期",
                                                                "全部"};
inline constexpr std::array<int, 4> kShownCounts = {30, 50, 100, 0};
inline constexpr int kShownDefault = 2;
// The smallest client area the window can be dragged to, at 96 dpi: every
// row whole beside the chart.
inline constexpr tk::Size kDrawsMinimum{720, 360};

const tk::FormSpec& DrawsFormSpec();

}  // namespace app
