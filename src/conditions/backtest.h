// 历史验证: how a set of conditions would have done on the draws kept. It
// reports what the conditions would have kept of draws that already
// happened, nothing about the next. Definitions: docs/backtest.md.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/conditions.h"

namespace numbers {

// A kept draw as the conditions see it: its 期号 as written and its number.
struct BacktestDraw {
  std::string issue;
  int number = 0;  // 0-999
};

struct BacktestRow {
  std::string issue;
  int number = 0;
  // Whether the conditions would have kept the drawn number: in keep mode it
  // meets them within 容错, in drop mode it does not.
  bool kept = false;
  // False when 重号 is ticked and this is the first kept draw: no draw before
  // it to compare with, so 重号 is left out for it.
  bool repeatApplied = true;
  // The ticked conditions the drawn number fails, in the window's order.
  std::vector<std::string_view> failed;
  // Of the 1,000 numbers, how many the conditions keep for this draw.
  int keptCount = 0;
};

struct Backtest {
  std::string error;              // the settings are not valid: why, as the count label says it
  std::vector<BacktestRow> rows;  // in 期号 order
  int keptDraws = 0;
  int longestMissRun = 0;  // the most rows in a row whose number was not kept
  std::int64_t keptNumbers = 0;
};

// The conditions of `settings` over the last `span` draws of `history` (every
// kept draw, in 期号 order; all of them when span <= 0 or beyond). 重号 is
// judged against the draw before each one, whatever the span; the settings'
// own repeatDraw is not used.
Backtest RunBacktest(const FilterSettings& settings, std::span<const BacktestDraw> history,
                     int span);

// "近 100 期：保留开奖号码 63 期（63%），最长连续未保留 5 期；平均每期保留 412 注，
// 金额 824 元", N the rows' count.
std::string BacktestSummary(const Backtest& backtest);
// The share kept, in whole percent (docs/backtest.md): half up, never 0 or
// 100 unless none or all.
int BacktestPercent(int kept, int total);
// The row's conditions column: the failed names with a space between, and
// the note when 重号 was left out.
std::string FailedText(const BacktestRow& row);
inline constexpr std::string_view kRepeatLeftOut = "重号不适用（无上一期）";
std::string_view KeptText(const BacktestRow& row);
// The conditions and the mode as one line: "已选条件：和值 10-14；处理方式：保留符合条件的号码".
std::string BacktestConditionsText(const FilterSettings& settings);
// The whole report as a text file: UTF-8 with a byte-order mark, CR LF, the
// conditions, the summary, then a line per row with tabs between the columns.
std::string BacktestFileBytes(const Backtest& backtest, std::string_view conditions);
inline constexpr std::string_view kBacktestColumns = "期号\t开奖号码\t结果\t未符合的条件\t保留注数";

}  // namespace numbers
