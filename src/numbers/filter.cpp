#include "numbers/filter.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "toolkit/text.h"

namespace numbers {

namespace {

// What the parsers see: every accepted character mapped to one ASCII form
// (digits, ',' for a separator, ' ' for a blank, '-' for a range mark, ':'),
// anything else to '?'.
std::string Normalized(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = tk::CharLength(text, i);
    const char32_t c = tk::DecodeChar(text.substr(i, n));
    i += n;
    char mapped = '?';
    if (c >= U'0' && c <= U'9') {
      mapped = static_cast<char>(c);
    } else if (c >= U'\uFF10' && c <= U'\uFF19') {
      mapped = static_cast<char>('0' + (c - U'\uFF10'));
    } else if (c == U',' || c == U'\uFF0C' || c == U'\u3001') {
      mapped = ',';
    } else if (c == U' ' || c == U'\t' || c == U'\u3000' || c == U'\u00A0') {
      mapped = ' ';
    } else if (c == U'-' || c == U'\uFF0D' || c == U'~' || c == U'\uFF5E' || c == U'\u2013' ||
               c == U'\u2014' || c == U'\u2212') {
      mapped = '-';
    } else if (c == U':' || c == U'\uFF1A') {
      mapped = ':';
    }
    out += mapped;
  }
  return out;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
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
    if (!IsDigit(Peek())) return std::nullopt;
    int value = 0;
    while (IsDigit(Peek())) {
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

// Values and ranges of values 0..max; bit v set for each value v typed.
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

// Patterns x:y:z with x+y+z = 3; bit x*4+y set for each.
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

// Digits with separators between them if the user likes; bit d per digit d.
std::optional<std::uint16_t> ParseDigits(std::string_view text) {
  std::uint16_t bits = 0;
  for (char c : Normalized(text)) {
    if (IsDigit(c)) {
      bits = static_cast<std::uint16_t>(bits | (1u << (c - '0')));
    } else if (c != ' ' && c != ',') {
      return std::nullopt;
    }
  }
  if (bits == 0) return std::nullopt;
  return bits;
}

// What every condition looks at, per number.
struct Traits {
  std::uint8_t sum = 0;
  std::uint8_t span = 0;
  std::uint8_t shape = 0;     // 0 豹子, 1 组三, 2 组六
  std::uint8_t oddIndex = 0;  // 0 = 3:0 ... 3 = 0:3
  std::uint8_t bigIndex = 0;  // same
  std::uint8_t road = 0;      // x*4+y of the 0/1/2 counts x:y:z
  std::uint16_t digits = 0;   // bit d when the number holds d
};

const std::array<Traits, 1000>& AllTraits() {
  static const std::array<Traits, 1000> table = [] {
    std::array<Traits, 1000> t{};
    for (int n = 0; n < 1000; ++n) {
      const int d[3] = {n / 100, n / 10 % 10, n % 10};
      Traits& r = t[static_cast<std::size_t>(n)];
      r.sum = static_cast<std::uint8_t>(d[0] + d[1] + d[2]);
      r.span =
          static_cast<std::uint8_t>(std::max({d[0], d[1], d[2]}) - std::min({d[0], d[1], d[2]}));
      const int equalPairs = (d[0] == d[1]) + (d[1] == d[2]) + (d[0] == d[2]);
      r.shape = static_cast<std::uint8_t>(equalPairs == 3 ? 0 : equalPairs == 1 ? 1 : 2);
      int odd = 0, big = 0, road[3] = {0, 0, 0};
      for (int x : d) {
        odd += x % 2;
        big += x >= 5;
        ++road[x % 3];
        r.digits = static_cast<std::uint16_t>(r.digits | (1u << x));
      }
      r.oddIndex = static_cast<std::uint8_t>(3 - odd);
      r.bigIndex = static_cast<std::uint8_t>(3 - big);
      r.road = static_cast<std::uint8_t>(road[0] * 4 + road[1]);
    }
    return t;
  }();
  return table;
}

int RatioBits(const std::array<bool, 4>& ratios) {
  int bits = 0;
  for (std::size_t i = 0; i < ratios.size(); ++i) bits |= ratios[i] ? 1 << i : 0;
  return bits;
}

bool IsGo(const std::string& line, const CompiledFilter& filter, bool dropMatching) {
  const int n = NumberOf(line);
  const bool meets = n >= 0 && filter.meets[static_cast<std::size_t>(n)];
  return meets == dropMatching;
}

bool NothingGoes(const CompiledFilter& filter) {
  return !filter.anyTicked || !filter.error.empty();
}

}  // namespace

CompiledFilter CompileFilter(const FilterSettings& s) {
  CompiledFilter out;
  out.anyTicked =
      s.sum || s.span || s.tail || s.shape || s.odd || s.big || s.road || s.dan || s.kill;

  // Parsed in the window's order, so the first invalid one speaks.
  std::uint32_t sums = 0;
  std::uint32_t spans = 0;
  std::uint32_t tails = 0;
  std::uint16_t roads = 0;
  std::uint16_t dan = 0;
  std::uint16_t kill = 0;
  const int shapes = (s.baozi ? 1 : 0) | (s.zu3 ? 2 : 0) | (s.zu6 ? 4 : 0);
  const int odds = RatioBits(s.oddRatios);
  const int bigs = RatioBits(s.bigRatios);
  auto fail = [&out](std::string_view text) {
    out.error = text;
    return out;
  };
  if (s.sum) {
    const auto v = ParseValues(s.sumText, 27);
    if (!v) return fail(kSumInvalid);
    sums = *v;
  }
  if (s.span) {
    const auto v = ParseValues(s.spanText, 9);
    if (!v) return fail(kSpanInvalid);
    spans = *v;
  }
  if (s.tail) {
    const auto v = ParseValues(s.tailText, 9);
    if (!v) return fail(kTailInvalid);
    tails = *v;
  }
  if (s.shape && shapes == 0) return fail(kShapeInvalid);
  if (s.odd && odds == 0) return fail(kOddInvalid);
  if (s.big && bigs == 0) return fail(kBigInvalid);
  if (s.road) {
    const auto v = ParsePatterns(s.roadText);
    if (!v) return fail(kRoadInvalid);
    roads = *v;
  }
  if (s.dan) {
    const auto v = ParseDigits(s.danText);
    if (!v) return fail(kDanInvalid);
    dan = *v;
  }
  if (s.kill) {
    const auto v = ParseDigits(s.killText);
    if (!v) return fail(kKillInvalid);
    kill = *v;
  }

  const auto& traits = AllTraits();
  for (std::size_t n = 0; n < traits.size(); ++n) {
    const Traits& t = traits[n];
    const bool meets =
        (!s.sum || (sums >> t.sum & 1u)) && (!s.span || (spans >> t.span & 1u)) &&
        (!s.tail || (tails >> (t.sum % 10) & 1u)) && (!s.shape || (shapes >> t.shape & 1)) &&
        (!s.odd || (odds >> t.oddIndex & 1)) && (!s.big || (bigs >> t.bigIndex & 1)) &&
        (!s.road || (roads >> t.road & 1u)) &&
        (!s.dan || (s.danAll ? (t.digits & dan) == dan : (t.digits & dan) != 0)) &&
        (!s.kill || (t.digits & kill) == 0);
    out.meets[n] = meets;
  }
  return out;
}

int NumberOf(std::string_view line) {
  if (line.size() != 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

std::vector<bool> LinesThatGo(const std::vector<std::string>& lines, const CompiledFilter& filter,
                              bool dropMatching) {
  std::vector<bool> go(lines.size(), false);
  if (NothingGoes(filter)) return go;
  for (std::size_t i = 0; i < lines.size(); ++i) go[i] = IsGo(lines[i], filter, dropMatching);
  return go;
}

FilterCounts CountFilter(const std::vector<std::string>& lines, const CompiledFilter& filter,
                         bool dropMatching) {
  FilterCounts counts;
  counts.lines = static_cast<int>(lines.size());
  if (!filter.error.empty()) return counts;
  for (const auto& line : lines) {
    const int n = NumberOf(line);
    if (n >= 0 && filter.meets[static_cast<std::size_t>(n)]) ++counts.meeting;
  }
  if (filter.anyTicked)
    counts.going = dropMatching ? counts.meeting : counts.lines - counts.meeting;
  return counts;
}

std::string FilterCountText(int lines, int meeting, int going) {
  return "投注列表 " + std::to_string(lines) + " 注，符合条件 " + std::to_string(meeting) +
         " 注，将删除 " + std::to_string(going) + " 注";
}

std::vector<std::string> ToGroups(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  std::bitset<1000> seen;
  for (const auto& line : lines) {
    if (NumberOf(line) < 0) {
      out.push_back(line);
      continue;
    }
    std::string group = line;
    std::sort(group.begin(), group.end());
    if (group[0] == group[2]) continue;  // 豹子
    const auto key = static_cast<std::size_t>(NumberOf(group));
    if (seen[key]) continue;
    seen[key] = true;
    out.push_back(std::move(group));
  }
  return out;
}

std::vector<std::string> ExpandGroups(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size() * 6);
  std::bitset<1000> seen;
  for (const auto& line : lines) {
    if (NumberOf(line) < 0) {
      out.push_back(line);
      continue;
    }
    std::string order = line;
    std::sort(order.begin(), order.end());
    do {
      const auto key = static_cast<std::size_t>(NumberOf(order));
      if (!seen[key]) {
        seen[key] = true;
        out.push_back(order);
      }
    } while (std::next_permutation(order.begin(), order.end()));
  }
  return out;
}

}  // namespace numbers
