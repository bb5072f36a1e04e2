#include "conditions/inputs.h"

#include <algorithm>

#include "core/text.h"
#include "core/tokens.h"

namespace numbers {

namespace {

// An item's character in its one ASCII form: a digit, '-' for a range mark,
// ':'; '?' for anything else (a stray byte decodes below U+0100: '?' too).
char ItemChar(std::string_view ch) {
  const char32_t c = core::DecodeChar(ch);
  if (c >= U'0' && c <= U'9') return static_cast<char>(c);
  if (c >= U'\uFF10' && c <= U'\uFF19') return static_cast<char>('0' + (c - U'\uFF10'));
  switch (c) {
    case U'-':
    case U'\uFF0D':  // －
    case U'~':
    case U'\uFF5E':  // ～
    case U'\u2013':  // –
    case U'\u2014':  // —
    case U'\u2212':  // −
      return '-';
    case U':':
    case U'\uFF1A':  // ：
      return ':';
    default:
      return '?';
  }
}

// What the parsers see: the items in their ASCII form, each run of
// separators between them as ',' when it holds a mark, else ' '.
std::string Normalized(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  auto gap = [&out](std::string_view between) {
    if (between.empty()) return;
    bool mark = false;
    for (std::string_view ch : core::Chars(between))
      mark = mark || core::IsSeparatorMark(core::DecodeChar(ch));
    out += mark ? ',' : ' ';
  };
  std::size_t end = 0;  // of the last item
  core::ForEachToken(text, [&](std::string_view item) {
    const auto start = static_cast<std::size_t>(item.data() - text.data());
    gap(text.substr(end, start - end));
    for (std::string_view ch : core::Chars(item)) out += ItemChar(ch);
    end = start + item.size();
    return true;
  });
  gap(text.substr(end));
  return out;
}

// Walks a normalized input. A token is followed by a separator or the end:
// anything else fails to start the next token.
struct Cursor {
  std::string_view s;
  std::size_t pos = 0;

  bool AtEnd() const { return pos >= s.size(); }
  char Peek() const { return AtEnd() ? '\0' : s[pos]; }
  void SkipBlanks() {
    while (Peek() == ' ') ++pos;
  }
  void SkipSeparators() {
    while (Peek() == ' ' || Peek() == ',') ++pos;
  }
  // A decimal number; long ones saturate, so they are simply out of range.
  std::optional<int> Number() {
    if (!core::IsAsciiDigit(Peek())) return std::nullopt;
    int value = 0;
    while (core::IsAsciiDigit(Peek())) {
      value = std::min(value * 10 + (s[pos] - '0'), 100000);
      ++pos;
    }
    return value;
  }
  bool Take(char c) {
    SkipBlanks();
    if (Peek() != c) return false;
    ++pos;
    SkipBlanks();
    return true;
  }
};

}  // namespace

std::optional<std::uint32_t> ParseValues(std::string_view text, int max) {
  const std::string norm = Normalized(text);
  Cursor in{norm};
  std::uint32_t bits = 0;
  bool any = false;
  for (in.SkipSeparators(); !in.AtEnd(); in.SkipSeparators()) {
    const auto low = in.Number();
    if (!low) return std::nullopt;
    int high = *low;
    if (in.Take('-')) {
      const auto end = in.Number();
      if (!end || *end < *low) return std::nullopt;
      high = *end;
    }
    if (high > max) return std::nullopt;
    for (int v = *low; v <= high; ++v) bits |= 1u << v;
    any = true;
  }
  if (!any) return std::nullopt;
  return bits;
}

std::optional<std::uint16_t> ParsePatterns(std::string_view text) {
  const std::string norm = Normalized(text);
  Cursor in{norm};
  std::uint16_t bits = 0;
  bool any = false;
  for (in.SkipSeparators(); !in.AtEnd(); in.SkipSeparators()) {
    const auto x = in.Number();
    if (!x || !in.Take(':')) return std::nullopt;
    const auto y = in.Number();
    if (!y || !in.Take(':')) return std::nullopt;
    const auto z = in.Number();
    if (!z || *x + *y + *z != 3) return std::nullopt;
    bits = static_cast<std::uint16_t>(bits | (1u << (*x * 4 + *y)));
    any = true;
  }
  if (!any) return std::nullopt;
  return bits;
}

std::optional<std::uint16_t> ParseDigits(std::string_view text) {
  std::uint16_t bits = 0;
  for (char c : Normalized(text)) {
    if (core::IsAsciiDigit(c)) {
      bits = static_cast<std::uint16_t>(bits | (1u << (c - '0')));
    } else if (c != ' ' && c != ',') {
      return std::nullopt;
    }
  }
  if (bits == 0) return std::nullopt;
  return bits;
}

bool IsBlankInput(std::string_view text) {
  const std::string norm = Normalized(text);
  return norm.find_first_not_of(' ') == std::string::npos;
}

std::optional<std::uint16_t> ParsePosition(std::string_view text) {
  if (IsBlankInput(text)) return std::uint16_t{0x3FF};
  return ParseDigits(text);
}

std::optional<std::bitset<100>> ParsePairs(std::string_view text) {
  const std::string norm = Normalized(text);
  Cursor in{norm};
  std::bitset<100> pairs;
  for (in.SkipSeparators(); !in.AtEnd(); in.SkipSeparators()) {
    const std::size_t start = in.pos;
    if (!in.Number() || in.pos - start != 2) return std::nullopt;
    if (!in.AtEnd() && in.Peek() != ' ' && in.Peek() != ',') return std::nullopt;
    const auto x = static_cast<std::size_t>(norm[start] - '0');
    const auto y = static_cast<std::size_t>(norm[start + 1] - '0');
    pairs.set(std::min(x, y) * 10 + std::max(x, y));
  }
  if (pairs.none()) return std::nullopt;
  return pairs;
}

std::optional<int> ParseTolerance(std::string_view text) {
  const std::string norm = Normalized(text);
  Cursor in{norm};
  in.SkipBlanks();
  if (in.AtEnd()) return 0;
  const auto value = in.Number();
  in.SkipBlanks();
  if (!value || !in.AtEnd()) return std::nullopt;
  return value;
}

std::string ValuesText(std::uint32_t bits) {
  std::string out;
  for (int v = 0; v < 32;) {
    if (!(bits >> v & 1u)) {
      ++v;
      continue;
    }
    int end = v;
    while (end + 1 < 32 && (bits >> (end + 1) & 1u)) ++end;
    if (!out.empty()) out += ',';
    out += std::to_string(v);
    if (end - v >= 2) {
      out += '-' + std::to_string(end);
    } else if (end > v) {
      out += ',' + std::to_string(end);
    }
    v = end + 1;
  }
  return out;
}

std::string DigitsText(std::uint16_t bits, std::string_view separator) {
  std::string out;
  for (int d = 0; d < 10; ++d) {
    if (!(bits >> d & 1u)) continue;
    if (!out.empty()) out += separator;
    out += static_cast<char>('0' + d);
  }
  return out;
}

std::string PatternsText(std::uint16_t bits) {
  std::string out;
  for (int x = 3; x >= 0; --x) {
    for (int y = 3 - x; y >= 0; --y) {
      if (!(bits >> (x * 4 + y) & 1u)) continue;
      if (!out.empty()) out += ',';
      out += std::to_string(x) + ':' + std::to_string(y) + ':' + std::to_string(3 - x - y);
    }
  }
  return out;
}

std::string PairsText(const std::bitset<100>& pairs) {
  std::string out;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (!pairs[i]) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(i / 10) + std::to_string(i % 10);
  }
  return out;
}

std::string AsTyped(std::string_view text) {
  // Shorter than a notice's quote: the summary holds many inputs on one line.
  constexpr std::size_t kShownChars = 12;
  const std::string_view trimmed = core::TrimView(text);
  if (trimmed.empty()) return "（未填）";
  return core::ShownInNotice(trimmed, kShownChars);
}

}  // namespace numbers
