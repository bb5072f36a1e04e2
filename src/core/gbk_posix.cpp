// Code page 936 through glibc's iconv.
#include <iconv.h>

#include "core/gbk.h"

namespace core {

namespace {

// One converter per thread, opened at first use.
struct Converter {
  iconv_t cd = iconv_open("UTF-32LE", "GBK");
  ~Converter() {
    if (Ok()) iconv_close(cd);
  }
  // iconv_open reports failure as (iconv_t)-1.
  bool Ok() const {
    return cd != reinterpret_cast<iconv_t>(-1);
  }  // NOLINT(performance-no-int-to-ptr)
};

}  // namespace

char32_t CodePage936Char(const char* bytes, std::size_t size) {
  thread_local Converter converter;
  if (!converter.Ok()) return 0xFFFD;
  char in[2] = {bytes[0], size > 1 ? bytes[1] : '\0'};
  unsigned char out[8];
  char* from = in;
  std::size_t left = size;
  char* to = reinterpret_cast<char*>(out);
  std::size_t room = sizeof out;
  iconv(converter.cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter.cd, &from, &left, &to, &room) == static_cast<std::size_t>(-1) || left != 0 ||
      room != sizeof out - 4) {
    return 0xFFFD;
  }
  return static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 |
         static_cast<char32_t>(out[2]) << 16 | static_cast<char32_t>(out[3]) << 24;
}

}  // namespace core
