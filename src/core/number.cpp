#include "core/number.h"

namespace core {

std::string NumberText(int number) {
  const char s[3] = {static_cast<char>('0' + DigitAt(number, 0)),
                     static_cast<char>('0' + DigitAt(number, 1)),
                     static_cast<char>('0' + DigitAt(number, 2))};
  return std::string(s, 3);
}

std::string_view ShapeText(Shape shape) {
  switch (shape) {
    case Shape::kBaozi:
      return "豹子";
    case Shape::kZu3:
      return "组三";
    case Shape::kZu6:
      break;
  }
  return "组六";
}

}  // namespace core
