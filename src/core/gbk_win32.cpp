// GBK through the system's code page 936. The same rule as gbk_posix.cpp,
// character by character: a byte or pair is text when the code page maps it
// to one character outside the private-use area (the user-defined areas,
// which iconv rejects, are not text here either); anything else is U+FFFD
// for its first byte, and decoding goes on at the next byte.
#include <windows.h>

#include <string>

#include "core/text.h"

namespace core {

namespace {

// The character of one byte (0x80) or one pair; U+FFFD when the code page
// has none for exactly these bytes.
char32_t DecodeOne(const char* bytes, int size) {
  wchar_t wide[2];
  if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, size, wide, 2) != 1) return 0xFFFD;
  const auto c = static_cast<char32_t>(wide[0]);
  return c >= 0xE000 && c <= 0xF8FF ? 0xFFFD : c;
}

}  // namespace

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
    int size = 0;
    if (c == 0x80) {
      size = 1;  // €
    } else if (c <= 0xFE && i + 1 < gbk.size()) {
      size = 2;
    }
    const char32_t ch = size > 0 ? DecodeOne(gbk.data() + i, size) : 0xFFFD;
    out += EncodeChar(ch);
    i += ch == 0xFFFD ? 1 : static_cast<std::size_t>(size);
  }
  return out;
}

}  // namespace core
