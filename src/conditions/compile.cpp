// The ticked conditions compiled into a table over 000-999, and a list
// counted with it.
#include <cstdint>

#include "conditions/condition_table.h"
#include "conditions/conditions.h"
#include "conditions/inputs.h"

namespace numbers {

std::string ToleranceInvalidText(int ticked) {
  if (ticked <= 1) return "只选了 1 个条件，容错应为 0";
  return "容错应为 0–" + std::to_string(ticked - 1) + " 之间的数（已选 " + std::to_string(ticked) +
         " 个条件），如 1";
}

bool IsTicked(const FilterSettings& s, int condition) {
  if (condition < 0 || condition >= kConditionCount) return false;
  return s.*Conditions()[static_cast<std::size_t>(condition)].ticked;
}

int TickedCount(const FilterSettings& s) {
  int n = 0;
  for (const Condition& c : Conditions()) n += s.*c.ticked ? 1 : 0;
  return n;
}

CompiledFilter CompileFilter(const FilterSettings& s) {
  CompiledFilter out;
  out.ticked = TickedCount(s);
  out.anyTicked = out.ticked > 0;
  // In the window's order, so that the first invalid input speaks.
  for (const Condition& c : Conditions()) {
    if (!(s.*c.ticked)) continue;
    const core::Read<NumberSet> met = c.compile(c, s);
    if (!met.Ok()) {
      out.error = met.refusal;
      out.misses = {};
      return out;
    }
    for (std::size_t n = 0; n < out.misses.size(); ++n) out.misses[n] += met.value[n] ? 0 : 1;
  }
  if (out.anyTicked) {
    const auto t = ParseTolerance(s.toleranceText);
    if (!t || *t >= out.ticked) {
      out.error = ToleranceInvalidText(out.ticked);
      out.misses = {};
      return out;
    }
    out.tolerance = *t;
  }
  for (std::size_t n = 0; n < out.misses.size(); ++n) out.meets[n] = out.misses[n] <= out.tolerance;
  return out;
}

namespace {

bool NothingGoes(const CompiledFilter& filter) {
  return !filter.anyTicked || !filter.error.empty();
}

}  // namespace

std::vector<bool> LinesThatGo(const std::vector<std::string>& lines, const CompiledFilter& filter,
                              bool dropMatching) {
  std::vector<bool> go(lines.size(), false);
  if (NothingGoes(filter)) return go;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int n = core::ParseNumber(lines[i]);
    const bool meets = n != core::kNoNumber && filter.meets[static_cast<std::size_t>(n)];
    go[i] = meets == dropMatching;
  }
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
    const int n = core::ParseNumber(line);
    if (n != core::kNoNumber) ++tally.perNumber[static_cast<std::size_t>(n)];
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

}  // namespace numbers
