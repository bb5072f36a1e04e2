#include "core/notice.h"

#include <limits>

#include "core/text.h"

namespace core {

std::string LineRef(std::size_t line) {
  return "第 " + std::to_string(line) + " 行";
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string Shown(std::string_view text) {
  return ShownInNotice(text, kShownChars);
}

std::string ShownPath(std::string_view path) {
  return ShownInNotice(path, std::numeric_limits<std::size_t>::max());
}

}  // namespace core
