#include <string>

#include "toolkit/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace tk {

#ifdef _WIN32

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

#else

std::string GbkToUtf8(std::string_view gbk) {
  static const std::string kReplacement = "\xEF\xBF\xBD";
  iconv_t cd = iconv_open("UTF-8", "GBK");
  // iconv_open reports failure as (iconv_t)-1.
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};  // NOLINT(performance-no-int-to-ptr)
  std::string out;
  out.reserve(gbk.size() * 3 / 2 + 4);
  char buffer[1024];
  char* in = const_cast<char*>(gbk.data());
  std::size_t left = gbk.size();
  while (left > 0) {
    char* to = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &left, &to, &room);
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or cut-off sequence: replace one byte and go on.
      out += kReplacement;
      ++in;
      --left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

#endif

}  // namespace tk
