// 历史验证: the conditions compiled once, and per draw only what depends on
// the draw before it (重号).
#include "conditions/backtest.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <utility>

#include "conditions/condition_table.h"
#include "core/number.h"

namespace numbers {

namespace {

bool IsRepeat(const Condition& c) {
  return c.ticked == &FilterSettings::repeat;
}

const Condition& RepeatRow() {
  for (const Condition& c : Conditions()) {
    if (IsRepeat(c)) return c;
  }
  return Conditions().back();
}

// The numbers that meet 重号 against `draw`.
NumberSet RepeatAgainst(const FilterSettings& settings, int draw) {
  FilterSettings s;
  s.repeat = true;
  s.repeatCounts = settings.repeatCounts;
  s.repeatDraw = core::NumberText(draw);
  const Condition& row = RepeatRow();
  return row.compile(row, s).value;
}

// A ticked condition that does not depend on the draw before, compiled once.
struct Fixed {
  std::string_view name;
  NumberSet meets{};
};

struct Judge {
  const FilterSettings& settings;
  int tolerance = 0;
  std::vector<Fixed> fixed;
  bool repeat = false;
  // Per number, the fixed conditions it fails.
  std::array<std::uint8_t, core::kNumberCount> misses{};

  // One draw, with 重号 against `before` (none: left out).
  BacktestRow Row(const BacktestDraw& draw, std::optional<int> before) const {
    BacktestRow row;
    row.issue = draw.issue;
    row.number = draw.number;
    const auto n = static_cast<std::size_t>(draw.number);
    for (const Fixed& f : fixed) {
      if (!f.meets[n]) row.failed.push_back(f.name);
    }
    const bool applied = repeat && before.has_value();
    row.repeatApplied = !repeat || applied;
    NumberSet repeats{};
    if (applied) {
      repeats = RepeatAgainst(settings, *before);
      if (!repeats[n]) row.failed.push_back(RepeatRow().name);
    }
    // No condition applies: nothing goes, in either mode.
    if (fixed.empty() && !applied) {
      row.kept = true;
      row.keptCount = core::kNumberCount;
      return row;
    }
    int meeting = 0;
    for (std::size_t k = 0; k < misses.size(); ++k) {
      const int failed = misses[k] + (applied && !repeats[k] ? 1 : 0);
      meeting += failed <= tolerance ? 1 : 0;
    }
    const bool meets = static_cast<int>(row.failed.size()) <= tolerance;
    row.kept = meets != settings.dropMatching;
    row.keptCount = settings.dropMatching ? core::kNumberCount - meeting : meeting;
    return row;
  }
};

}  // namespace

Backtest RunBacktest(const FilterSettings& settings, std::span<const BacktestDraw> history,
                     int span) {
  Backtest out;
  if (history.empty()) return out;
  // Valid as the window judges it, with a draw for 重号 to compare with.
  FilterSettings whole = settings;
  whole.repeatDraw = core::NumberText(history.back().number);
  const CompiledFilter compiled = CompileFilter(whole);
  if (!compiled.error.empty()) {
    out.error = compiled.error;
    return out;
  }
  Judge judge{.settings = settings, .tolerance = compiled.tolerance, .fixed = {}};
  judge.misses = compiled.misses;
  for (const Condition& c : Conditions()) {
    if (!(settings.*c.ticked)) continue;
    if (IsRepeat(c)) {
      judge.repeat = true;
      continue;
    }
    judge.fixed.push_back({c.name, c.compile(c, settings).value});
  }
  if (judge.repeat) {
    // The compiled counts hold 重号 against the latest draw: take it out.
    const NumberSet latest = RepeatAgainst(settings, history.back().number);
    for (std::size_t n = 0; n < judge.misses.size(); ++n) judge.misses[n] -= latest[n] ? 0 : 1;
  }

  const std::size_t count =
      span <= 0 ? history.size() : std::min(history.size(), static_cast<std::size_t>(span));
  const std::size_t first = history.size() - count;
  out.rows.reserve(count);
  int run = 0;
  for (std::size_t i = first; i < history.size(); ++i) {
    const std::optional<int> before =
        i == 0 ? std::nullopt : std::optional<int>(history[i - 1].number);
    BacktestRow row = judge.Row(history[i], before);
    out.keptDraws += row.kept ? 1 : 0;
    run = row.kept ? 0 : run + 1;
    out.longestMissRun = std::max(out.longestMissRun, run);
    out.keptNumbers += row.keptCount;
    out.rows.push_back(std::move(row));
  }
  return out;
}

int BacktestPercent(int kept, int total) {
  if (total <= 0) return 0;
  const auto half_up = static_cast<int>((std::int64_t{kept} * 200 + total) / (2 * total));
  if (kept > 0 && kept < total) return std::clamp(half_up, 1, 99);
  return half_up;
}

std::string BacktestSummary(const Backtest& b) {
  const auto n = static_cast<std::int64_t>(b.rows.size());
  const std::int64_t average = n == 0 ? 0 : (b.keptNumbers * 2 + n) / (2 * n);
  return "近 " + std::to_string(n) + " 期：保留开奖号码 " + std::to_string(b.keptDraws) + " 期（" +
         std::to_string(BacktestPercent(b.keptDraws, static_cast<int>(n))) +
         "%），最长连续未保留 " + std::to_string(b.longestMissRun) + " 期；平均每期保留 " +
         std::to_string(average) + " 注，金额 " + std::to_string(average * 2) + " 元";
}

std::string FailedText(const BacktestRow& row) {
  std::string out;
  for (std::string_view name : row.failed) {
    if (!out.empty()) out += ' ';
    out += name;
  }
  if (!row.repeatApplied) out += (out.empty() ? "" : " ") + std::string(kRepeatLeftOut);
  return out;
}

std::string_view KeptText(const BacktestRow& row) {
  return row.kept ? "保留" : "未保留";
}

std::string BacktestConditionsText(const FilterSettings& settings) {
  const SettingControl& mode = kModeSetting;
  return FilterSummary(settings) + "；处理方式：" +
         std::string(settings.dropMatching ? mode.yes : mode.no);
}

std::string BacktestFileBytes(const Backtest& b, std::string_view conditions) {
  std::string out = "\xEF\xBB\xBF历史验证\r\n";
  out += conditions;
  out += "\r\n" + BacktestSummary(b) + "\r\n\r\n";
  out += kBacktestColumns;
  out += "\r\n";
  for (const BacktestRow& row : b.rows) {
    out += row.issue + '\t' + core::NumberText(row.number) + '\t' + std::string(KeptText(row)) +
           '\t' + FailedText(row) + '\t' + std::to_string(row.keptCount) + "\r\n";
  }
  return out;
}

}  // namespace numbers
