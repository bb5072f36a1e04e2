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

std::string GbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int n = static_cast<int>(gbk.size());
  const int wlen = MultiByteToWideChar(936, 0, gbk.data(), n, nullptr, 0);
  if (wlen <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wlen), L'\0');
  MultiByteToWideChar(936, 0, gbk.data(), n, wide.data(), wlen);
  const int ulen = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wlen, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(ulen), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wlen, out.data(), ulen, nullptr, nullptr);
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
