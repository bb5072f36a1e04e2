#include <algorithm>
#include <optional>

#include "core/text.h"
#include "core/tokens.h"
#include "plays/plays.h"

namespace plays {

namespace {

// A token's characters in one form: ASCII digits, '-' for a range mark,
// '?' for anything else.
void AppendNormalized(std::string_view token, std::string& out) {
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
  // The tokens joined by ',' (short texts need no allocation), then the
  // separators beside a range mark dropped: "10 - 14" is one range.
  std::string joined;
  core::ForEachToken(text, [&](std::string_view t) {
    if (!joined.empty()) joined += ',';
    AppendNormalized(t, joined);
    return true;
  });
  std::string norm;
  for (std::size_t i = 0; i < joined.size(); ++i) {
    const bool byMark =
        (i > 0 && joined[i - 1] == '-') || (i + 1 < joined.size() && joined[i + 1] == '-');
    if (joined[i] != ',' || !byMark) norm += joined[i];
  }
  std::uint32_t bits = 0;
  std::string_view rest = norm;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    const std::size_t dash = item.find('-');
    const auto from = Number(item.substr(0, dash));
    const auto to = dash == std::string_view::npos ? from : Number(item.substr(dash + 1));
    if (!from || !to || *from > *to || *from < low || *to > high) {
      return R::Refused(std::string(refusal));
    }
    for (int v = *from; v <= *to; ++v) bits |= 1u << v;
  }
  if (bits == 0) return R::Refused(std::string(refusal));
  return {bits, {}};
}

}  // namespace plays
