// GBK through the system's code page 936.
#include <windows.h>

#include <string>

#include "core/text.h"

namespace core {

namespace {

void AppendWide(std::string& out, const wchar_t* wide, int wlen) {
  const int ulen = WideCharToMultiByte(CP_UTF8, 0, wide, wlen, nullptr, 0, nullptr, nullptr);
  if (ulen <= 0) return;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(ulen));
  WideCharToMultiByte(CP_UTF8, 0, wide, wlen, out.data() + at, ulen, nullptr, nullptr);
}

}  // namespace

// Character by character, so that a byte the code page rejects becomes
// U+FFFD here too instead of a private-use or default character.
std::string GbkToUtf8(std::string_view gbk) {
  static const std::string kReplacement = "\xEF\xBF\xBD";
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
    wchar_t wide[2];
    int wlen = 0;
    if (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) {
      wlen = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data() + i, 2, wide, 2);
    }
    if (wlen > 0) {
      AppendWide(out, wide, wlen);
      i += 2;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  return out;
}

}  // namespace core
