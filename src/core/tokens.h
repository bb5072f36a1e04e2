// Lines and tokens: how every reader (list files, 大底 files, draws, pasted
// text, typed numbers, the conditions' inputs) cuts text apart. One separator
// set for all of them.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace core {

// Blanks (space, tab, vertical tab, form feed, no-break space, ideographic
// space), a byte-order mark left in pasted text, commas and semicolons in
// ASCII and fullwidth, and 、.
constexpr bool IsSeparator(char32_t c) {
  switch (c) {
    case U' ':
    case U'\t':
    case U'\v':
    case U'\f':
    case U',':
    case U';':
    case U'\u00A0':  // no-break space, common in copied web pages
    case U'\u3000':  // ideographic space
    case U'\uFEFF':  // byte-order mark
    case U'\uFF0C':  // ，
    case U'\uFF1B':  // ；
    case U'\u3001':  // 、
      return true;
    default:
      return false;
  }
}

// The separators that are marks rather than space: commas and semicolons in
// ASCII and fullwidth, and 、. An input that lets blanks stand inside one of
// its items (around a range mark) still ends the item at a mark.
constexpr bool IsSeparatorMark(char32_t c) {
  switch (c) {
    case U',':
    case U';':
    case U'\uFF0C':  // ，
    case U'\uFF1B':  // ；
    case U'\u3001':  // 、
      return true;
    default:
      return false;
  }
}

// Calls f(token) for each run of non-separators in the line, in order, until
// f returns false. A stray byte is a character of its own, never a separator
// (0xA0 alone is not a no-break space).
template <typename F>
void ForEachToken(std::string_view line, F&& f) {
  std::size_t pos = 0, start = 0;
  bool in = false;
  while (pos < line.size()) {
    const auto lead = static_cast<unsigned char>(line[pos]);
    // Plain bytes skip decoding: a history has hundreds of thousands.
    const std::size_t len = lead < 0x80 ? 1 : CharLength(line, pos);
    const bool sep =
        lead < 0x80 ? IsSeparator(lead) : len > 1 && IsSeparator(DecodeChar(line.substr(pos, len)));
    if (sep) {
      if (in && !f(line.substr(start, pos - start))) return;
      in = false;
    } else if (!in) {
      in = true;
      start = pos;
    }
    pos += len;
  }
  if (in) f(line.substr(start));
}

std::vector<std::string_view> Tokens(std::string_view line);

// Calls f(line, lineNumber) for each line (cut at CR LF, a lone CR or a
// lone LF; numbered from 1) until f returns false. No empty line follows a
// final line break.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  std::size_t start = 0, lineNo = 1;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (!f(text.substr(start, end - start), lineNo++)) return;
    if (end == text.size()) return;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

// The number that tokens spell: one token of three digits, or three
// one-digit tokens; kNoNumber otherwise. Only the first three tokens are
// looked at.
int NumberOfTokens(std::span<const std::string_view> tokens);

// A text that is one number and nothing else ("357", " 3 5 7 "), as an edit
// takes a drawn number; kNoNumber otherwise ("202 5 7", "357 abc").
int OneNumber(std::string_view text);

}  // namespace core
