// Pieces every notice is built from, so that each reads the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// A token or a file's name longer than this many characters is cut in a
// notice, so the box stays readable.
inline constexpr std::size_t kShownChars = 20;

// "第 N 行".
std::string LineRef(std::size_t line);
// The last component of a path (after / or \).
std::string_view FileNameOf(std::string_view path);
// A token or a name as a notice quotes it, without the quotes: control
// characters and stray bytes as U+FFFD, cut after kShownChars with "…".
std::string Shown(std::string_view text);
// A whole path as a notice may show it: control characters and stray bytes
// as U+FFFD, never cut.
std::string ShownPath(std::string_view path);

}  // namespace core
