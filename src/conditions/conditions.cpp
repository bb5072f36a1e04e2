#include "conditions/conditions.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <utility>

#include "core/text.h"

namespace numbers {

namespace {

// What the parsers see: every accepted character mapped to one ASCII form
// (digits, ',' for a separator, ' ' for a blank, '-' for a range mark, ':'),
// anything else to '?'.
std::string Normalized(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = core::CharLength(text, i);
    const char32_t c = core::DecodeChar(text.substr(i, n));
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

bool IsBlank(std::string_view text) {
  const std::string norm = Normalized(text);
  return norm.find_first_not_of(' ') == std::string::npos;
}

// A 定位 edit: empty allows every digit (all ten bits).
std::optional<std::uint16_t> ParsePosition(std::string_view text) {
  if (IsBlank(text)) return std::uint16_t{0x3FF};
  return ParseDigits(text);
}

// Pairs of two digits; bit x*10+y (x <= y) per pair.
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

// 容错 as typed: one number, blank meaning 0.
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

// What every condition looks at, per number.
struct Traits {
  std::uint8_t sum = 0;
  std::uint8_t span = 0;
  std::uint8_t shape = 0;       // 0 豹子, 1 组三, 2 组六
  std::uint8_t oddIndex = 0;    // 0 = 3:0 ... 3 = 0:3
  std::uint8_t bigIndex = 0;    // same
  std::uint8_t road = 0;        // x*4+y of the 0/1/2 counts x:y:z
  std::uint16_t digits = 0;     // bit d when the number holds d
  std::uint8_t pos[3] = {};     // 百位, 十位, 个位
  std::uint8_t pairs[3] = {};   // x*10+y (x <= y) of its digit pairs
  std::uint16_t pairSums = 0;   // bit (x+y) mod 10 per digit pair
  std::uint16_t pairDiffs = 0;  // bit |x-y| per digit pair
  std::uint8_t dzx = 0;         // x*4+y of the 大:中:小 counts x:y:z
  std::uint8_t primeIndex = 0;  // 0 = 3:0 ... 3 = 0:3
  std::uint8_t run = 0;         // 0 全顺, 1 半顺, 2 非顺
};

bool IsPrimeDigit(int d) {
  return d == 1 || d == 2 || d == 3 || d == 5 || d == 7;
}

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

      int large = 0, middle = 0, prime = 0;
      for (int x : d) {
        large += x >= 7;
        middle += x >= 3 && x <= 6;
        prime += IsPrimeDigit(x);
      }
      r.dzx = static_cast<std::uint8_t>(large * 4 + middle);
      r.primeIndex = static_cast<std::uint8_t>(3 - prime);
      bool adjacent = false;
      constexpr int kPairOf[3][2] = {{0, 1}, {0, 2}, {1, 2}};
      for (int i = 0; i < 3; ++i) {
        r.pos[i] = static_cast<std::uint8_t>(d[i]);
        const int x = d[kPairOf[i][0]], y = d[kPairOf[i][1]];
        r.pairs[i] = static_cast<std::uint8_t>(std::min(x, y) * 10 + std::max(x, y));
        r.pairSums = static_cast<std::uint16_t>(r.pairSums | 1u << ((x + y) % 10));
        r.pairDiffs = static_cast<std::uint16_t>(r.pairDiffs | 1u << std::abs(x - y));
        adjacent = adjacent || std::abs(x - y) == 1;
      }
      // Three different digits whose span is 2 are consecutive.
      const bool full = r.shape == 2 && r.span == 2;
      r.run = static_cast<std::uint8_t>(full ? 0 : adjacent ? 1 : 2);
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

std::string ToleranceInvalidText(int ticked) {
  if (ticked <= 1) return "只选了 1 个条件，容错应为 0";
  return "容错应为 0–" + std::to_string(ticked - 1) + " 之间的数（已选 " + std::to_string(ticked) +
         " 个条件），如 1";
}

bool IsTicked(const FilterSettings& s, int condition) {
  const bool ticked[kConditionCount] = {s.sum,      s.span, s.tail,  s.shape, s.odd,   s.big,
                                        s.road,     s.dan,  s.kill,  s.pos,   s.pair,  s.pairSum,
                                        s.pairDiff, s.dzx,  s.prime, s.run,   s.repeat};
  return condition >= 0 && condition < kConditionCount && ticked[condition];
}

int TickedCount(const FilterSettings& s) {
  int n = 0;
  for (int c = 0; c < kConditionCount; ++c) n += IsTicked(s, c);
  return n;
}

CompiledFilter CompileFilter(const FilterSettings& s) {
  CompiledFilter out;
  out.ticked = TickedCount(s);
  out.anyTicked = out.ticked > 0;

  // Parsed in the window's order, so the first invalid one speaks.
  std::uint32_t sums = 0;
  std::uint32_t spans = 0;
  std::uint32_t tails = 0;
  std::uint16_t roads = 0;
  std::uint16_t dan = 0;
  std::uint16_t kill = 0;
  std::uint16_t pos[3] = {};
  std::bitset<100> pairs;
  std::uint32_t pairSums = 0;
  std::uint32_t pairDiffs = 0;
  std::uint16_t dzx = 0;
  std::uint16_t draw = 0;
  const int shapes = (s.baozi ? 1 : 0) | (s.zu3 ? 2 : 0) | (s.zu6 ? 4 : 0);
  const int odds = RatioBits(s.oddRatios);
  const int bigs = RatioBits(s.bigRatios);
  const int primes = RatioBits(s.primeRatios);
  const int runs = (s.runFull ? 1 : 0) | (s.runHalf ? 2 : 0) | (s.runNone ? 4 : 0);
  const int repeats = RatioBits(s.repeatCounts);
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
  if (s.pos) {
    const std::string* texts[3] = {&s.posHText, &s.posTText, &s.posUText};
    bool any = false;
    for (int i = 0; i < 3; ++i) {
      const auto v = ParsePosition(*texts[i]);
      if (!v) return fail(kPosInvalid);
      pos[i] = *v;
      any = any || !IsBlank(*texts[i]);
    }
    if (!any) return fail(kPosInvalid);
  }
  if (s.pair) {
    const auto v = ParsePairs(s.pairText);
    if (!v) return fail(kPairInvalid);
    pairs = *v;
  }
  if (s.pairSum) {
    const auto v = ParseValues(s.pairSumText, 9);
    if (!v) return fail(kPairSumInvalid);
    pairSums = *v;
  }
  if (s.pairDiff) {
    const auto v = ParseValues(s.pairDiffText, 9);
    if (!v) return fail(kPairDiffInvalid);
    pairDiffs = *v;
  }
  if (s.dzx) {
    const auto v = ParsePatterns(s.dzxText);
    if (!v) return fail(kDzxInvalid);
    dzx = *v;
  }
  if (s.prime && primes == 0) return fail(kPrimeInvalid);
  if (s.run && runs == 0) return fail(kRunInvalid);
  if (s.repeat) {
    if (repeats == 0) return fail(kRepeatInvalid);
    const int n = NumberOf(s.repeatDraw);
    if (n < 0) return fail(kRepeatNoDraw);
    draw = AllTraits()[static_cast<std::size_t>(n)].digits;
  }
  if (out.anyTicked) {
    const auto t = ParseTolerance(s.toleranceText);
    if (!t || *t >= out.ticked) return fail(ToleranceInvalidText(out.ticked));
    out.tolerance = *t;
  }

  const auto& traits = AllTraits();
  for (std::size_t n = 0; n < traits.size(); ++n) {
    const Traits& t = traits[n];
    const int shared = std::popcount(static_cast<unsigned>(t.digits & draw));
    const int misses =
        (s.sum && !(sums >> t.sum & 1u)) + (s.span && !(spans >> t.span & 1u)) +
        (s.tail && !(tails >> (t.sum % 10) & 1u)) + (s.shape && !(shapes >> t.shape & 1)) +
        (s.odd && !(odds >> t.oddIndex & 1)) + (s.big && !(bigs >> t.bigIndex & 1)) +
        (s.road && !(roads >> t.road & 1u)) +
        (s.dan && !(s.danAll ? (t.digits & dan) == dan : (t.digits & dan) != 0)) +
        (s.kill && (t.digits & kill) != 0) +
        (s.pos &&
         !((pos[0] >> t.pos[0] & 1u) && (pos[1] >> t.pos[1] & 1u) && (pos[2] >> t.pos[2] & 1u))) +
        (s.pair && !(pairs[t.pairs[0]] || pairs[t.pairs[1]] || pairs[t.pairs[2]])) +
        (s.pairSum && (t.pairSums & pairSums) == 0) +
        (s.pairDiff && (t.pairDiffs & pairDiffs) == 0) + (s.dzx && !(dzx >> t.dzx & 1u)) +
        (s.prime && !(primes >> t.primeIndex & 1)) + (s.run && !(runs >> t.run & 1)) +
        (s.repeat && !(repeats >> shared & 1));
    out.misses[n] = static_cast<std::uint8_t>(misses);
    out.meets[n] = misses <= out.tolerance;
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
  return CountFilter(TallyLines(lines), filter, dropMatching);
}

LineTally TallyLines(const std::vector<std::string>& lines) {
  LineTally tally;
  tally.lines = static_cast<int>(lines.size());
  for (const auto& line : lines) {
    const int n = NumberOf(line);
    if (n >= 0) ++tally.perNumber[static_cast<std::size_t>(n)];
  }
  return tally;
}

FilterCounts CountFilter(const LineTally& tally, const CompiledFilter& filter, bool dropMatching) {
  FilterCounts counts;
  counts.lines = tally.lines;
  counts.tolerance = filter.tolerance;
  if (!filter.error.empty()) return counts;
  for (std::size_t n = 0; n < tally.perNumber.size(); ++n) {
    counts.byMisses[filter.misses[n]] += tally.perNumber[n];
  }
  for (int k = 0; k <= filter.tolerance; ++k) counts.meeting += counts.byMisses[k];
  if (filter.anyTicked)
    counts.going = dropMatching ? counts.meeting : counts.lines - counts.meeting;
  return counts;
}

std::string FilterCountText(int lines, int meeting, int going) {
  return "投注列表 " + std::to_string(lines) + " 注，符合条件 " + std::to_string(meeting) +
         " 注，将删除 " + std::to_string(going) + " 注";
}

namespace {

// 1-99 in Chinese numerals, as in 错一, 错十二.
std::string ChineseNumber(int n) {
  static constexpr std::string_view kDigits[] = {"",   "一", "二", "三", "四",
                                                 "五", "六", "七", "八", "九"};
  const auto tens = static_cast<std::size_t>(n / 10 % 10);
  const auto units = static_cast<std::size_t>(n % 10);
  std::string out;
  if (tens > 0) out += std::string(tens > 1 ? kDigits[tens] : "") + "十";
  out += kDigits[units];
  return out;
}

}  // namespace

std::string FilterCountText(const FilterCounts& c) {
  if (c.tolerance <= 0) return FilterCountText(c.lines, c.meeting, c.going);
  std::string out =
      "投注列表 " + std::to_string(c.lines) + " 注：全中 " + std::to_string(c.byMisses[0]) + " 注";
  for (int k = 1; k <= c.tolerance && k <= kConditionCount; ++k) {
    out += "，错" + ChineseNumber(k) + " " +
           std::to_string(c.byMisses[static_cast<std::size_t>(k)]) + " 注";
  }
  return out + "；将删除 " + std::to_string(c.going) + " 注";
}

namespace {

// An input that is not valid, as the summary shows it: control characters
// as U+FFFD, a long one cut.
std::string AsTyped(std::string_view text) {
  constexpr std::size_t kShownChars = 12;
  const std::string_view trimmed = core::TrimView(text);
  if (trimmed.empty()) return "（未填）";
  std::string out;
  std::size_t n = 0;
  for (std::string_view ch : core::Chars(trimmed)) {
    if (n++ == kShownChars) return out + "…";
    const char32_t c = core::DecodeChar(ch);
    out += (c < 32 || c == 127 || (ch.size() == 1 && c >= 0x80)) ? std::string("\uFFFD")
                                                                 : std::string(ch);
  }
  return out;
}

// Values as ranges where three or more follow each other: "10-14,18".
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

// Ticked items of a group of boxes, "、" between them; "（未选）" when none.
std::string BoxesText(std::initializer_list<std::pair<bool, std::string_view>> boxes) {
  std::string out;
  for (const auto& [on, name] : boxes) {
    if (!on) continue;
    if (!out.empty()) out += "、";
    out += name;
  }
  return out.empty() ? "（未选）" : out;
}

std::string RatiosText(const std::array<bool, 4>& ratios) {
  return BoxesText(
      {{ratios[0], "3:0"}, {ratios[1], "2:1"}, {ratios[2], "1:2"}, {ratios[3], "0:3"}});
}

}  // namespace

std::string FilterSummary(const FilterSettings& s) {
  std::vector<std::string> parts;
  auto values = [&](bool on, std::string_view name, const std::string& text, int max) {
    if (!on) return;
    const auto v = ParseValues(text, max);
    parts.push_back(std::string(name) + " " + (v ? ValuesText(*v) : AsTyped(text)));
  };
  auto patterns = [&](bool on, std::string_view name, const std::string& text) {
    if (!on) return;
    const auto v = ParsePatterns(text);
    parts.push_back(std::string(name) + " " + (v ? PatternsText(*v) : AsTyped(text)));
  };
  auto digits = [&](std::string_view text) {
    const auto v = ParseDigits(text);
    return v ? DigitsText(*v, ",") : AsTyped(text);
  };
  values(s.sum, "和值", s.sumText, 27);
  values(s.span, "跨度", s.spanText, 9);
  values(s.tail, "和尾", s.tailText, 9);
  if (s.shape)
    parts.push_back("形态 " + BoxesText({{s.baozi, "豹子"}, {s.zu3, "组三"}, {s.zu6, "组六"}}));
  if (s.odd) parts.push_back("奇偶比 " + RatiosText(s.oddRatios));
  if (s.big) parts.push_back("大小比 " + RatiosText(s.bigRatios));
  patterns(s.road, "012路比", s.roadText);
  if (s.dan)
    parts.push_back("胆码 " + digits(s.danText) + (s.danAll ? "（全部包含）" : "（至少含一个）"));
  if (s.kill) parts.push_back("杀码 " + digits(s.killText));
  if (s.pos) {
    std::string text;
    const std::pair<std::string_view, const std::string*> places[] = {
        {"百位", &s.posHText}, {"十位", &s.posTText}, {"个位", &s.posUText}};
    for (const auto& [place, typed] : places) {
      if (IsBlank(*typed)) continue;
      const auto v = ParseDigits(*typed);
      text += " " + std::string(place) + " " + (v ? DigitsText(*v, "") : AsTyped(*typed));
    }
    parts.push_back("定位" + (text.empty() ? " （未填）" : text));
  }
  if (s.pair) {
    const auto v = ParsePairs(s.pairText);
    std::string text;
    for (std::size_t i = 0; v && i < 100; ++i) {
      if (!(*v)[i]) continue;
      if (!text.empty()) text += ' ';
      text += std::to_string(i / 10) + std::to_string(i % 10);
    }
    parts.push_back("二码 " + (v ? text : AsTyped(s.pairText)));
  }
  values(s.pairSum, "两码和", s.pairSumText, 9);
  values(s.pairDiff, "两码差", s.pairDiffText, 9);
  patterns(s.dzx, "大中小比", s.dzxText);
  if (s.prime) parts.push_back("质合比 " + RatiosText(s.primeRatios));
  if (s.run)
    parts.push_back("连号 " +
                    BoxesText({{s.runFull, "全顺"}, {s.runHalf, "半顺"}, {s.runNone, "非顺"}}));
  if (s.repeat) {
    const auto& r = s.repeatCounts;
    parts.push_back("重号 " + BoxesText({{r[0], "0"}, {r[1], "1"}, {r[2], "2"}, {r[3], "3"}}));
  }
  if (parts.empty()) return "已选条件：无";
  const auto tolerance = ParseTolerance(s.toleranceText);
  if (!tolerance) {
    parts.push_back("容错 " + AsTyped(s.toleranceText));
  } else if (*tolerance > 0) {
    parts.push_back("容错 " + std::to_string(*tolerance));
  }
  std::string out = "已选条件：";
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "；" : "") + parts[i];
  return out;
}

}  // namespace numbers
