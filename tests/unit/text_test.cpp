#include "core/text.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/lists.h"

namespace {

using Strings = std::vector<std::string>;

TEST(Text, TrimRemovesCodesUpToSpaceOnlyAtTheEnds) {
  EXPECT_EQ(core::Trim(std::string("\x01 \t1 2\r\n\x1f ", 10)), "1 2");
  EXPECT_EQ(core::Trim(std::string("\0a\0", 3)), "a");
  EXPECT_EQ(core::Trim("   "), "");
  EXPECT_EQ(core::Trim("\x7f"), "\x7f");                    // DEL is code 127: kept
  EXPECT_EQ(core::Trim("\xE3\x80\x80x"), "\xE3\x80\x80x");  // ideographic space stays
}

TEST(Text, CharactersAreCodePointsAndStrayBytesStandAlone) {
  std::vector<std::string_view> want = {"a", "中", "😀", "\xFF", "\xE4\xB8", "b"};
  const std::string text =
      "a中😀\xFF\xE4\xB8"
      "b";
  auto chars = core::Chars(text);
  ASSERT_EQ(chars.size(), 7u);  // the cut-off sequence is two stray bytes
  EXPECT_EQ(chars[1], "中");
  EXPECT_EQ(chars[2], "😀");
  EXPECT_EQ(chars[3], "\xFF");
  EXPECT_EQ(chars[4], "\xE4");
  EXPECT_EQ(core::CharCount(text), 7u);
  EXPECT_EQ(core::ByteOffsetOfChar(text, 2), 4u);
  EXPECT_EQ(core::ByteOffsetOfChar(text, 99), text.size());
  // Overlong forms and surrogates are not characters.
  EXPECT_EQ(core::CharCount("\xC0\xAF"), 2u);
  EXPECT_EQ(core::CharCount("\xED\xA0\x80"), 3u);
  EXPECT_FALSE(core::IsValidUtf8("\xED\xA0\x80"));
  EXPECT_TRUE(core::IsValidUtf8("中文😀"));
  EXPECT_EQ(core::EncodeChar(core::DecodeChar("😀")), "😀");
}

TEST(Text, LineComparisonIgnoresOnlyLetterCase) {
  EXPECT_TRUE(core::EqualsIgnoreCase("aBc", "AbC"));
  EXPECT_FALSE(core::EqualsIgnoreCase("123", "123 "));
  EXPECT_FALSE(core::EqualsIgnoreCase("[", "{"));
  EXPECT_TRUE(core::EqualsIgnoreCase("中a", "中A"));
}

TEST(Text, FullwidthGreekAndCyrillicLettersIgnoreCaseToo) {
  // Each whole alphabet: capital, small letter, count.
  struct Pairs {
    char32_t capital, small, count;
  };
  for (const Pairs& p : {Pairs{U'Ａ', U'ａ', 26}, Pairs{U'Α', U'α', 17}, Pairs{U'Σ', U'σ', 7},
                         Pairs{U'А', U'а', 32}, Pairs{U'Ё', U'ё', 1}, Pairs{U'Ⅰ', U'ⅰ', 10}}) {
    for (char32_t k = 0; k < p.count; ++k) {
      const std::string capital = core::EncodeChar(p.capital + k) + "7A";
      const std::string small = core::EncodeChar(p.small + k) + "7a";
      EXPECT_TRUE(core::EqualsIgnoreCase(capital, small)) << capital;
      EXPECT_EQ(core::FoldCase(capital), small);
      EXPECT_EQ(core::FoldCase(small), small);
    }
  }
  EXPECT_TRUE(core::EqualsIgnoreCase("ω7A", "Ω7a"));
  // Width, neighbours of the alphabets and other letters still count.
  EXPECT_FALSE(core::EqualsIgnoreCase("Ａ12", "a12"));
  EXPECT_FALSE(core::EqualsIgnoreCase("［", "｛"));
  EXPECT_FALSE(core::EqualsIgnoreCase("Ё", "е"));
  // Stray bytes stay themselves; the bytes of a capital are no letter alone.
  EXPECT_FALSE(core::EqualsIgnoreCase("\xCE", "\xCF"));
  EXPECT_EQ(core::FoldCase("\xCE"
                           "7"
                           "\xA9"),
            "\xCE"
            "7"
            "\xA9");
  EXPECT_FALSE(core::EqualsIgnoreCase("\xD0\x90", "\xD0\xB0 "));
}

#ifdef _WIN32
// Windows' own comparison, for every character of code page 936 that has a
// character of the other case there.
TEST(Text, LineComparisonAgreesWithCompareStringOverCodePage936) {
  auto inGbk = [](wchar_t c) {
    char bytes[4];
    BOOL defaulted = FALSE;
    return WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, 4, nullptr, &defaulted) >
               0 &&
           !defaulted;
  };
  int pairs = 0;
  for (unsigned u = 1; u < 0x10000; ++u) {
    const auto c = static_cast<wchar_t>(u);
    if ((u >= 0xD800 && u <= 0xDFFF) || !inGbk(c)) continue;
    wchar_t lower = c;
    wchar_t upper = c;
    CharLowerBuffW(&lower, 1);
    CharUpperBuffW(&upper, 1);
    for (wchar_t other : {lower, upper}) {
      if (other == c || !inGbk(other)) continue;
      const bool windows =
          CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, &c, 1, &other, 1) == CSTR_EQUAL;
      EXPECT_EQ(core::EqualsIgnoreCase(core::EncodeChar(u), core::EncodeChar(other)), windows)
          << std::hex << "U+" << u << " U+" << static_cast<unsigned>(other);
      ++pairs;
    }
  }
  EXPECT_GE(pairs, 2 * 119);  // ASCII, fullwidth, Greek, Cyrillic, Roman numerals
}
#endif

TEST(Text, LinesEndAtAnyLineBreakAndAtNul) {
  EXPECT_EQ(core::SplitLines("a\r\nb\nc\rd"), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(core::SplitLines("a\r\n"), Strings{"a"});
  EXPECT_EQ(core::SplitLines("\n\n"), (Strings{"", ""}));
  EXPECT_EQ(core::SplitLines("\r\r\n"), (Strings{"", ""}));
  EXPECT_EQ(core::SplitLines(std::string("a\nb\0c\nd", 7)), (Strings{"a", "b"}));
  EXPECT_TRUE(core::SplitLines("").empty());
}

TEST(Text, GbkIsDecodedOnlyForShowing) {
  EXPECT_EQ(core::GbkToUtf8("\xD6\xD0\xCE\xC4 abc"), "中文 abc");
  // Invalid or cut-off GBK never yields invalid UTF-8.
  const std::string bad = core::GbkToUtf8("\xD6\xFF\x80\xD6");
  EXPECT_TRUE(core::IsValidUtf8(bad));
  EXPECT_EQ(core::GbkToUtf8(""), "");
}

// Code page 936 and iconv read a few codes differently: the user-defined
// areas (private-use characters in the code page, rejected by iconv) are
// not text on either system, each of their bytes U+FFFD in turn; 0x80 is €
// on both. The whole double-byte table then reads the same on Linux and
// under Windows: this test runs in both unit test programs.
TEST(Text, GbkReadsTheSameOnEverySystem) {
  const std::string bad = "\xEF\xBF\xBD";
  EXPECT_EQ(core::GbkToUtf8("\x80"), "€");
  EXPECT_EQ(core::GbkToUtf8("\x80\xD6\xD0"), "€中");
  EXPECT_EQ(core::GbkToUtf8("\xAA\xA1"), bad + bad);
  EXPECT_EQ(core::GbkToUtf8("\xA1\x40\xD6\xD0"), bad + "@中");
  EXPECT_EQ(core::GbkToUtf8("\xFE\x50"), bad + "P");
  EXPECT_EQ(core::GbkToUtf8("\xD7\xFA\xA1\xA1"), bad + bad + "　");
  EXPECT_EQ(core::GbkToUtf8("\xFF\xD6"), bad + bad);
  // Punctuation that older GBK tables mapped apart.
  EXPECT_EQ(core::GbkToUtf8("\xA1\xA4\xA1\xAA\xA8\x44"), "·—―");

  int characters = 0;
  std::uint32_t digest = 0x811C9DC5;  // FNV-1a of every pair's text
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0; trail <= 0xFF; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string text = core::GbkToUtf8(std::string_view(pair, 2));
      ASSERT_TRUE(core::IsValidUtf8(text)) << std::hex << lead << trail;
      const char32_t first = core::DecodeChar(core::Chars(text).front());
      EXPECT_FALSE(first >= 0xE000 && first <= 0xF8FF) << std::hex << lead << trail;
      if (first != 0xFFFD) ++characters;
      for (const char byte : text) {
        digest = (digest ^ static_cast<unsigned char>(byte)) * 0x01000193u;
      }
    }
  }
  EXPECT_EQ(characters, 21791);
  EXPECT_EQ(digest, 0x77D34714u);
}

TEST(Text, WebAddressesAreHttpAndHttpsOnly) {
  EXPECT_TRUE(tk::IsWebAddress("hTTp://x"));
  EXPECT_TRUE(tk::IsWebAddress("https://x/y"));
  EXPECT_FALSE(tk::IsWebAddress("https://"));
  EXPECT_FALSE(tk::IsWebAddress(" http://x"));
  EXPECT_FALSE(tk::IsWebAddress("file://x"));
}

TEST(SpellingAlphabet, EachDistinctCharacterOnceInOrderOfFirstAppearance) {
  auto alphabet = numbers::SpellingAlphabet(" 3a3 1a");
  EXPECT_EQ(alphabet, (Strings{"3", "a", " ", "1"}));
  EXPECT_EQ(numbers::SpellingAlphabet("中😀中"), (Strings{"中", "😀"}));
  EXPECT_TRUE(numbers::SpellingAlphabet(" \t").empty());
}

}  // namespace

#include "toolkit/toolkit.h"

namespace {

TEST(Screen, WindowMovesUpAndLeftJustEnoughToFit) {
  const tk::Rect work{0, 0, 1600, 960};
  auto same = [](tk::Rect a, tk::Rect b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  };
  EXPECT_TRUE(same(tk::FitOnScreen({335, 130, 800, 600}, work), {335, 130, 800, 600}));
  EXPECT_TRUE(same(tk::FitOnScreen({502, 195, 1200, 900}, work), {400, 60, 1200, 900}));
  // Larger than the work area: its top-left corner shows (title bar, menu).
  EXPECT_TRUE(
      same(tk::FitOnScreen({335, 130, 2000, 1200}, {10, 20, 1600, 960}), {10, 20, 2000, 1200}));
}

}  // namespace
