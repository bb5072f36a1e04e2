// Text helpers shared by every layer. Text inside the program is UTF-8; a
// "character" is a Unicode code point, and a byte that is not part of a valid
// UTF-8 sequence counts as one character of its own, so no operation here ever
// splits a valid multi-byte sequence.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// An ASCII digit 0-9 (fullwidth digits are not).
constexpr bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// Removes leading and trailing characters with codes 0 to 32. Bytes of
// multi-byte sequences are all >= 0x80, so this is safe on UTF-8.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// Length in bytes of the character that starts at text[pos] (1 for an invalid
// byte). pos must be < text.size().
std::size_t CharLength(std::string_view text, std::size_t pos);

// Splits text into its characters, in order.
std::vector<std::string_view> Chars(std::string_view text);

// Number of characters.
std::size_t CharCount(std::string_view text);

// Byte offset of the character with index `index`; text.size() when the index
// is at or past the end.
std::size_t ByteOffsetOfChar(std::string_view text, std::size_t index);

// Decodes one code point; invalid bytes decode as themselves (0x80..0xFF) so
// that they stay distinct from each other.
char32_t DecodeChar(std::string_view ch);
std::string EncodeChar(char32_t cp);

// The small letter for a capital, as Windows' case-insensitive comparison
// pairs them, for the cased letters of code page 936: ASCII, fullwidth Latin,
// Greek, Cyrillic and the Roman numerals one to ten. Every other code point is
// returned as it is.
char32_t FoldCase(char32_t cp);
// Writes the text with every such capital made small to out[0, text.size()):
// a capital and its small letter have the same UTF-8 length. Stray bytes are
// copied as they are.
void FoldCaseInto(std::string_view text, char* out);
std::string FoldCase(std::string_view text);

// Whole-line equality that ignores letter case as FoldCase does; other
// characters compare as they are.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Splits bytes into lines at CR LF, lone CR or lone LF. No empty line follows a
// final line break. A NUL byte ends the text.
std::vector<std::string> SplitLines(std::string_view bytes);

// A piece of text as a notice quotes it: control characters and stray bytes
// as U+FFFD, cut after `most` characters with "…".
std::string ShownInNotice(std::string_view text, std::size_t most);

// True when the text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace core

namespace core {

// Decodes GBK (code page 936) bytes to UTF-8. Bytes that are not valid GBK
// become U+FFFD; the result is always valid UTF-8.
std::string GbkToUtf8(std::string_view gbk);

}  // namespace core
