// The reference of the fuzz targets for letter case: the pairs of capitals
// and small letters that compare equal, written out from the alphabets
// rather than taken from the program's own folding.
#pragma once

struct CasePairs {
  char32_t capital;  // first capital
  char32_t small;    // first small letter
  char32_t count;    // how many
};
inline constexpr CasePairs kCasePairs[] = {
    {U'A', U'a', 26},     {0x0391, 0x03B1, 17}, {0x03A3, 0x03C3, 7},  {0x0401, 0x0451, 1},
    {0x0410, 0x0430, 32}, {0x2160, 0x2170, 10}, {0xFF21, 0xFF41, 26},
};
