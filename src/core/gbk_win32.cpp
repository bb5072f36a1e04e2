// Code page 936 through the system's own conversion.
#include <windows.h>

#include "core/gbk.h"

namespace core {

char32_t CodePage936Char(const char* bytes, std::size_t size) {
  wchar_t wide[2];
  if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size), wide, 2) != 1)
    return 0xFFFD;
  return static_cast<char32_t>(wide[0]);
}

}  // namespace core
