// The system's code page 936, one character at a time: the only part of GBK
// decoding that differs between systems (gbk_posix.cpp, gbk_win32.cpp).
#pragma once

#include <cstddef>

namespace core {

// The character the code page gives exactly these bytes (one byte, 0x80, or
// a pair); U+FFFD when it has none.
char32_t CodePage936Char(const char* bytes, std::size_t size);

}  // namespace core
