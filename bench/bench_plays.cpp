// The count of every play for all its inputs, as the window's count line
// recounts it at each keystroke and box: the whole round should stay within
// a millisecond.
#include <benchmark/benchmark.h>

#include <bit>
#include <string>
#include <utility>
#include <vector>

#include "plays/plays.h"

namespace {

// The loop variable of `for (auto _ : state)` is never read, by design.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)

using plays::Play;
using Case = std::pair<Play, plays::Inputs>;

// Every digit set; every 胆 of one or two digits with every 拖 of the rest;
// every sum and range of sums; every set of spans.
std::vector<Case> AllInputs() {
  std::vector<Case> cases;
  for (unsigned set = 0; set < 1024; ++set) {
    for (Play p : {Play::kDirectCombo, Play::kZu3, Play::kZu6, Play::kGroupPack}) {
      cases.push_back({p, {set, 0, {}}});
    }
    const int d = std::popcount(set);
    if (d != 1 && d != 2) continue;
    for (unsigned tuo = 0; tuo < 1024; ++tuo) {
      if ((tuo & set) != 0) continue;
      if (d == 1) cases.push_back({Play::kZu3DanTuo, {set, tuo, {}}});
      cases.push_back({Play::kZu6DanTuo, {set, tuo, {}}});
    }
  }
  for (int low = 0; low <= 27; ++low) {
    for (int high = low; high <= 27; ++high) {
      std::string text = std::to_string(low);
      if (high > low) text += "-" + std::to_string(high);
      cases.push_back({Play::kDirectSum, {0, 0, text}});
      cases.push_back({Play::kGroupSum, {0, 0, text}});
    }
  }
  for (unsigned spans = 1; spans < 1024; ++spans) {
    std::string text;
    for (int v = 0; v < 10; ++v) {
      if ((spans >> v & 1u) == 0) continue;
      if (!text.empty()) text += ",";
      text += std::to_string(v);
    }
    cases.push_back({Play::kDirectSpan, {0, 0, text}});
  }
  return cases;
}

void BM_CountEveryPlayForAllInputs(benchmark::State& state) {
  const std::vector<Case> cases = AllInputs();
  long long total = 0;
  for (auto _ : state) {
    total = 0;
    for (const auto& [play, in] : cases) {
      const auto c = plays::CountOf(play, in);
      total += c.Ok() ? c.value : 0;
    }
    benchmark::DoNotOptimize(total);
  }
  state.counters["inputs"] = static_cast<double>(cases.size());
  state.counters["bets"] = static_cast<double>(total);
}
BENCHMARK(BM_CountEveryPlayForAllInputs)->Unit(benchmark::kMicrosecond);

// Writing out the largest play: every number of all sums.
void BM_LinesOfEverySum(benchmark::State& state) {
  const plays::Inputs in{0, 0, "0-27"};
  for (auto _ : state) benchmark::DoNotOptimize(plays::LinesOf(Play::kDirectSum, in));
}
BENCHMARK(BM_LinesOfEverySum)->Unit(benchmark::kMicrosecond);

// NOLINTEND(clang-analyzer-deadcode.DeadStores)

}  // namespace

BENCHMARK_MAIN();
