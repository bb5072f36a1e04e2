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
#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "list_cases.h"
#include "toolkit/text.h"
#include "toolkit/win32/win32.h"

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
  w.user.Paste(w.form->edtNum, huge);
  if (tk::CharCount(w.form->edtNum.Text()) != 2000000) state.SkipWithError("paste cut short");
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

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RegisterCases([] { return std::make_unique<Window>(); });
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
