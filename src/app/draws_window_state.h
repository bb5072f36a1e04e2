// What the draws window keeps between openings: its size and how many draws
// it shows, in a small file of the data folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "toolkit/layout.h"

namespace app {

inline constexpr std::string_view kDrawsWindowFileName = "draws-window.txt";
inline constexpr std::size_t kDrawsWindowFileMaxBytes = 4096;

struct DrawsWindowState {
  tk::Size client;  // at 96 dpi; empty: the designed size
  int shown = -1;   // index of the drop-down's choice; -1: the default
  bool operator==(const DrawsWindowState&) const = default;
};

// The file's lines "width=…", "height=…", "shown=…" (the choice's text).
std::string DrawsWindowFileBytes(const DrawsWindowState& state);
// What a file holds; any line it cannot take (an unknown key, a size
// outside the window's bounds, a choice it does not offer) is left at its
// default, so a damaged file opens the window as it was designed.
DrawsWindowState ReadDrawsWindowFile(std::string_view bytes);

}  // namespace app
