#include "toolkit/win32/wide.h"

#include <windows.h>

namespace tk::win32 {

namespace {

bool IsHigh(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

int UnitsOfCodePoints(std::wstring_view text, int codePoints) {
  std::size_t i = 0;
  for (int cp = 0; cp < codePoints && i < text.size(); ++cp) {
    const bool pair = IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]);
    i += pair ? 2 : 1;
  }
  return static_cast<int>(i);
}

int CodePointsOfUnits(std::wstring_view text, int units) {
  int cp = 0;
  std::size_t i = 0;
  const std::size_t end = units < 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(units));
  while (i < end) {
    const bool pair = IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]);
    i += pair ? 2 : 1;
    ++cp;
  }
  return cp;
}

}  // namespace tk::win32
