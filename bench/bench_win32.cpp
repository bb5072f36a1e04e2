// The handlers that loop over a list, at 1,000 lines, on native Win32
// controls with the window shown. Every figure includes bringing the list
// widget up to date, as the message loop does after each handler. The
// counter "U" gives each time in units of one WM_SETTEXT of the whole
// 1,000-line list, measured in the same run (BM_U).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "toolkit/text.h"
#include "toolkit/win32/win32_driver.h"

namespace {

double g_unitSeconds = 0;  // one WM_SETTEXT of the final list

struct Window {
  tk::win32::Win32Platform platform;
  tk::win32::Win32Application app{platform, {.dpi = 0, .nativeTimers = false}};
  TForm1 form{app};
  tk::win32::Win32Driver user{app};
  tk::Recorder rec;

  Window() {
    app.SetTitle(app::kTitle);
    rec.Attach(app);
    app.Show(form);
  }
  void TickAll(int firstRow) {
    for (int r = firstRow; r < firstRow + 3; ++r) {
      for (auto* box : form.Row(r).boxes) box->SetChecked(true);
    }
  }
};

std::wstring AllNumbersText() {
  std::wstring text;
  for (int i = 0; i < 1000; ++i) {
    wchar_t line[8];
    swprintf(line, 8, L"%03d\r\n", i);
    text += line;
  }
  return text;
}

// Time per iteration in U.
void CountInU(benchmark::State& state) {
  if (g_unitSeconds > 0) {
    state.counters["U"] = benchmark::Counter(
        g_unitSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  }
}

void BM_U(benchmark::State& state) {
  Window w;
  HWND list = tk::win32::HandleOf(w.form.mmoList);
  const std::wstring text = AllNumbersText();
  std::vector<double> times;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  g_unitSeconds = times[times.size() / 2];
  state.counters["U_ms"] = g_unitSeconds * 1000;
}
BENCHMARK(BM_U)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

// The same on the deletion list, for comparison.
void BM_U_mmoDel(benchmark::State& state) {
  Window w;
  HWND list = tk::win32::HandleOf(w.form.mmoDel);
  const std::wstring text = AllNumbersText();
  for (auto _ : state) SendMessageW(list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  CountInU(state);
}
BENCHMARK(BM_U_mmoDel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

void BM_btnGetClick(benchmark::State& state) {
  Window w;
  w.TickAll(0);
  for (auto _ : state) w.user.Click(w.form.btnGet);
  CountInU(state);
}
BENCHMARK(BM_btnGetClick)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_btnSelClick(benchmark::State& state) {
  Window w;
  w.TickAll(3);
  for (auto _ : state) w.user.Click(w.form.btnSel);
  CountInU(state);
}
BENCHMARK(BM_btnSelClick)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_btnAllClick(benchmark::State& state) {
  Window w;
  for (auto _ : state) w.user.Click(w.form.btnAll);
  CountInU(state);
}
BENCHMARK(BM_btnAllClick)->Unit(benchmark::kMillisecond)->UseRealTime();

// Adding a number to a list of 999 (the lookup walks all of them).
void BM_btn3Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  w.form.mmoList.DeleteLine(999);
  w.user.Paste(w.form.edtRight, "999");
  for (auto _ : state) {
    w.user.Click(w.form.btn3);
    state.PauseTiming();
    w.form.mmoList.DeleteLine(999);
    w.app.FlushViews();
    state.ResumeTiming();
  }
  CountInU(state);
}
BENCHMARK(BM_btn3Click)->Unit(benchmark::kMillisecond)->UseRealTime();

// Removing the first of 1,000 lines.
void BM_btn1Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  for (auto _ : state) {
    state.PauseTiming();
    w.form.mmoList.AppendLine("000");
    w.app.FlushViews();
    w.user.PlaceCaret(w.form.mmoList, 0);
    state.ResumeTiming();
    w.user.Click(w.form.btn1);
  }
  CountInU(state);
}
BENCHMARK(BM_btn1Click)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1,000 deletion lines against 1,000 bet lines in reverse order.
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
  CountInU(state);
}
BENCHMARK(BM_btnDeleteClick_reverse)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every number spelled with 0123456789 on a full list: 1,000 candidates, a
// message pump before each, every line removed.
void BM_btnDelClick_allDigits(benchmark::State& state) {
  Window w;
  w.user.Paste(w.form.edtNum, "0123456789");
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form.btnAll);
    state.ResumeTiming();
    w.user.Click(w.form.btnDel);
  }
  CountInU(state);
}
BENCHMARK(BM_btnDelClick_allDigits)->Unit(benchmark::kMillisecond)->UseRealTime();

// Saving the 1,000-line bet list through its menu action, and loading that
// file into the deletion list; the dialog is answered at once. "syncs" are
// the list widget updates per run.
std::string ListFilePath() {
  const std::u8string p =
      (std::filesystem::temp_directory_path() / "qelmar3d-bench-list.txt").u8string();
  return {p.begin(), p.end()};
}

void BM_SaveList(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  const std::string path = ListFilePath();
  const std::size_t before = w.app.ListSyncs();
  for (auto _ : state) {
    w.rec.dialogAnswers.push_back(path);
    w.form.mniSaveClick(w.form.mmoList);
    w.app.FlushViews();
  }
  CountInU(state);
  state.counters["syncs"] =
      static_cast<double>(w.app.ListSyncs() - before) / static_cast<double>(state.iterations());
  state.counters["errors"] = static_cast<double>(w.rec.errors.size());
}
BENCHMARK(BM_SaveList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadList(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  const std::string path = ListFilePath();
  w.rec.dialogAnswers.push_back(path);
  w.form.mniSaveClick(w.form.mmoList);
  w.app.FlushViews();
  const std::size_t before = w.app.ListSyncs();
  for (auto _ : state) {
    w.rec.dialogAnswers.push_back(path);
    w.form.mniLoadClick(w.form.mmoDel);
    w.app.FlushViews();
  }
  CountInU(state);
  state.counters["syncs"] =
      static_cast<double>(w.app.ListSyncs() - before) / static_cast<double>(state.iterations());
  state.counters["lines"] = w.form.mmoDel.LineCount();
}
BENCHMARK(BM_LoadList)->Unit(benchmark::kMillisecond)->UseRealTime();

// 组选 of all 1,000 numbers, then their expansion back to 990; "syncs" is
// the list widget's WM_SETTEXT count per run (at most one).
void BM_mniGroupClick(benchmark::State& state) {
  Window w;
  std::size_t syncs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form.btnAll);
    const std::size_t before = w.app.ListSyncs();
    state.ResumeTiming();
    w.form.mniGroupClick(w.form.mmoList);
    w.app.FlushViews();
    syncs = std::max(syncs, w.app.ListSyncs() - before);
  }
  state.counters["syncs"] = static_cast<double>(syncs);
  CountInU(state);
}
BENCHMARK(BM_mniGroupClick)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_mniExpandClick(benchmark::State& state) {
  Window w;
  std::size_t syncs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form.btnAll);
    w.form.mniGroupClick(w.form.mmoList);
    w.app.FlushViews();
    const std::size_t before = w.app.ListSyncs();
    state.ResumeTiming();
    w.form.mniExpandClick(w.form.mmoList);
    w.app.FlushViews();
    syncs = std::max(syncs, w.app.ListSyncs() - before);
  }
  state.counters["syncs"] = static_cast<double>(syncs);
  CountInU(state);
}
BENCHMARK(BM_mniExpandClick)->Unit(benchmark::kMillisecond)->UseRealTime();

// One keystroke in the conditions window over a bet list of 1,000 or
// 100,000 lines (each number 100 times): the recount, the summary and the
// count label. Keys alternate: "13" typed, then Backspace. U stays the
// WM_SETTEXT of the 1,000-line list; the target is 0.1 U.
void BM_FilterKeystroke(benchmark::State& state) {
  Window w;
  w.user.Click(w.form.btnAll);
  const int copies = static_cast<int>(state.range(0) / 1000);
  std::vector<std::string> lines;
  for (int c = 0; c < copies; ++c) {
    lines.insert(lines.end(), w.form.mmoList.Lines().begin(),
                 w.form.mmoList.Lines().begin() + 1000);
  }
  w.form.mmoList.ReplaceLines(std::move(lines));
  w.app.FlushViews();
  w.user.Post([&] {
    TFormFilter& f = *w.form.FormFilter;
    tk::Control& sum = f.Find("edtSum");
    w.user.Type(sum, "1");  // ticks 和值
    bool typed = false;
    for (auto _ : state) {
      w.user.TypeChar(sum, typed ? tk::kBackspace : U'3');
      w.app.FlushViews();
      typed = !typed;
    }
    const int meeting = (typed ? 75 : 3) * copies;
    state.counters["counted"] =
        f.lblFilterCount.Text() ==
                numbers::FilterCountText(1000 * copies, meeting, 1000 * copies - meeting)
            ? 1
            : 0;
    f.Close();
  });
  w.form.mniFilterClick(w.form.mmoList);
  CountInU(state);
}
BENCHMARK(BM_FilterKeystroke)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same run after a paste of 2,000,000 characters into edtNum: the ten
// digits among 24 distinct characters, or among 20,000 (ideographs). With
// the second argument 1 the focus goes to edtNum at the run's first message
// processing, so its caret blinks throughout. longest_ms is the longest run,
// click to end; the target is 2,000 ms.
void BM_btnDelClick_hugePaste(benchmark::State& state) {
  Window w;
  std::vector<std::string> chars;
  for (std::string_view ch : tk::Chars("0123456789中文abcdefghijkl")) chars.emplace_back(ch);
  if (state.range(0) > 24) {
    chars.resize(10);
    for (char32_t c = 0x4E00; chars.size() < static_cast<std::size_t>(state.range(0)); ++c) {
      chars.push_back(tk::EncodeChar(c));
    }
  }
  std::string huge;
  for (std::size_t i = 0; i < 2000000; ++i) huge += chars[i % chars.size()];
  w.user.Paste(w.form.edtNum, huge);
  if (tk::CharCount(w.form.edtNum.Text()) != 2000000) state.SkipWithError("paste cut short");
  w.app.PumpMessages();  // shown, as the user sees it before the click
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form.btnAll);
    state.ResumeTiming();
    if (state.range(1) == 1) w.user.Post([&] { w.form.edtNum.GiveFocus(); });
    const auto start = std::chrono::steady_clock::now();
    w.user.Click(w.form.btnDel);
    longest = std::max(
        longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
    if (w.form.mmoList.LineCount() != 0) state.SkipWithError("numbers left");
  }
  state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_btnDelClick_hugePaste)
    ->Args({24, 0})
    ->Args({24, 1})
    ->Args({20000, 0})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
