#include <optional>
#include <vector>

#include "core/text.h"
#include "core/tokens.h"
#include "plays/plays.h"

namespace plays {

namespace {

// A token's characters in one form: ASCII digits, '-' for a range mark,
// '?' for anything else.
std::string Normalized(std::string_view token) {
  std::string out;
  for (std::size_t i = 0; i < token.size();) {
    const std::size_t n = core::CharLength(token, i);
    const char32_t c = core::DecodeChar(token.substr(i, n));
    i += n;
    if (c >= U'0' && c <= U'9') {
      out += static_cast<char>(c);
    } else if (c >= U'\uFF10' && c <= U'\uFF19') {
      out += static_cast<char>('0' + (c - U'\uFF10'));
    } else if (c == U'-' || c == U'\uFF0D' || c == U'~' || c == U'\uFF5E' || c == U'\u2013' ||
               c == U'\u2014' || c == U'\u2212') {
      out += '-';
    } else {
      out += '?';
    }
  }
  return out;
}

// Digits only; long numbers saturate, so they are simply out of range.
std::optional<int> Number(std::string_view s) {
  if (s.empty()) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = std::min(v * 10 + (c - '0'), 1000);
  }
  return v;
}

}  // namespace

core::Read<std::uint32_t> ReadValues(std::string_view text, int low, int high,
                                     std::string_view refusal) {
  using R = core::Read<std::uint32_t>;
  std::vector<std::string> tokens;
  core::ForEachToken(text, [&](std::string_view t) {
    tokens.push_back(Normalized(t));
    return true;
  });
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    // "10 - 14": blanks around a range mark split it into tokens of its own.
    std::string item = tokens[i];
    while (i + 1 < tokens.size() && (item.back() == '-' || tokens[i + 1].front() == '-')) {
      item += tokens[++i];
    }
    const std::size_t dash = item.find('-');
    const auto from = Number(item.substr(0, dash));
    const auto to = dash == std::string::npos ? from : Number(item.substr(dash + 1));
    if (!from || !to || *from > *to || *from < low || *to > high)
      return R::Refused(std::string(refusal));
    for (int v = *from; v <= *to; ++v) bits |= 1u << v;
  }
  if (bits == 0) return R::Refused(std::string(refusal));
  return {bits, {}};
}

}  // namespace plays
