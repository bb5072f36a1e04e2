// A results page of 10,000 draws as 从网址更新 takes it: decoded by its
// declared charset, its table rows made into lines, read and merged.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "draws/html.h"
#include "draws/reader.h"
#include "draws/store.h"

namespace {

// The loop variable of `for (auto _ : state)` is never read, by design.
// NOLINTBEGIN(clang-analyzer-deadcode.DeadStores)

// A page as results sites write one, in GBK: a head with styles and
// scripts, then a table of `rows` draws, newest first, each number as three
// balls, with its 和值 and sales after it.
std::string ResultsPage(int rows) {
  std::mt19937 rng(24);
  std::string page =
      "<!DOCTYPE html><html><head><meta http-equiv=\"Content-Type\" "
      "content=\"text/html; charset=gb2312\"><title>\xB8\xA3\xB2\xCA"
      "3D</title><style>.ball{color:#c00}</style><script>var rows = '<tr><td>1</td></tr>';"
      "</script></head><body><table class=\"kj\" cellpadding=\"0\">\r\n"
      "<tr><th>\xC6\xDA\xBA\xC5</th><th>\xC8\xD5\xC6\xDA</th><th>\xBA\xC5\xC2\xEB</th>"
      "<th>\xBA\xCD\xD6\xB5</th><th>\xCF\xFA\xCA\xDB\xB6\xEE</th></tr>\r\n";
  for (int i = rows - 1; i >= 0; --i) {
    const int year = 1990 + i / 350, n = 1 + i % 350, number = static_cast<int>(rng() % 1000);
    const int h = number / 100, t = number / 10 % 10, u = number % 10;
    char row[400];
    std::snprintf(row, sizeof row,
                  "<tr class=\"%s\">\r\n  <td align=\"center\">%d%03d</td>\r\n"
                  "  <td>%d-%02d-%02d</td>\r\n  <td><span class=\"ball\">%d</span>"
                  "<span class=\"ball\">%d</span><span class=\"ball\">%d</span></td>\r\n"
                  "  <td>%d</td><td>%u&nbsp;&#20803;</td>\r\n</tr>\r\n",
                  i % 2 == 0 ? "odd" : "even", year, n, year, 1 + i % 12, 1 + i % 28, h, t, u,
                  h + t + u, static_cast<unsigned>(rng() % 100000000));
    page += row;
  }
  page += "</table></body></html>";
  return page;
}

void BM_HtmlPageToDraws(benchmark::State& state) {
  const std::string page = ResultsPage(static_cast<int>(state.range(0)));
  std::size_t kept = 0;
  for (auto _ : state) {
    std::vector<numbers::Draw> history;
    const auto text = numbers::PageText(page, "text/html");
    const auto read = numbers::ReadDraws(text.value_or(""));
    const auto refusal = numbers::MergeDraws(history, read.value);
    kept = history.size();
    benchmark::DoNotOptimize(refusal);
  }
  if (kept != static_cast<std::size_t>(state.range(0))) state.SkipWithError("not every draw read");
  state.counters["bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_HtmlPageToDraws)->Arg(10000)->Unit(benchmark::kMillisecond);

// NOLINTEND(clang-analyzer-deadcode.DeadStores)

}  // namespace

BENCHMARK_MAIN();
