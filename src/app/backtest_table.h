// The 历史验证 window as data.
#pragma once

#include <string_view>

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kBacktestCaption = "历史验证";

const tk::FormSpec& BacktestFormSpec();

}  // namespace app
