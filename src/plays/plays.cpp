#include "plays/plays.h"

#include <bit>

#include "core/number.h"

namespace plays {

namespace {

using core::Shape;

constexpr std::string_view kSumsRefused = "和值应为 0–27 之间的数，如 13 或 10-14,18";
constexpr std::string_view kGroupSumsRefused = "组选和值应为 1–26 之间的数，如 13 或 10-14,18";
constexpr std::string_view kSpansRefused = "跨度应为 0–9 之间的数，如 5 或 0-2,5";
constexpr std::string_view kDanTuoBoth = "一个号码不能既是胆码又是拖码，如 胆码 1、拖码 2345";

constexpr unsigned kAllDigits = 0x3FF;

// The numbers a value (和值, 跨度) takes, counted once from the rules of a number.
template <int N, typename F>
constexpr std::array<int, N> Tally(F valueOf, bool groups) {
  std::array<int, N> t{};
  for (int n = 0; n < core::kNumberCount; ++n) {
    if (groups && (core::GroupKey(n) != n || core::ShapeOf(n) == Shape::kBaozi)) continue;
    ++t[static_cast<std::size_t>(valueOf(n))];
  }
  return t;
}
constexpr auto kBySum = Tally<28>([](int n) { return core::SumOf(n); }, false);
constexpr auto kBySpan = Tally<10>([](int n) { return core::SpanOf(n); }, false);
constexpr auto kGroupsBySum = Tally<28>([](int n) { return core::SumOf(n); }, true);

template <std::size_t N>
long long CountOver(const std::array<int, N>& table, std::uint32_t values) {
  long long c = 0;
  for (; values != 0; values &= values - 1)
    c += table[static_cast<std::size_t>(std::countr_zero(values))];
  return c;
}

// The inputs checked: the values as bits for the plays that read values,
// else 0; refused with what is wrong and an example.
core::Read<std::uint32_t> Check(Play play, const Inputs& in) {
  using R = core::Read<std::uint32_t>;
  const int digits = std::popcount(in.digits & kAllDigits);
  const int tuo = std::popcount(in.tuo & kAllDigits);
  switch (play) {
    case Play::kDirectSum:
      return ReadValues(in.values, 0, 27, kSumsRefused);
    case Play::kGroupSum:
      return ReadValues(in.values, 1, 26, kGroupSumsRefused);
    case Play::kDirectSpan:
      return ReadValues(in.values, 0, 9, kSpansRefused);
    case Play::kDirectCombo:
      return digits >= 3 ? R{} : R::Refused("直选组合至少选 3 个号码，如 1234");
    case Play::kZu3:
      return digits >= 2 ? R{} : R::Refused("组三复式至少选 2 个号码，如 12345");
    case Play::kZu6:
      return digits >= 3 ? R{} : R::Refused("组六复式至少选 3 个号码，如 12345");
    case Play::kGroupPack:
      return digits >= 2 ? R{} : R::Refused("组选包号至少选 2 个号码，如 1234");
    case Play::kZu3DanTuo:
      if (digits != 1) return R::Refused("组三胆拖的胆码应选 1 个号码，如 胆码 1、拖码 2345");
      if ((in.digits & in.tuo & kAllDigits) != 0) return R::Refused(std::string(kDanTuoBoth));
      if (tuo < 1) return R::Refused("组三胆拖至少选 1 个拖码，如 胆码 1、拖码 2345");
      return {};
    case Play::kZu6DanTuo:
      if (digits < 1 || digits > 2) {
        return R::Refused("组六胆拖的胆码应选 1 或 2 个号码，如 胆码 1、拖码 2345");
      }
      if ((in.digits & in.tuo & kAllDigits) != 0) return R::Refused(std::string(kDanTuoBoth));
      if (digits + tuo < 3) {
        return R::Refused(digits == 1
                              ? "组六胆拖选 1 个胆码时至少选 2 个拖码，如 胆码 1、拖码 2345"
                              : "组六胆拖选 2 个胆码时至少选 1 个拖码，如 胆码 12、拖码 345");
      }
      return {};
  }
  return R::Refused("未知的玩法");
}

bool Within(unsigned mask, unsigned digits) {
  return (mask & ~digits) == 0;
}

// Whether the play makes number n (000-999) of checked inputs.
bool Makes(Play play, const Inputs& in, std::uint32_t values, int n) {
  const unsigned mask = core::DigitMask(n);
  const Shape shape = core::ShapeOf(n);
  switch (play) {
    case Play::kDirectSum:
      return (values >> core::SumOf(n) & 1u) != 0;
    case Play::kDirectSpan:
      return (values >> core::SpanOf(n) & 1u) != 0;
    case Play::kDirectCombo:
      return shape == Shape::kZu6 && Within(mask, in.digits);
    default:
      break;
  }
  // 组选: each group once, as its digits in ascending order; no 豹子.
  if (core::GroupKey(n) != n || shape == Shape::kBaozi) return false;
  const unsigned dan = in.digits & kAllDigits;
  switch (play) {
    case Play::kGroupSum:
      return (values >> core::SumOf(n) & 1u) != 0;
    case Play::kZu3:
      return shape == Shape::kZu3 && Within(mask, in.digits);
    case Play::kZu6:
      return shape == Shape::kZu6 && Within(mask, in.digits);
    case Play::kGroupPack:
      return Within(mask, in.digits);
    case Play::kZu3DanTuo:
      return shape == Shape::kZu3 && (mask & dan) == dan && Within(mask & ~dan, in.tuo);
    case Play::kZu6DanTuo:
      return shape == Shape::kZu6 && (mask & dan) == dan && Within(mask & ~dan, in.tuo);
    default:
      return false;
  }
}

}  // namespace

const std::array<PlayInfo, kPlayCount>& AllPlays() {
  static const std::array<PlayInfo, kPlayCount> plays = {{
      {Play::kDirectSum, "直选和值", false, Needs::kSums, "三位数字之和为所填和值的每个直选号码"},
      {Play::kDirectSpan, "直选跨度", false, Needs::kSpans,
       "最大与最小数字之差为所填跨度的每个直选号码"},
      {Play::kDirectCombo, "直选组合", false, Needs::kDigits,
       "所选号码中任意三个不同数字的每种排列"},
      {Play::kGroupSum, "组选和值", true, Needs::kSums, "和值为所填值的每个组三、组六号码"},
      {Play::kZu3, "组三复式", true, Needs::kDigits, "所选号码中任意两个组成的组三（如 112、122）"},
      {Play::kZu6, "组六复式", true, Needs::kDigits, "所选号码中任意三个组成的组六（如 123）"},
      {Play::kGroupPack, "组选包号", true, Needs::kDigits, "所选号码的组三复式加组六复式"},
      {Play::kZu3DanTuo, "组三胆拖", true, Needs::kDanTuo,
       "胆码与每个拖码组成的两注组三（如 112、122）"},
      {Play::kZu6DanTuo, "组六胆拖", true, Needs::kDanTuo, "含全部胆码、其余数字取自拖码的组六"},
  }};
  return plays;
}

const PlayInfo& InfoOf(Play play) {
  return AllPlays()[static_cast<std::size_t>(play)];
}

core::Read<long long> CountOf(Play play, const Inputs& in) {
  const auto checked = Check(play, in);
  if (!checked.Ok()) return core::Read<long long>::Refused(checked.refusal);
  const long long d = std::popcount(in.digits & kAllDigits);
  const long long t = std::popcount(in.tuo & kAllDigits);
  long long count = 0;
  switch (play) {
    case Play::kDirectSum:
      count = CountOver(kBySum, checked.value);
      break;
    case Play::kDirectSpan:
      count = CountOver(kBySpan, checked.value);
      break;
    case Play::kGroupSum:
      count = CountOver(kGroupsBySum, checked.value);
      break;
    case Play::kDirectCombo:
      count = d * (d - 1) * (d - 2);
      break;
    case Play::kZu3:
      count = d * (d - 1);
      break;
    case Play::kZu6:
      count = d * (d - 1) * (d - 2) / 6;
      break;
    case Play::kGroupPack:
      count = d * (d - 1) + d * (d - 1) * (d - 2) / 6;
      break;
    case Play::kZu3DanTuo:
      count = 2 * t;
      break;
    case Play::kZu6DanTuo:
      count = d == 1 ? t * (t - 1) / 2 : t;
      break;
  }
  return {count, {}};
}

core::Read<std::vector<std::string>> LinesOf(Play play, const Inputs& in) {
  const auto checked = Check(play, in);
  if (!checked.Ok()) return core::Read<std::vector<std::string>>::Refused(checked.refusal);
  std::vector<std::string> lines;
  for (int n = 0; n < core::kNumberCount; ++n) {
    if (Makes(play, in, checked.value, n)) lines.push_back(core::NumberText(n));
  }
  return {std::move(lines), {}};
}

Inputs InputsOf(const Choice& choice) {
  Inputs in;
  in.digits = choice.digits;
  in.tuo = choice.tuo;
  switch (InfoOf(choice.play).needs) {
    case Needs::kSums:
      in.values = choice.sums;
      break;
    case Needs::kSpans:
      in.values = choice.spans;
      break;
    case Needs::kDigits:
      in.tuo = 0;
      break;
    case Needs::kDanTuo:
      break;
  }
  return in;
}

}  // namespace plays
