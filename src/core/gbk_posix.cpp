// GBK through iconv. The same rule as gbk_win32.cpp, character by character:
// a byte or pair is text when the code page maps it to one character outside
// the private-use area (the user-defined areas are not text on either
// system); anything else is U+FFFD for its first byte, and decoding goes on
// at the next byte.
#include <iconv.h>

#include <string>

#include "core/text.h"

namespace core {

namespace {

// The character of one byte (0x80) or one pair; U+FFFD when the code page
// has none for exactly these bytes.
char32_t DecodeOne(iconv_t cd, const char* bytes, std::size_t size) {
  char in[2] = {bytes[0], size > 1 ? bytes[1] : '\0'};
  unsigned char out[8];
  char* from = in;
  std::size_t left = size;
  char* to = reinterpret_cast<char*>(out);
  std::size_t room = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &from, &left, &to, &room) == static_cast<std::size_t>(-1) || left != 0 ||
      room != sizeof out - 4) {
    return 0xFFFD;
  }
  const char32_t c = static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 |
                     static_cast<char32_t>(out[2]) << 16 | static_cast<char32_t>(out[3]) << 24;
  return c >= 0xE000 && c <= 0xF8FF ? 0xFFFD : c;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  iconv_t cd = iconv_open("UTF-32LE", "GBK");
  // iconv_open reports failure as (iconv_t)-1.
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};  // NOLINT(performance-no-int-to-ptr)
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
    const char32_t ch = size > 0 ? DecodeOne(cd, gbk.data() + i, size) : 0xFFFD;
    out += EncodeChar(ch);
    i += ch == 0xFFFD ? 1 : size;
  }
  iconv_close(cd);
  return out;
}

}  // namespace core
