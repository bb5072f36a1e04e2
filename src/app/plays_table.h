// The plays window (投注方式) as data.
#pragma once

#include <string>

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kPlaysCaption = "投注方式";

const tk::FormSpec& PlaysFormSpec();

// The names of a digit row's boxes: row 0 号码 or 胆码, row 1 拖码.
std::string PlaysDigitBox(int row, int digit);

}  // namespace app
