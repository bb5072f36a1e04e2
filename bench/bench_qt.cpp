// The handlers that fill or trim a list, at 1,000 lines, on Qt Widgets (the
// window shown on the offscreen display), measured against U: one
// setPlainText of the 1,000-line list. Each handler runs as from the loop:
// the click, then the widgets brought up to date.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main3d.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

namespace {

struct Window {
  tk::headless::HeadlessPlatform platform;
  tk::qt::QtApplication app{platform};
  std::unique_ptr<TForm1> form;
  tk::qt::QtDriver user{app};
  tk::Recorder rec;

  Window() {
    app.SetTitle(app::kTitle);
    app.SetManualTimers(true);
    form = std::make_unique<TForm1>(app);
    rec.Attach(app);
    QWidget* w = tk::qt::WidgetOf(form->Window());
    w->show();
    (void)QTest::qWaitForWindowExposed(w);
    app.FlushViews();
  }
  void TickAll(int firstRow) {
    for (int r = firstRow; r < firstRow + 3; ++r) {
      for (auto* box : form->Row(r).boxes) box->SetChecked(true);
    }
  }
  QPlainTextEdit* View(const tk::Control& list) {
    return qobject_cast<QPlainTextEdit*>(tk::qt::WidgetOf(list));
  }
  // Outside the timed part: changes made by the benchmark itself reach the
  // widgets before the next handler runs.
  void Settle(benchmark::State& state) {
    state.PauseTiming();
    app.FlushViews();
    state.ResumeTiming();
  }
};

void BM_U_setPlainText(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  QPlainTextEdit* view = w.View(w.form->mmoList);
  const QString text = view->toPlainText();
  for (auto _ : state) view->setPlainText(text);
  state.counters["blocks"] = view->blockCount();
}
BENCHMARK(BM_U_setPlainText)->Unit(benchmark::kMicrosecond);

void BM_btnGetClick(benchmark::State& state) {
  Window w;
  w.TickAll(0);
  for (auto _ : state) w.user.Click(w.form->btnGet);
  state.counters["lines"] = w.form->mmoList.LineCount();
}
BENCHMARK(BM_btnGetClick)->Unit(benchmark::kMicrosecond);

void BM_btnSelClick(benchmark::State& state) {
  Window w;
  w.TickAll(3);
  for (auto _ : state) w.user.Click(w.form->btnSel);
  state.counters["lines"] = w.form->mmoDel.LineCount();
}
BENCHMARK(BM_btnSelClick)->Unit(benchmark::kMicrosecond);

void BM_btnAllClick(benchmark::State& state) {
  Window w;
  for (auto _ : state) w.user.Click(w.form->btnAll);
}
BENCHMARK(BM_btnAllClick)->Unit(benchmark::kMicrosecond);

// Adding a number to 999 lines: a lookup in all of them, then 1,000 shown.
void BM_btn3Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  w.form->mmoList.DeleteLine(999);
  w.user.Paste(w.form->edtRight, "999");
  for (auto _ : state) {
    w.user.Click(w.form->btn3);
    state.PauseTiming();
    w.form->mmoList.DeleteLine(999);
    w.app.FlushViews();
    state.ResumeTiming();
  }
  state.counters["lines"] = w.form->mmoList.LineCount();
}
BENCHMARK(BM_btn3Click)->Unit(benchmark::kMicrosecond);

// Removing the top line of 1,000.
void BM_btn1Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  for (auto _ : state) {
    state.PauseTiming();
    w.form->mmoList.AppendLine("000");
    w.app.FlushViews();
    w.user.PlaceCaret(w.form->mmoList, 0);
    state.ResumeTiming();
    w.user.Click(w.form->btn1);
  }
}
BENCHMARK(BM_btn1Click)->Unit(benchmark::kMicrosecond);

// The deletion list holds the 500 numbers below 500, from the highest
// down; half of the bet list goes.
void BM_btnDeleteClick(benchmark::State& state) {
  Window w;
  w.form->Row(3).boxes[4]->SetChecked(true);
  for (int d : {3, 2, 1, 0}) w.form->Row(3).boxes[static_cast<std::size_t>(d)]->SetChecked(true);
  for (int row = 4; row < 6; ++row) {
    for (int d = 9; d >= 0; --d)
      w.form->Row(row).boxes[static_cast<std::size_t>(d)]->SetChecked(true);
  }
  w.user.Click(w.form->btnSel);
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form->btnAll);
    state.ResumeTiming();
    w.user.Click(w.form->btnDelete);
  }
  state.counters["left"] = w.form->mmoList.LineCount();
}
BENCHMARK(BM_btnDeleteClick)->Unit(benchmark::kMicrosecond);

// Every candidate of ten digits against the full list: 1,000 lookups, 1,000
// removals and 1,000 rounds of message processing.
void BM_btnDelClick(benchmark::State& state) {
  Window w;
  w.user.Paste(w.form->edtNum, "0123456789");
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form->btnAll);
    state.ResumeTiming();
    w.user.Click(w.form->btnDel);
  }
  state.counters["left"] = w.form->mmoList.LineCount();
}
BENCHMARK(BM_btnDelClick)->Unit(benchmark::kMicrosecond);

// Prints the usual table, then every handler as a multiple of U, by wall
// time and by the CPU time of the window's thread (steadier on a busy
// machine). With repetitions, medians.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
      auto& t = times_[r.run_name.function_name];
      t.wall.push_back(r.GetAdjustedRealTime());
      t.cpu.push_back(r.GetAdjustedCPUTime());
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto u = times_.find("BM_U_setPlainText");
    if (u == times_.end()) return;
    const double uWall = Median(u->second.wall);
    const double uCpu = Median(u->second.cpu);
    std::printf("\nU = one setPlainText of the 1,000-line list: %.0f us wall, %.0f us CPU\n", uWall,
                uCpu);
    std::printf("%-20s %9s %9s %7s %7s %7s\n", "handler", "wall us", "CPU us", "wall U", "CPU U",
                "target");
    for (auto& [name, t] : times_) {
      if (name == u->first) continue;
      const double wall = Median(t.wall);
      const double cpu = Median(t.cpu);
      const double target = name == "BM_btnDelClick" ? 10 : 2;
      std::printf("%-20s %9.0f %9.0f %7.2f %7.2f %5.0f U %s\n", name.c_str(), wall, cpu,
                  wall / uWall, cpu / uCpu, target, cpu / uCpu <= target ? "ok" : "OVER");
    }
  }

 private:
  struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;
  };
  static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  }
  std::map<std::string, Times> times_;
};

QtMessageHandler previous = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == QLatin1String("This plugin does not support propagateSizeHints()")) return;
  if (previous != nullptr) previous(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString runtime = QDir::tempPath() + QStringLiteral("/qelmar3d-bench-runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  }
  previous = qInstallMessageHandler(FilterMessages);
  QApplication qapp(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
