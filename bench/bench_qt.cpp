// The handlers that fill or trim a list, at 1,000 lines, on Qt Widgets (the
// window shown on the offscreen display), measured against U: one
// setPlainText of the 1,000-line list. Each handler runs as from the loop:
// the click, then the widgets brought up to date.
//
// The machine is shared, so each handler's iterations alternate with
// samples of U taken on the same list widget at the same time; the counters
// xU_wall and xU_cpu are the handler's cost in U, by wall time and by the
// CPU time of the window's thread.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"
#include "toolkit/text.h"

namespace {

double WallUs() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double ThreadCpuUs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

struct Spent {
  double wall = 0;
  double cpu = 0;
  template <class F>
  void Add(F&& f) {
    const double w0 = WallUs();
    const double c0 = ThreadCpuUs();
    f();
    cpu += ThreadCpuUs() - c0;
    wall += WallUs() - w0;
  }
};

struct Window {
  tk::headless::HeadlessPlatform platform;
  tk::qt::QtApplication app{platform};
  std::unique_ptr<TForm1> form;
  tk::qt::QtDriver user{app};
  tk::Recorder rec;
  QString unitText;  // the 1,000-line list
  Spent handler;
  Spent unit;

  Window() {
    app.SetTitle(app::kTitle);
    app.SetManualTimers(true);
    form = std::make_unique<TForm1>(app);
    rec.Attach(app);
    QWidget* w = tk::qt::WidgetOf(form->Window());
    w->show();
    (void)QTest::qWaitForWindowExposed(w);
    app.FlushViews();
    for (int i = 0; i < 1000; ++i) {
      unitText += QStringLiteral("%1\n").arg(i, 3, 10, QLatin1Char('0'));
    }
  }

  void TickAll(int firstRow) {
    for (int r = firstRow; r < firstRow + 3; ++r) {
      for (auto* box : form->Row(r).boxes) box->SetChecked(true);
    }
  }
  QPlainTextEdit* View(const tk::Control& list) {
    return qobject_cast<QPlainTextEdit*>(tk::qt::WidgetOf(list));
  }
  // Untimed steps that set up the next run, shown and painted.
  template <class F>
  void Prepare(benchmark::State& state, F&& f) {
    state.PauseTiming();
    f();
    app.FlushViews();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  // One timed run of the handler, then (untimed) one sample of U on the
  // list it changes, which then shows its own lines again. Neither counts
  // the painting that follows.
  template <class F>
  void Run(benchmark::State& state, tk::ListControl& list, F&& f) {
    handler.Add(f);
    state.PauseTiming();
    QPlainTextEdit* view = View(list);
    unit.Add([&] { view->setPlainText(unitText); });
    list.SetText(list.Text());
    app.FlushViews();
    // Painted before the next run: the next click's repaint of its button
    // would otherwise paint this list too.
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  void Report(benchmark::State& state) {
    state.counters["xU_wall"] = handler.wall / unit.wall;
    state.counters["xU_cpu"] = handler.cpu / unit.cpu;
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
  for (auto _ : state) w.Run(state, w.form->mmoList, [&] { w.user.Click(w.form->btnGet); });
  w.Report(state);
}
BENCHMARK(BM_btnGetClick)->Unit(benchmark::kMicrosecond);

void BM_btnSelClick(benchmark::State& state) {
  Window w;
  w.TickAll(3);
  for (auto _ : state) w.Run(state, w.form->mmoDel, [&] { w.user.Click(w.form->btnSel); });
  w.Report(state);
}
BENCHMARK(BM_btnSelClick)->Unit(benchmark::kMicrosecond);

void BM_btnAllClick(benchmark::State& state) {
  Window w;
  for (auto _ : state) w.Run(state, w.form->mmoList, [&] { w.user.Click(w.form->btnAll); });
  w.Report(state);
}
BENCHMARK(BM_btnAllClick)->Unit(benchmark::kMicrosecond);

// Adding a number to 999 lines: a lookup in all of them, then 1,000 shown.
void BM_btn3Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  w.form->mmoList.DeleteLine(999);
  w.user.Paste(w.form->edtRight, "999");
  for (auto _ : state) {
    w.Run(state, w.form->mmoList, [&] { w.user.Click(w.form->btn3); });
    w.Prepare(state, [&] { w.form->mmoList.DeleteLine(999); });
  }
  w.Report(state);
}
BENCHMARK(BM_btn3Click)->Unit(benchmark::kMicrosecond);

// Removing the top line of 1,000.
void BM_btn1Click(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  for (auto _ : state) {
    w.Prepare(state, [&] {
      w.form->mmoList.AppendLine("000");
      w.user.PlaceCaret(w.form->mmoList, 0);
    });
    w.Run(state, w.form->mmoList, [&] { w.user.Click(w.form->btn1); });
  }
  w.Report(state);
}
BENCHMARK(BM_btn1Click)->Unit(benchmark::kMicrosecond);

// The deletion list holds the 500 numbers below 500, from the highest
// down; half of the bet list goes.
void BM_btnDeleteClick(benchmark::State& state) {
  Window w;
  for (int d : {4, 3, 2, 1, 0}) w.form->Row(3).boxes[static_cast<std::size_t>(d)]->SetChecked(true);
  for (int row = 4; row < 6; ++row) {
    for (int d = 9; d >= 0; --d)
      w.form->Row(row).boxes[static_cast<std::size_t>(d)]->SetChecked(true);
  }
  w.user.Click(w.form->btnSel);
  for (auto _ : state) {
    w.Prepare(state, [&] { w.user.Click(w.form->btnAll); });
    w.Run(state, w.form->mmoList, [&] { w.user.Click(w.form->btnDelete); });
  }
  state.counters["left"] = w.form->mmoList.LineCount();
  w.Report(state);
}
BENCHMARK(BM_btnDeleteClick)->Unit(benchmark::kMicrosecond);

// Every candidate of ten digits against the full list: 1,000 lookups, 1,000
// removals and 1,000 rounds of message processing.
void BM_btnDelClick(benchmark::State& state) {
  Window w;
  w.user.Paste(w.form->edtNum, "0123456789");
  for (auto _ : state) {
    w.Prepare(state, [&] { w.user.Click(w.form->btnAll); });
    w.Run(state, w.form->mmoList, [&] { w.user.Click(w.form->btnDel); });
  }
  state.counters["left"] = w.form->mmoList.LineCount();
  w.Report(state);
}
BENCHMARK(BM_btnDelClick)->Unit(benchmark::kMicrosecond);

// Saving the 1,000-line bet list through its menu action, and loading that
// file into the deletion list; the dialog is answered at once.
QString ListFilePath() {
  return QDir::tempPath() + QStringLiteral("/qelmar3d-bench-list.txt");
}

void BM_SaveList(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  const std::string path = ListFilePath().toStdString();
  for (auto _ : state) {
    w.rec.dialogAnswers.push_back(path);
    w.Run(state, w.form->mmoList, [&] {
      w.form->mniSaveClick(w.form->mmoList);
      w.user.Settle();
    });
  }
  state.counters["errors"] = static_cast<double>(w.rec.errors.size());
  w.Report(state);
}
BENCHMARK(BM_SaveList)->Unit(benchmark::kMicrosecond);

void BM_LoadList(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  const std::string path = ListFilePath().toStdString();
  w.rec.dialogAnswers.push_back(path);
  w.form->mniSaveClick(w.form->mmoList);
  for (auto _ : state) {
    w.rec.dialogAnswers.push_back(path);
    w.Run(state, w.form->mmoDel, [&] {
      w.form->mniLoadClick(w.form->mmoDel);
      w.user.Settle();
    });
  }
  state.counters["lines"] = w.form->mmoDel.LineCount();
  w.Report(state);
}
BENCHMARK(BM_LoadList)->Unit(benchmark::kMicrosecond);

// 组选 of all 1,000 numbers, then their expansion back to 990: each a
// handler of the bet list's menu that replaces the whole list once.
void BM_mniGroupClick(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    w.Prepare(state, [&] { w.user.Click(w.form->btnAll); });
    w.Run(state, w.form->mmoList, [&] {
      w.form->mniGroupClick(w.form->mmoList);
      w.user.Settle();
    });
  }
  state.counters["left"] = w.form->mmoList.LineCount();
  w.Report(state);
}
BENCHMARK(BM_mniGroupClick)->Unit(benchmark::kMicrosecond);

void BM_mniExpandClick(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    w.Prepare(state, [&] {
      w.user.Click(w.form->btnAll);
      w.form->mniGroupClick(w.form->mmoList);
    });
    w.Run(state, w.form->mmoList, [&] {
      w.form->mniExpandClick(w.form->mmoList);
      w.user.Settle();
    });
  }
  state.counters["left"] = w.form->mmoList.LineCount();
  w.Report(state);
}
BENCHMARK(BM_mniExpandClick)->Unit(benchmark::kMicrosecond);

// One keystroke in the conditions window over a bet list of 1,000 or
// 100,000 lines (each number 100 times): the recount, the summary and the
// count label shown. Keys alternate: "13" typed, then Backspace. U stays the
// redraw of the 1,000-line list.
void BM_FilterKeystroke(benchmark::State& state) {
  Window w;
  w.user.Click(w.form->btnAll);
  const int copies = static_cast<int>(state.range(0) / 1000);
  std::vector<std::string> lines;
  for (int c = 0; c < copies; ++c)
    lines.insert(lines.end(), w.form->mmoList.Lines().begin(),
                 w.form->mmoList.Lines().begin() + 1000);
  w.form->mmoList.ReplaceLines(std::move(lines));
  w.app.FlushViews();
  w.user.Post([&] {
    TFormFilter& f = *w.form->FormFilter;
    tk::Control& sum = f.Find("edtSum");
    w.user.Type(sum, "1");  // ticks 和值
    bool typed = false;
    for (auto _ : state) {
      w.handler.Add([&] { w.user.TypeChar(sum, typed ? tk::kBackspace : U'3'); });
      typed = !typed;
      state.PauseTiming();
      QPlainTextEdit* view = w.View(w.form->mmoDel);
      w.unit.Add([&] { view->setPlainText(w.unitText); });
      QCoreApplication::processEvents();
      state.ResumeTiming();
    }
    // The last count shown is right: 13 meets 75 numbers, 1 meets 3.
    const int meeting = (typed ? 75 : 3) * copies;
    state.counters["counted"] =
        f.lblFilterCount.Text() ==
                numbers::FilterCountText(1000 * copies, meeting, 1000 * copies - meeting)
            ? 1
            : 0;
    f.Close();
  });
  w.form->mniFilterClick(w.form->mmoList);
  w.Report(state);
}
BENCHMARK(BM_FilterKeystroke)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

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
  double longest = 0;
  for (auto _ : state) {
    w.Prepare(state, [&] { w.user.Click(w.form->btnAll); });
    if (state.range(1) == 1) w.user.Post([&] { w.form->edtNum.GiveFocus(); });
    const double start = WallUs();
    w.user.Click(w.form->btnDel);
    longest = std::max(longest, (WallUs() - start) / 1000);
    if (w.form->mmoList.LineCount() != 0) state.SkipWithError("numbers left");
  }
  state.counters["longest_ms"] = longest;
}
BENCHMARK(BM_btnDelClick_hugePaste)
    ->Args({24, 0})
    ->Args({24, 1})
    ->Args({20000, 0})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Prints the usual table, then every handler's cost in U against its
// target. With repetitions, medians.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
      const auto wall = r.counters.find("xU_wall");
      const auto cpu = r.counters.find("xU_cpu");
      if (wall == r.counters.end() || cpu == r.counters.end()) continue;
      auto& t = ratios_[r.run_name.function_name +
                        (r.run_name.args.empty() ? "" : "/" + r.run_name.args)];
      t.wall.push_back(wall->second.value);
      t.cpu.push_back(cpu->second.value);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    if (ratios_.empty()) return;
    std::printf("\nHandlers in U (one setPlainText of the 1,000-line list), sampled alongside:\n");
    std::printf("%-26s %8s %8s %8s\n", "handler", "wall", "CPU", "target");
    for (auto& [name, t] : ratios_) {
      // A keystroke recounts in a tenth of a redraw, whatever the list's
      // length; a 组选 item replaces the list once.
      const double target = name == "BM_btnDelClick"                   ? 10
                            : name.rfind("BM_FilterKeystroke", 0) == 0 ? 0.1
                            : name.rfind("BM_mni", 0) == 0             ? 1.5
                                                                       : 2;
      const double wall = Median(t.wall);
      const double cpu = Median(t.cpu);
      std::printf("%-26s %8.2f %8.2f %6.2f U  %s\n", name.c_str(), wall, cpu, target,
                  std::max(wall, cpu) <= target ? "ok" : "OVER");
    }
  }

 private:
  struct Ratios {
    std::vector<double> wall;
    std::vector<double> cpu;
  };
  static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  }
  std::map<std::string, Ratios> ratios_;
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
