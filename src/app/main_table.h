// The main window as data: every control with its place, looks and handlers.
#pragma once

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kTitle = "Qelmar3D彩票助手";

// Tops of the three digit rows inside a selection panel.
inline constexpr int kRowTops[3] = {32, 64, 96};
// Left edges of the digit boxes 0 to 9.
inline constexpr int kBoxLefts[10] = {56, 92, 129, 165, 202, 238, 275, 311, 348, 384};

const tk::FormSpec& MainFormSpec();

}  // namespace app
