#include "conditions/condition_table.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "conditions/inputs.h"

namespace numbers {

bool& FlagOf(FilterSettings& s, const SettingControl& c) {
  return c.boxes ? (s.*c.boxes)[c.index] : s.*c.flag;
}
bool FlagOf(const FilterSettings& s, const SettingControl& c) {
  return c.boxes ? (s.*c.boxes)[c.index] : s.*c.flag;
}
std::string& TextOf(FilterSettings& s, const SettingControl& c) {
  return s.*c.text;
}
const std::string& TextOf(const FilterSettings& s, const SettingControl& c) {
  return s.*c.text;
}

namespace {

using S = FilterSettings;
using Part = SettingControl;
using Met = core::Read<NumberSet>;

// ---- the controls a condition owns ----

Part Input(std::string_view control, std::string S::*text, std::string_view item = "输入") {
  return {.kind = Part::Kind::kInput, .control = control, .item = item, .text = text};
}
Part Box(std::string_view control, std::string_view item, bool S::*flag) {
  return {.kind = Part::Kind::kBox, .control = control, .item = item, .flag = flag};
}
// A row of four boxes, by default the ratios 3:0, 2:1, 1:2, 0:3.
std::vector<Part> FourBoxes(std::array<std::string_view, 4> controls, std::array<bool, 4> S::*boxes,
                            std::array<std::string_view, 4> items = {"3:0", "2:1", "1:2", "0:3"}) {
  std::vector<Part> parts;
  for (std::size_t i = 0; i < 4; ++i) {
    parts.push_back({.kind = Part::Kind::kBox,
                     .control = controls[i],
                     .item = items[i],
                     .boxes = boxes,
                     .index = i});
  }
  return parts;
}

// ---- what a condition reads off a number, as bits ----

constexpr std::uint32_t Bit(int v) {
  return 1u << v;
}

// How many of the number's digits `kind` picks.
template <class Pred>
int DigitsWhere(int n, Pred kind) {
  int count = 0;
  for (int d : core::DigitsOf(n)) count += kind(d) ? 1 : 0;
  return count;
}
// A ratio's box: 3:0 first, by the digits of the first kind.
template <class Pred>
std::uint32_t RatioBit(int n, Pred first) {
  return Bit(3 - DigitsWhere(n, first));
}
// A pattern x:y:z of the digits by their kind 0, 1 or 2, as bit x*4+y.
template <class Kind>
std::uint32_t PatternBit(int n, Kind kind) {
  return Bit(DigitsWhere(n, [&](int d) { return kind(d) == 0; }) * 4 +
             DigitsWhere(n, [&](int d) { return kind(d) == 1; }));
}
// f(x, y) of each of the number's three pairs of digits, as bits.
template <class F>
std::uint32_t PairBits(int n, F f) {
  const auto d = core::DigitsOf(n);
  return Bit(f(d[0], d[1])) | Bit(f(d[0], d[2])) | Bit(f(d[1], d[2]));
}

bool IsPrimeDigit(int d) {
  return d == 1 || d == 2 || d == 3 || d == 5 || d == 7;
}

// 连号: 0 全顺, 1 半顺, 2 非顺.
int RunOf(int n) {
  // Three different digits whose span is 2 follow each other.
  if (core::ShapeOf(n) == core::Shape::kZu6 && core::SpanOf(n) == 2) return 0;
  const bool adjacent = PairBits(n, [](int x, int y) { return std::abs(x - y); }) & Bit(1);
  return adjacent ? 1 : 2;
}

// ---- compiling ----

// The numbers that meet a test of what they have (bits from `has`). What a
// number has is worked out once per kind: a keystroke only tests again.
template <class Has, class Meets>
NumberSet Where(Has has, Meets meets) {
  static_assert(std::is_empty_v<Has>, "what a number has may depend on nothing else");
  static const auto kHas = [&] {
    std::array<std::uint32_t, core::kNumberCount> values{};
    for (int n = 0; n < core::kNumberCount; ++n) values[static_cast<std::size_t>(n)] = has(n);
    return values;
  }();
  NumberSet set{};
  for (std::size_t n = 0; n < set.size(); ++n) set[n] = meets(kHas[n]);
  return set;
}
// The numbers that have one of the chosen values.
template <class Has>
NumberSet WhereAny(std::uint32_t chosen, Has has) {
  return Where(has, [chosen](std::uint32_t values) { return (values & chosen) != 0; });
}

// Kinds of what a number has, for Where (each a type of its own).
constexpr auto kDigitsHeld = [](int n) -> std::uint32_t { return core::DigitMask(n); };
// The keys x*10+y (x <= y) of the number's three pairs of digits, 7 bits each.
constexpr auto kPairKeys = [](int n) {
  const auto d = core::DigitsOf(n);
  auto key = [](int x, int y) {
    return static_cast<std::uint32_t>(std::min(x, y) * 10 + std::max(x, y));
  };
  return key(d[0], d[1]) | key(d[0], d[2]) << 7 | key(d[1], d[2]) << 14;
};

Met Meeting(const NumberSet& set) {
  Met met;
  met.value = set;
  return met;
}

Met Refused(const Condition& c) {
  return Met::Refused(std::string(c.invalid));
}

const std::string& InputOf(const Condition& c, const S& s) {
  return TextOf(s, c.parts.front());
}

// Bit i for the i-th of the condition's boxes that is ticked.
std::uint32_t TickedBoxes(const Condition& c, const S& s) {
  std::uint32_t bits = 0;
  int i = 0;
  for (const Part& p : c.parts) {
    if (p.kind != Part::Kind::kBox) continue;
    bits |= FlagOf(s, p) ? Bit(i) : 0;
    ++i;
  }
  return bits;
}

template <class Has>
Met ByValues(const Condition& c, const S& s, int max, Has has) {
  const auto chosen = ParseValues(InputOf(c, s), max);
  if (!chosen) return Refused(c);
  return Meeting(WhereAny(*chosen, has));
}
template <class Has>
Met ByPatterns(const Condition& c, const S& s, Has has) {
  const auto chosen = ParsePatterns(InputOf(c, s));
  if (!chosen) return Refused(c);
  return Meeting(WhereAny(*chosen, has));
}
template <class Has>
Met ByBoxes(const Condition& c, const S& s, Has has) {
  const std::uint32_t chosen = TickedBoxes(c, s);
  if (chosen == 0) return Refused(c);
  return Meeting(WhereAny(chosen, has));
}

// ---- the summary ----

std::string ValuesSummary(const Condition& c, const S& s, int max) {
  const std::string& typed = InputOf(c, s);
  const auto v = ParseValues(typed, max);
  return v ? ValuesText(*v) : AsTyped(typed);
}
std::string PatternsSummary(const Condition& c, const S& s) {
  const std::string& typed = InputOf(c, s);
  const auto v = ParsePatterns(typed);
  return v ? PatternsText(*v) : AsTyped(typed);
}
std::string DigitsSummary(const Condition& c, const S& s) {
  const std::string& typed = InputOf(c, s);
  const auto v = ParseDigits(typed);
  return v ? DigitsText(*v, ",") : AsTyped(typed);
}
// The ticked boxes by their items, "、" between; "（未选）" when none.
std::string BoxesSummary(const Condition& c, const S& s) {
  std::string out;
  for (const Part& p : c.parts) {
    if (p.kind != Part::Kind::kBox || !FlagOf(s, p)) continue;
    if (!out.empty()) out += "、";
    out += p.item;
  }
  return out.empty() ? "（未选）" : out;
}

using Row = Condition;

}  // namespace

std::span<const Condition, kConditionCount> Conditions() {
  static const Condition rows[] = {
      Row{.name = "和值",
          .box = "chkSum",
          .ticked = &S::sum,
          .parts = {Input("edtSum", &S::sumText)},
          .invalid = kSumInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByValues(c, s, 27, [](int n) { return Bit(core::SumOf(n)); });
              },
          .summary = [](const Row& c, const S& s) { return ValuesSummary(c, s, 27); }},
      Row{.name = "跨度",
          .box = "chkSpan",
          .ticked = &S::span,
          .parts = {Input("edtSpan", &S::spanText)},
          .invalid = kSpanInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByValues(c, s, 9, [](int n) { return Bit(core::SpanOf(n)); });
              },
          .summary = [](const Row& c, const S& s) { return ValuesSummary(c, s, 9); }},
      Row{.name = "和尾",
          .box = "chkTail",
          .ticked = &S::tail,
          .parts = {Input("edtTail", &S::tailText)},
          .invalid = kTailInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByValues(c, s, 9, [](int n) { return Bit(core::SumOf(n) % 10); });
              },
          .summary = [](const Row& c, const S& s) { return ValuesSummary(c, s, 9); }},
      Row{.name = "形态",
          .box = "chkShape",
          .ticked = &S::shape,
          .parts = {Box("chkBaozi", "豹子", &S::baozi), Box("chkZu3", "组三", &S::zu3),
                    Box("chkZu6", "组六", &S::zu6)},
          .invalid = kShapeInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByBoxes(c, s, [](int n) { return Bit(static_cast<int>(core::ShapeOf(n))); });
              },
          .summary = BoxesSummary},
      Row{.name = "奇偶比",
          .box = "chkOdd",
          .ticked = &S::odd,
          .parts = FourBoxes({"chkOdd30", "chkOdd21", "chkOdd12", "chkOdd03"}, &S::oddRatios),
          .invalid = kOddInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByBoxes(c, s,
                               [](int n) { return RatioBit(n, [](int d) { return d % 2 == 1; }); });
              },
          .summary = BoxesSummary},
      Row{.name = "大小比",
          .box = "chkBig",
          .ticked = &S::big,
          .parts = FourBoxes({"chkBig30", "chkBig21", "chkBig12", "chkBig03"}, &S::bigRatios),
          .invalid = kBigInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByBoxes(c, s,
                               [](int n) { return RatioBit(n, [](int d) { return d >= 5; }); });
              },
          .summary = BoxesSummary},
      Row{.name = "012路比",
          .box = "chkRoad",
          .ticked = &S::road,
          .parts = {Input("edtRoad", &S::roadText)},
          .invalid = kRoadInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByPatterns(c, s,
                                  [](int n) { return PatternBit(n, [](int d) { return d % 3; }); });
              },
          .summary = PatternsSummary},
      Row{.name = "胆码",
          .box = "chkDan",
          .ticked = &S::dan,
          .parts = {Input("edtDan", &S::danText),
                    {.kind = Part::Kind::kOption,
                     .control = "rdoDanAll",
                     .other = "rdoDanAny",
                     .item = "方式",
                     .no = "至少含一个",
                     .yes = "全部包含",
                     .flag = &S::danAll}},
          .invalid = kDanInvalid,
          .compile = [](const Row& c, const S& s) -> Met {
            const auto dan = ParseDigits(InputOf(c, s));
            if (!dan) return Refused(c);
            const std::uint32_t chosen = *dan;
            if (!s.danAll) return Meeting(WhereAny(chosen, kDigitsHeld));
            return Meeting(Where(
                kDigitsHeld, [chosen](std::uint32_t held) { return (held & chosen) == chosen; }));
          },
          .summary =
              [](const Row& c, const S& s) {
                const Part& how = c.parts[1];
                return DigitsSummary(c, s) + "（" + std::string(FlagOf(s, how) ? how.yes : how.no) +
                       "）";
              }},
      Row{.name = "杀码",
          .box = "chkKill",
          .ticked = &S::kill,
          .parts = {Input("edtKill", &S::killText)},
          .invalid = kKillInvalid,
          .compile = [](const Row& c, const S& s) -> Met {
            const auto kill = ParseDigits(InputOf(c, s));
            if (!kill) return Refused(c);
            const std::uint32_t chosen = *kill;
            return Meeting(
                Where(kDigitsHeld, [chosen](std::uint32_t held) { return (held & chosen) == 0; }));
          },
          .summary = DigitsSummary},
      Row{.name = "定位",
          .box = "chkPos",
          .ticked = &S::pos,
          .parts = {Input("edtPosH", &S::posHText, "百位"), Input("edtPosT", &S::posTText, "十位"),
                    Input("edtPosU", &S::posUText, "个位")},
          .invalid = kPosInvalid,
          // Each place its digits; a blank place takes any, but not all three.
          .compile = [](const Row& c, const S& s) -> Met {
            // Bits 0-9 the digits allowed at 百位, 10-19 at 十位, 20-29 at 个位.
            std::uint32_t allowed = 0;
            bool any = false;
            for (std::size_t i = 0; i < 3; ++i) {
              const std::string& typed = TextOf(s, c.parts[i]);
              const auto digits = ParsePosition(typed);
              if (!digits) return Refused(c);
              allowed |= std::uint32_t{*digits} << (10 * i);
              any = any || !IsBlankInput(typed);
            }
            if (!any) return Refused(c);
            return Meeting(Where(
                [](int n) {
                  return Bit(core::DigitAt(n, 0)) | Bit(10 + core::DigitAt(n, 1)) |
                         Bit(20 + core::DigitAt(n, 2));
                },
                [allowed](std::uint32_t places) { return (places & allowed) == places; }));
          },
          .summary =
              [](const Row& c, const S& s) {
                std::string out;
                for (const Part& place : c.parts) {
                  const std::string& typed = TextOf(s, place);
                  if (IsBlankInput(typed)) continue;
                  const auto v = ParseDigits(typed);
                  if (!out.empty()) out += ' ';
                  out += std::string(place.item) + " " + (v ? DigitsText(*v, "") : AsTyped(typed));
                }
                return out.empty() ? std::string("（未填）") : out;
              }},
      Row{.name = "二码",
          .box = "chkPair",
          .ticked = &S::pair,
          .parts = {Input("edtPair", &S::pairText)},
          .invalid = kPairInvalid,
          .compile = [](const Row& c, const S& s) -> Met {
            const auto pairs = ParsePairs(InputOf(c, s));
            if (!pairs) return Refused(c);
            return Meeting(Where(kPairKeys, [&](std::uint32_t keys) {
              return (*pairs)[keys & 127] || (*pairs)[keys >> 7 & 127] || (*pairs)[keys >> 14];
            }));
          },
          .summary =
              [](const Row& c, const S& s) {
                const std::string& typed = InputOf(c, s);
                const auto v = ParsePairs(typed);
                return v ? PairsText(*v) : AsTyped(typed);
              }},
      Row{.name = "两码和",
          .box = "chkPairSum",
          .ticked = &S::pairSum,
          .parts = {Input("edtPairSum", &S::pairSumText)},
          .invalid = kPairSumInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByValues(c, s, 9, [](int n) {
                  return PairBits(n, [](int x, int y) { return (x + y) % 10; });
                });
              },
          .summary = [](const Row& c, const S& s) { return ValuesSummary(c, s, 9); }},
      Row{.name = "两码差",
          .box = "chkPairDiff",
          .ticked = &S::pairDiff,
          .parts = {Input("edtPairDiff", &S::pairDiffText)},
          .invalid = kPairDiffInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByValues(c, s, 9, [](int n) {
                  return PairBits(n, [](int x, int y) { return std::abs(x - y); });
                });
              },
          .summary = [](const Row& c, const S& s) { return ValuesSummary(c, s, 9); }},
      // 大 7-9, 中 3-6, 小 0-2.
      Row{.name = "大中小比",
          .box = "chkDzx",
          .ticked = &S::dzx,
          .parts = {Input("edtDzx", &S::dzxText)},
          .invalid = kDzxInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByPatterns(c, s, [](int n) {
                  return PatternBit(n, [](int d) { return d >= 7 ? 0 : d >= 3 ? 1 : 2; });
                });
              },
          .summary = PatternsSummary},
      Row{.name = "质合比",
          .box = "chkPrime",
          .ticked = &S::prime,
          .parts =
              FourBoxes({"chkPrime30", "chkPrime21", "chkPrime12", "chkPrime03"}, &S::primeRatios),
          .invalid = kPrimeInvalid,
          .compile =
              [](const Row& c, const S& s) {
                return ByBoxes(c, s, [](int n) { return RatioBit(n, IsPrimeDigit); });
              },
          .summary = BoxesSummary},
      Row{.name = "连号",
          .box = "chkRun",
          .ticked = &S::run,
          .parts = {Box("chkRunFull", "全顺", &S::runFull), Box("chkRunHalf", "半顺", &S::runHalf),
                    Box("chkRunNone", "非顺", &S::runNone)},
          .invalid = kRunInvalid,
          .compile = [](const Row& c,
                        const S& s) { return ByBoxes(c, s, [](int n) { return Bit(RunOf(n)); }); },
          .summary = BoxesSummary},
      // How many distinct digits a number shares with the latest draw.
      Row{.name = "重号",
          .box = "chkRepeat",
          .ticked = &S::repeat,
          .parts = FourBoxes({"chkRepeat0", "chkRepeat1", "chkRepeat2", "chkRepeat3"},
                             &S::repeatCounts, {"0", "1", "2", "3"}),
          .invalid = kRepeatInvalid,
          .compile = [](const Row& c, const S& s) -> Met {
            const std::uint32_t counts = TickedBoxes(c, s);
            if (counts == 0) return Refused(c);
            const int draw = core::ParseNumber(s.repeatDraw);
            if (draw == core::kNoNumber) return Met::Refused(std::string(kRepeatNoDraw));
            NumberSet met{};
            for (int n = 0; n < core::kNumberCount; ++n)
              met[static_cast<std::size_t>(n)] = (Bit(core::SharedDigits(n, draw)) & counts) != 0;
            return Meeting(met);
          },
          .summary = BoxesSummary},
  };
  static_assert(sizeof(rows) / sizeof(rows[0]) == kConditionCount, "a row per condition");
  return rows;
}

}  // namespace numbers
