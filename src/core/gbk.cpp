// GBK as UTF-8, alike on every system, character by character: a byte or
// pair is text when the code page maps it to one character outside the
// private-use area (the user-defined areas, which iconv rejects and Windows
// maps to private use, are not text on either system); anything else is
// U+FFFD for its first byte, and decoding goes on at the next byte.
#include "core/gbk.h"

#include <string>

#include "core/text.h"

namespace core {

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() * 3 / 2 + 4);
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    std::size_t size = 0;
    if (c == 0x80) {
      size = 1;  // €
    } else if (c <= 0xFE && i + 1 < gbk.size()) {
      size = 2;
    }
    char32_t ch = size > 0 ? CodePage936Char(gbk.data() + i, size) : 0xFFFD;
    if (ch >= 0xE000 && ch <= 0xF8FF) ch = 0xFFFD;
    out += EncodeChar(ch);
    i += ch == 0xFFFD ? 1 : size;
  }
  return out;
}

}  // namespace core
