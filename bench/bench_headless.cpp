// The handlers that loop over a list, at 1,000 lines, on the in-memory backend.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/support/headless_window.h"
#include "../tests/support/temp_folder.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "lists/list_file.h"
#include "toolkit/headless/headless.h"
#include "toolkit/history.h"

namespace {

struct Window : testsupport::HeadlessWindow {
  void TickAll(int firstRow) {
    for (int r = firstRow; r < firstRow + 3; ++r) {
      for (auto* box : form.Row(r).boxes) box->SetChecked(true);
    }
  }
  void FillDeletions() {
    TickAll(3);
    user.Click(form.btnSel);
  }
};

void BM_btnGetClick(benchmark::State& state) {
  Window w;
  w.TickAll(0);
  for (auto _ : state) w.user.Click(w.form.btnGet);
  state.counters["lines"] = w.form.mmoList.LineCount();
}
BENCHMARK(BM_btnGetClick)->Unit(benchmark::kMicrosecond);

void BM_btnSelClick(benchmark::State& state) {
  Window w;
  w.TickAll(3);
  for (auto _ : state) w.user.Click(w.form.btnSel);
}
BENCHMARK(BM_btnSelClick)->Unit(benchmark::kMicrosecond);

void BM_btnAllClick(benchmark::State& state) {
  Window w;
  for (auto _ : state) w.user.Click(w.form.btnAll);
}
BENCHMARK(BM_btnAllClick)->Unit(benchmark::kMicrosecond);

// Adding a number looks it up in all 1,000 lines first.
void BM_btn3Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  w.form.mmoList.DeleteLine(999);
  w.user.Paste(w.form.edtRight, "999");
  for (auto _ : state) {
    w.user.Click(w.form.btn3);
    w.form.mmoList.DeleteLine(999);
  }
}
BENCHMARK(BM_btn3Click)->Unit(benchmark::kMicrosecond);

// Removing the first line of 1,000 (the costliest place), then putting it back.
void BM_btn1Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  for (auto _ : state) {
    w.user.PlaceCaret(w.form.mmoList, 0);
    w.user.Click(w.form.btn1);
    w.form.mmoList.AppendLine("000");
  }
}
BENCHMARK(BM_btn1Click)->Unit(benchmark::kMicrosecond);

// 1,000 deletion lines against 1,000 bet lines in reverse order: every
// lookup walks to the end of what is left.
void BM_btnDeleteClick_reverse(benchmark::State& state) {
  Window w;
  for (int row = 3; row < 6; ++row) {
    for (int d = 9; d >= 0; --d)
      w.form.Row(row).boxes[static_cast<std::size_t>(d)]->SetChecked(true);
  }
  w.user.Click(w.form.btnSel);
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form.btnAll);
    state.ResumeTiming();
    w.user.Click(w.form.btnDelete);
  }
}
BENCHMARK(BM_btnDeleteClick_reverse)->Unit(benchmark::kMicrosecond);

// 1,000 deletion lines of which none is listed: 1,000 full scans.
void BM_btnDeleteClick_nomatch(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  for (int i = 0; i < 1000; ++i) w.form.mmoDel.AppendLine("abc");
  for (auto _ : state) w.user.Click(w.form.btnDelete);
}
BENCHMARK(BM_btnDeleteClick_nomatch)->Unit(benchmark::kMicrosecond);

void BM_btnDelClick_allDigits(benchmark::State& state) {
  Window w;
  w.user.Paste(w.form.edtNum, "0123456789");
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form.btnAll);
    state.ResumeTiming();
    w.user.Click(w.form.btnDel);
  }
}
BENCHMARK(BM_btnDelClick_allDigits)->Unit(benchmark::kMicrosecond);

// What the bet list's undo history holds after 100 steps on a list of
// 100,000 lines (100 copies of 000-999): 100 runs of 删除号码 (8 lines each),
// 100 loads of a 100,000-line file (each step keeps the whole list it
// replaced), or 100 removals of one number's every copy (100 lines apart).
void BM_History100Steps(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  testsupport::TempFolder folder;
  Window w;
  w.platform.SetProgramFolder(folder.Slashed());
  std::vector<std::string> lines;
  lines.reserve(100000);
  for (int i = 0; i < 100000; ++i) {
    lines.push_back({static_cast<char>('0' + i % 1000 / 100), static_cast<char>('0' + i % 100 / 10),
                     static_cast<char>('0' + i % 10)});
  }
  const std::string files[2] = {folder.Slashed() + "a.txt", folder.Slashed() + "b.txt"};
  std::ofstream(files[0], std::ios::binary) << numbers::ListFileBytes(lines);
  std::reverse(lines.begin(), lines.end());
  std::ofstream(files[1], std::ios::binary) << numbers::ListFileBytes(lines);
  w.rec.dialogAnswers.push_back(files[0]);
  w.form.mniLoadClick(w.form.mmoList);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): never read, by design
    for (int step = 0; step < 100; ++step) {
      if (kind == 0) {
        w.form.edtNum.SetText(std::to_string(step % 10) + std::to_string(step / 10));
        w.user.Click(w.form.btnDel);
      } else if (kind == 1) {
        w.rec.dialogAnswers.push_back(files[(step + 1) % 2]);
        w.form.mniLoadClick(w.form.mmoList);
      } else {
        char number[4];
        std::snprintf(number, sizeof number, "%03d", step * 7 % 1000);
        w.form.mmoDel.ReplaceLines({number});
        w.form.mniDropDelClick(w.form.mmoList);
      }
    }
  }
  const tk::History& h = w.form.ListHistory();
  state.counters["steps"] = static_cast<double>(h.UndoSteps(w.form.mmoList));
  state.counters["lines"] = w.form.mmoList.LineCount();
  state.counters["history_MiB"] = static_cast<double>(h.Bytes(w.form.mmoList)) / (1 << 20);
}
BENCHMARK(BM_History100Steps)
    ->ArgName("kind")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
