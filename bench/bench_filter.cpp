// The list conditions and group bets on a list of all 1,000 numbers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "conditions/backtest.h"
#include "conditions/conditions.h"
#include "lists/groups.h"

namespace {

// The loop variable of `for (auto _ : state)` is never read, by design.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)

std::vector<std::string> AllNumbers() {
  std::vector<std::string> all;
  for (int n = 0; n < 1000; ++n) {
    const std::string s = std::to_string(n);
    all.push_back(std::string(3 - s.size(), '0') + s);
  }
  return all;
}

// Every condition ticked; each round is one keystroke in the 和值 edit: the
// settings are compiled again and the list counted again.
void BM_RecountAfterKeystroke(benchmark::State& state) {
  const auto lines = AllNumbers();
  numbers::FilterSettings s;
  s.sum = true, s.span = true, s.spanText = "1-8", s.tail = true, s.tailText = "0-9";
  s.shape = true, s.zu3 = true, s.zu6 = true;
  s.odd = true, s.oddRatios = {true, true, true, false};
  s.big = true, s.bigRatios = {false, true, true, true};
  s.road = true, s.roadText = "1:1:1,2:1:0,0:1:2,1：2：0";
  s.dan = true, s.danText = "1,2,3";
  s.kill = true, s.killText = "9";
  const std::string typed[] = {"1", "10", "10-", "10-1", "10-14", "10-14,", "10-14,18"};
  std::size_t k = 0;
  int going = 0;
  for (auto _ : state) {
    s.sumText = typed[k++ % std::size(typed)];
    const auto filter = numbers::CompileFilter(s);
    const auto go = numbers::LinesThatGo(lines, filter, false);
    going = static_cast<int>(std::count(go.begin(), go.end(), true));
    benchmark::DoNotOptimize(going);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_RecountAfterKeystroke)->Unit(benchmark::kMicrosecond);

// Sixteen conditions ticked and 容错 2; each round is one keystroke in the
// 二码 edit over a list of state.range(0) lines: compile, then count by misses.
void BM_RecountWithTolerance(benchmark::State& state) {
  std::vector<std::string> lines;
  const auto all = AllNumbers();
  for (std::int64_t i = 0; i < state.range(0); ++i)
    lines.push_back(all[static_cast<std::size_t>(i * 7919 % 1000)]);
  numbers::FilterSettings s;
  s.sum = true, s.sumText = "5-22", s.span = true, s.spanText = "1-8", s.tail = true;
  s.tailText = "0-9", s.shape = true, s.zu3 = true, s.zu6 = true;
  s.odd = true, s.oddRatios = {true, true, true, false};
  s.big = true, s.bigRatios = {false, true, true, true};
  s.road = true, s.roadText = "1:1:1,2:1:0,0:1:2,1：2：0";
  s.kill = true, s.killText = "9", s.pos = true, s.posHText = "012345678", s.pair = true,
  s.pairSum = true, s.pairSumText = "0-9";
  s.pairDiff = true, s.pairDiffText = "1-9", s.dzx = true, s.dzxText = "1:1:1,0:1:2,1:2:0";
  s.prime = true, s.primeRatios = {true, true, true, true};
  s.run = true, s.runHalf = true, s.runNone = true;
  s.repeat = true, s.repeatDraw = "357", s.repeatCounts = {true, true, true, false};
  s.toleranceText = "2";
  const std::string typed[] = {"1", "12", "12 ", "12 3", "12 35", "12 35,", "12 35,77"};
  std::size_t k = 0;
  for (auto _ : state) {
    s.pairText = typed[k++ % std::size(typed)];
    const auto filter = numbers::CompileFilter(s);
    const auto counts = numbers::CountFilter(lines, filter, false);
    benchmark::DoNotOptimize(numbers::FilterCountText(counts));
  }
}
BENCHMARK(BM_RecountWithTolerance)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_CountFilter(benchmark::State& state) {
  const auto lines = AllNumbers();
  numbers::FilterSettings s;
  s.sum = true, s.sumText = "10-14,18";
  const auto filter = numbers::CompileFilter(s);
  for (auto _ : state) benchmark::DoNotOptimize(numbers::CountFilter(lines, filter, false));
}
BENCHMARK(BM_CountFilter)->Unit(benchmark::kMicrosecond);

void BM_ToGroups(benchmark::State& state) {
  const auto lines = AllNumbers();
  for (auto _ : state) benchmark::DoNotOptimize(numbers::ToGroups(lines));
}
BENCHMARK(BM_ToGroups)->Unit(benchmark::kMicrosecond);

void BM_ExpandGroups(benchmark::State& state) {
  const auto lines = AllNumbers();
  for (auto _ : state) benchmark::DoNotOptimize(numbers::ExpandGroups(lines));
}
BENCHMARK(BM_ExpandGroups)->Unit(benchmark::kMicrosecond);

// The 210 groups back to their 990 numbers.
void BM_ExpandGroups_fromGroups(benchmark::State& state) {
  const auto groups = numbers::ToGroups(AllNumbers());
  for (auto _ : state) benchmark::DoNotOptimize(numbers::ExpandGroups(groups));
}
BENCHMARK(BM_ExpandGroups_fromGroups)->Unit(benchmark::kMicrosecond);

// 历史验证 over 10,000 kept draws with all seventeen conditions ticked and
// 容错 2: compiled once, 重号 again for each draw.
void BM_Backtest(benchmark::State& state) {
  std::vector<numbers::BacktestDraw> history;
  for (int i = 0; i < 10000; ++i)
    history.push_back({std::to_string(2000001 + i), static_cast<int>((i * 7919L + 13) % 1000)});
  numbers::FilterSettings s;
  s.sum = true, s.sumText = "5-22", s.span = true, s.spanText = "1-8", s.tail = true;
  s.tailText = "0-9", s.shape = true, s.zu3 = true, s.zu6 = true;
  s.odd = true, s.oddRatios = {true, true, true, false};
  s.big = true, s.bigRatios = {false, true, true, true};
  s.road = true, s.roadText = "1:1:1,2:1:0,0:1:2,1：2：0";
  s.dan = true, s.danText = "1,2,3,4,5,6", s.kill = true, s.killText = "9";
  s.pos = true, s.posHText = "012345678", s.pair = true, s.pairText = "12 35 47 68";
  s.pairSum = true, s.pairSumText = "0-9", s.pairDiff = true, s.pairDiffText = "1-9";
  s.dzx = true, s.dzxText = "1:1:1,0:1:2,1:2:0", s.prime = true,
  s.primeRatios = {true, true, true, true};
  s.run = true, s.runHalf = true, s.runNone = true;
  s.repeat = true, s.repeatCounts = {true, true, false, false};
  s.toleranceText = "2";
  if (numbers::TickedCount(s) != numbers::kConditionCount) state.SkipWithError("not all ticked");
  for (auto _ : state) {
    const numbers::Backtest b = numbers::RunBacktest(s, history, 0);
    benchmark::DoNotOptimize(b.keptNumbers);
  }
  state.counters["draws"] = static_cast<double>(history.size());
}
BENCHMARK(BM_Backtest)->Unit(benchmark::kMillisecond);

// NOLINTEND(clang-analyzer-deadcode.DeadStores)

}  // namespace

BENCHMARK_MAIN();
