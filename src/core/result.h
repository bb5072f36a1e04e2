// What every reader of a file, a page or an edit gives back: the value it
// read, or the notice that refuses the input (naming the file or the field,
// and the line, as the user will read it). A refused read changes nothing.
#pragma once

#include <string>
#include <string_view>

namespace core {

template <typename T>
struct Read {
  T value{};            // defaults when refused
  std::string refusal;  // empty when the input was read

  bool Ok() const { return refusal.empty(); }
  static Read Refused(std::string_view notice) {
    Read r;
    r.refusal = notice;
    return r;
  }
};

}  // namespace core
