// The draws without a window: importing a long history, and the chart data
// the window builds before it paints.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "../tests/support/draws_layouts.h"
#include "draws/draws.h"

namespace {

// The loop variable of `for (auto _ : state)` is never read, by design.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)

// 10,000 lines as a web page lists them, newest first, with the sales figures
// after the number, in GBK as Chinese Windows saves it.
std::string HistoryFile(int lines) {
  std::mt19937 rng(10000);
  std::string text =
      "\xB8\xA3\xB2\xCA"
      "3D \xBF\xAA\xBD\xB1\xBA\xC5\xC2\xEB\r\n";  // 福彩3D 开奖号码
  for (int i = lines - 1; i >= 0; --i) {
    const int year = 1990 + i / 350, n = 1 + i % 350, number = static_cast<int>(rng() % 1000);
    char line[96];
    std::snprintf(line, sizeof line, "\xB5\xDA%d%03d\xC6\xDA %d-%02d-%02d %d %d %d 123 %u\r\n",
                  year, n, year, 1 + i % 12, 1 + i % 28, number / 100, number / 10 % 10,
                  number % 10, static_cast<unsigned>(rng() % 100000000));
    text += line;
  }
  return text;
}

// Reads `bytes` into an empty history, as an import does, state.range(0)
// draws expected.
void TimeReading(benchmark::State& state, const std::string& bytes) {
  std::size_t kept = 0;
  for (auto _ : state) {
    std::vector<numbers::Draw> history;
    const auto read = numbers::ReadDrawsFile(bytes, "draws.txt");
    const auto refusal = numbers::MergeDraws(history, read.value);
    kept = history.size();
    benchmark::DoNotOptimize(refusal);
  }
  if (kept != static_cast<std::size_t>(state.range(0))) state.SkipWithError("not every draw read");
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_ImportFile(benchmark::State& state) {
  TimeReading(state, HistoryFile(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ImportFile)->Arg(10000)->Unit(benchmark::kMillisecond);

// 10,000 draws in each layout people publish (the argument: which one), in
// the order met in the field: the spreadsheet export and the date-first tabs
// newest first.
void BM_ImportLayout(benchmark::State& state) {
  constexpr int kDraws = 10000;
  const auto which = static_cast<std::size_t>(state.range(0));
  const testsupport::Layout layout = testsupport::Layouts()[which];
  std::mt19937 rng(24);
  const std::string bytes = testsupport::Written(layout, testsupport::MadeUpHistory(rng, kDraws, 0),
                                                 which == 2 || which == 5);
  std::size_t kept = 0;
  for (auto _ : state) {
    std::vector<numbers::Draw> history;
    const auto read = numbers::ReadDrawsFile(bytes, "开奖.csv");
    const auto refusal = numbers::MergeDraws(history, read.value);
    kept = history.size();
    benchmark::DoNotOptimize(refusal);
  }
  if (kept != kDraws) state.SkipWithError("not every draw read");
  state.SetLabel(layout.name);
}
BENCHMARK(BM_ImportLayout)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The window opening on 10,000 draws kept: draws.txt read back as the window
// reads it.
void BM_ReadKeptDraws(benchmark::State& state) {
  TimeReading(state,
              numbers::DrawsFileBytes(
                  numbers::ReadDrawsFile(HistoryFile(static_cast<int>(state.range(0))), "draws.txt")
                      .value));
}
BENCHMARK(BM_ReadKeptDraws)->Arg(10000)->Unit(benchmark::kMillisecond);

// The window opening on 10,000 draws kept, 100 shown: the chart's data and
// one screen of it.
void BM_ChartOfLast100(benchmark::State& state) {
  const auto history = numbers::ReadDrawsFile(HistoryFile(10000), "draws.txt").value;
  for (auto _ : state) {
    const numbers::TrendChart chart(history, 100);
    const auto screen = chart.Paint(chart.Height() - 800, chart.Height());
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_ChartOfLast100)->Unit(benchmark::kMicrosecond);

// NOLINTEND(clang-analyzer-deadcode.DeadStores)

}  // namespace

BENCHMARK_MAIN();
