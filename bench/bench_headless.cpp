// The handlers that loop over a list, at 1,000 lines, on the in-memory backend.
#include <benchmark/benchmark.h>

#include "../tests/support/headless_window.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "toolkit/headless/headless.h"

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

}  // namespace

BENCHMARK_MAIN();
