// UTF-8 inside the program, UTF-16 at the Windows API: the conversions and
// the caret offsets between the two (code points inside, UTF-16 units there).
#pragma once

#include <string>
#include <string_view>

namespace tk::win32 {

// Invalid UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

// Number of UTF-16 units in the first `codePoints` code points of `text`
// (all of it when there are fewer).
int UnitsOfCodePoints(std::wstring_view text, int codePoints);
// Number of code points in the first `units` UTF-16 units of `text`; a unit
// offset inside a surrogate pair counts the pair.
int CodePointsOfUnits(std::wstring_view text, int units);

// Tooltips and message boxes are as wide as their text measures, and a glyph
// drawn wider than it measures (Wine's bitmap strikes of some Chinese faces)
// would cut the last character or wrap it out of sight: the text they show
// ends in an ideographic space that gives it room.
inline constexpr wchar_t kBoxPad = L'\u3000';
inline std::wstring BoxText(std::string_view utf8) {
  return Widen(utf8) + kBoxPad;
}

}  // namespace tk::win32
