// What the program's windows share when they are written down as tables.
#pragma once

#include <string_view>
#include <vector>

#include "toolkit/layout.h"

namespace app {

// One row of a window's table.
tk::ControlSpec Make(std::string_view name, tk::Kind kind, std::string_view parent, tk::Rect rect,
                     int tab = -1, std::string_view text = {});
// The same row, running `handler` when clicked.
tk::ControlSpec Clickable(tk::ControlSpec c, std::string_view handler);

// A window of the program: its rows, its caption and client size, in the
// program's face. The rows are kept for the rest of the run.
tk::FormSpec MakeForm(std::string_view name, std::string_view caption, int clientWidth,
                      int clientHeight, const std::vector<tk::ControlSpec>& controls);

}  // namespace app
