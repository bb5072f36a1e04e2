// The conditions window as data.
#pragma once

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kFilterCaption = "条件过滤";

const tk::FormSpec& FilterFormSpec();

}  // namespace app
