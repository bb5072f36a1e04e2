// A click's latency while the tips page is on its way: the first tick starts
// the fetch from a loopback server that holds its answer back for 10 s. Each
// iteration posts a click on btnAll to the window's queue, as input arrives,
// and times it from being posted to being handled. The counters give the
// first tick's own time and the slowest click. The window is the real one:
// Qt Widgets (offscreen) on Linux, native controls under Wine on Windows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "../tests/support/http_server.h"
#include "../tests/support/temp_folder.h"
#include "app/main_table.h"
#include "app/main_window.h"

#ifdef _WIN32
#include "toolkit/win32/win32_driver.h"
#else
#include <QApplication>
#include <QTest>

#include "toolkit/linux/linux_platform.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct Window {
#ifdef _WIN32
  tk::win32::Win32Platform platform;
  tk::win32::Win32Application app{platform, {.dpi = 0, .nativeTimers = false}};
  TForm1 form{app};
  tk::win32::Win32Driver user{app};
  Window() {
    app.SetTitle(app::kTitle);
    app.Show(form);
  }
#else
  tk::LinuxPlatform platform;
  tk::qt::QtApplication app{platform};
  // Ticks only when fired: the timer is made with the form.
  TForm1 form{(app.SetManualTimers(true), app)};
  tk::qt::QtDriver user{app};
  Window() {
    app.SetTitle(app::kTitle);
    QWidget* w = tk::qt::WidgetOf(form.Window());
    w->show();
    (void)QTest::qWaitForWindowExposed(w);
  }
#endif
};

// Arguments: the control clicked (0: the box chk1, 1: btnAll, which fills
// the list) and whether the first tick has started the held fetch (without
// it: the same clicks for reference).
void BM_ClickDuringHeldFetch(benchmark::State& state) {
  tk::Control* target = nullptr;
  const bool fetching = state.range(1) != 0;
  testsupport::TempFolder folder;
  testsupport::HttpServer server;
  server.Hold();
  server.Answer(testsupport::Response::Page("tip@#$http://a.example/\r\n"));
  Window w;
  w.platform.SetProgramFolder(folder.Slashed());
  w.form.TipsPageUrl = server.Url();

  target = state.range(0) == 0 ? &w.form.Find("chk1") : &w.form.btnAll;

  const auto tick0 = Clock::now();
  if (fetching) w.user.FireTimer(w.form.tmr1);
  const double firstTick = Ms(Clock::now() - tick0);
  if (fetching && !server.AwaitRequests(1)) {
    state.SkipWithError("the fetch never reached the server");
  }
  const auto release = Clock::now() + std::chrono::seconds(10);

  double slowest = 0;
  for (auto _ : state) {
    bool handled = false;
    Clock::time_point done;
    const auto posted = Clock::now();
    w.user.Post([&] {
      w.user.Click(*target);
      done = Clock::now();
      handled = true;
    });
    while (!handled) w.app.PumpMessages();
    const double ms = Ms(done - posted);
    slowest = std::max(slowest, ms);
    state.SetIterationTime(ms / 1000);
    // Spread the clicks over the held fetch.
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  // The server answers only when released below: the page is still coming.
  const bool stillHeld = !fetching || w.form.TipsFetch != nullptr;
  const double clicking = Ms(Clock::now() - tick0);
  if (fetching) std::this_thread::sleep_until(release);
  server.Release();
  for (int i = 0; i < 5000 && w.form.TipsFetch; ++i) {
    w.app.PumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!stillHeld) state.SkipWithError("the fetch ended before the server answered");
  if (fetching && w.form.lblTips.Caption() != "tip >>") {
    state.SkipWithError(("the tip never showed (" +
                         std::string(w.form.TipsFetch ? "still fetching" : "fetched") + ", " +
                         std::to_string(clicking) + " ms of clicks)")
                            .c_str());
  }
  state.counters["first_tick_ms"] = firstTick;
  state.counters["slowest_click_ms"] = slowest;
  state.counters["clicking_ms"] = clicking;
}
// 100 clicks 40 ms apart, within the 10 s hold.
BENCHMARK(BM_ClickDuringHeldFetch)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100)
    ->ArgsProduct({{0, 1}, {0, 1}});

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qapp(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
