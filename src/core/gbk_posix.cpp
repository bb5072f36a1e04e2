// GBK through glibc's iconv.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "core/text.h"

namespace core {

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

}  // namespace core
