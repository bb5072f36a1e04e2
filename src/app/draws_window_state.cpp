#include "app/draws_window_state.h"

#include <charconv>

#include "app/draws_table.h"
#include "core/tokens.h"

namespace app {

namespace {

// A side's length as typed, within [least, 10000]; -1 otherwise.
int SideOf(std::string_view text, int least) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return -1;
  return value >= least && value <= 10000 ? value : -1;
}

}  // namespace

std::string DrawsWindowFileBytes(const DrawsWindowState& state) {
  std::string out;
  if (state.client.width > 0 && state.client.height > 0) {
    out += "width=" + std::to_string(state.client.width) + "\r\n";
    out += "height=" + std::to_string(state.client.height) + "\r\n";
  }
  if (state.shown >= 0 && state.shown < static_cast<int>(kShownItems.size())) {
    out += "shown=" + std::string(kShownItems[static_cast<std::size_t>(state.shown)]) + "\r\n";
  }
  return out;
}

DrawsWindowState ReadDrawsWindowFile(std::string_view bytes) {
  DrawsWindowState state;
  int width = -1;
  int height = -1;
  core::ForEachLine(bytes, [&](std::string_view line, std::size_t /*number*/) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return true;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    if (key == "width") width = SideOf(value, kDrawsMinimum.width);
    if (key == "height") height = SideOf(value, kDrawsMinimum.height);
    if (key != "shown") return true;
    for (std::size_t i = 0; i < kShownItems.size(); ++i) {
      if (kShownItems[i] == value) state.shown = static_cast<int>(i);
    }
    return true;
  });
  if (width > 0 && height > 0) state.client = {width, height};
  return state;
}

}  // namespace app
