// Every handler, menu item and the conditions window's count on native
// Win32 controls with the window shown, at 1,000 and 100,000 lines, measured
// against U: one WM_SETTEXT of a list of as many lines (list_cases.h).
// Every figure includes bringing the list widget up to date, as the message
// loop does after each handler; the painting that follows is not counted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/support/temp_folder.h"
#include "app/draws_form.h"
#include "app/draws_table.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "core/text.h"
#include "list_cases.h"
#include "toolkit/win32/win32_driver.h"

namespace {

struct Window : bench::Window {
  testsupport::TempFolder folder;
  tk::win32::Win32Platform platform;
  tk::win32::Win32Application app{platform, {.dpi = 0, .nativeTimers = false}};
  std::unique_ptr<TForm1> form;
  tk::win32::Win32Driver user{app};
  tk::Recorder rec;
  std::map<int, std::wstring> texts;  // lists of n lines, for U

  Window() {
    platform.SetProgramFolder(folder.Slashed());
    app.SetTitle(app::kTitle);
    form = std::make_unique<TForm1>(app);
    rec.Attach(app);
    app.Show(*form);
  }

  TForm1& Form() override { return *form; }
  tk::UserDriver& User() override { return user; }
  tk::Recorder& Rec() override { return rec; }
  std::string Folder() override { return folder.Slashed(); }
  void Settle() override { app.FlushViews(); }
  // Painted before the next run.
  void Rest() override { app.PumpMessages(); }
  void Redraw(int lines, bench::Clock& clock) override {
    std::wstring& text = texts[lines];
    if (text.empty()) {
      for (int i = 0; i < lines; ++i) {
        wchar_t line[8];
        swprintf(line, 8, L"%03d\r\n", i % 1000);
        text += line;
      }
    }
    HWND list = tk::win32::HandleOf(form->mmoList);
    clock.Restart();
    SendMessageW(list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    clock.Stop();
    form->mmoList.ReplaceLines(form->mmoList.Lines());
    app.FlushViews();
  }
};

// The same run after a paste of 2,000,000 characters into edtNum: the ten
// digits among 24 distinct characters, or among 20,000 (ideographs). With
// the second argument 1 the focus goes to edtNum at the run's first message
// processing, so its caret blinks throughout. longest_ms is the longest run,
// click to end; the target is 2,000 ms.
void BM_btnDelClick_hugePaste(benchmark::State& state) {
  Window w;
  w.user.Paste(w.form->edtNum, bench::HugePaste(static_cast<int>(state.range(0))));
  if (core::CharCount(w.form->edtNum.Text()) != 2000000) state.SkipWithError("paste cut short");
  w.app.PumpMessages();  // shown, as the user sees it before the click
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form->btnAll);
    state.ResumeTiming();
    if (state.range(1) == 1) w.user.Post([&] { w.form->edtNum.GiveFocus(); });
    const auto start = std::chrono::steady_clock::now();
    w.user.Click(w.form->btnDel);
    longest = std::max(
        longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
    if (w.form->mmoList.LineCount() != 0) state.SkipWithError("numbers left");
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

// The draws window opened on 10,000 kept draws, 100 shown, and on none: from
// the menu item's action to the chart's visible rows painted (draws.txt read,
// the chart built, the window made and shown, one WM_PAINT of the canvas). The
// history's share, the difference of the two, and the paint alone (paint_ms)
// are to stay within a frame, 16 ms.
void BM_DrawsWindowOpen(benchmark::State& state) {
  Window w;
  const std::filesystem::path data =
      std::filesystem::temp_directory_path() / "qelmar3d-bench-draws";
  std::filesystem::create_directories(data);
  w.platform.SetProgramFolder((data / "").string());
  w.platform.ReplaceFileBytes(w.platform.DataFolder() + "draws.txt",
                              bench::KeptDrawsFile(static_cast<int>(state.range(0))));
  double paint = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    w.user.Post([&] {
      TFormDraws& d = *w.form->FormDraws;
      const auto p0 = std::chrono::steady_clock::now();
      RedrawWindow(tk::win32::HandleOf(d.cnvChart), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW);
      const auto end = std::chrono::steady_clock::now();
      paint += std::chrono::duration<double, std::milli>(end - p0).count();
      state.SetIterationTime(std::chrono::duration<double>(end - start).count());
      if (!bench::ShowsLatestDraws(d, static_cast<std::size_t>(state.range(0)))) {
        state.SkipWithError("not the 100 latest of 10,000 draws");
      }
      d.Close();
    });
    w.form->mniDrawsClick(w.form->mmoList);
    // A window of its own: the menu returns at once.
    while (w.form->FormDraws != nullptr) w.app.PumpMessages();
  }
  state.counters["paint_ms"] = paint / static_cast<double>(state.iterations());
  std::filesystem::remove_all(data);
}
BENCHMARK(BM_DrawsWindowOpen)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime();

// What the window system alone costs: a dialog of the draws window's size
// with no controls, made, shown over the main window and painted, timed the
// same way. Under Wine this is the floor under every window the program opens.
void BM_BareWindowOpen(benchmark::State& state) {
  Window w;
  const tk::FormSpec& draws = app::DrawsFormSpec();
  tk::FormSpec bare = draws;
  bare.name = "FormBare";
  bare.controls = {};
  bare.dialog = true;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    tk::Form form(w.app, bare);
    w.user.Post([&] {
      RedrawWindow(tk::win32::HandleOf(form.Window()), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW);
      state.SetIterationTime(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      form.Close();
    });
    w.app.ShowModal(form, *w.form);
  }
}
BENCHMARK(BM_BareWindowOpen)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
  return bench::RunAll(argc, argv, [] { return std::make_unique<Window>(); });
}
