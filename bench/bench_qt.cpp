// Every handler, menu item and the conditions window's count on Qt Widgets
// (the window shown on the offscreen display), at 1,000 and 100,000 lines,
// measured against U: one setPlainText of a list of as many lines
// (list_cases.h). Each handler runs as from the loop: the click, then the
// widgets brought up to date; the painting that follows is not counted.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/temp_folder.h"
#include "app/draws_form.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "core/text.h"
#include "list_cases.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

namespace {

double WallUs() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Window : bench::Window {
  testsupport::TempFolder folder;
  tk::headless::HeadlessPlatform platform{folder.Slashed()};
  tk::qt::QtApplication app{platform};
  std::unique_ptr<TForm1> form;
  tk::qt::QtDriver user{app};
  tk::Recorder rec;
  std::map<int, QString> texts;  // lists of n lines, for U

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
  ~Window() override { user.Settle(); }

  TForm1& Form() override { return *form; }
  tk::UserDriver& User() override { return user; }
  tk::Recorder& Rec() override { return rec; }
  std::string Folder() override { return folder.Slashed(); }
  void Settle() override { app.FlushViews(); }
  // Painted before the next run: the next click's repaint of its button
  // would otherwise paint the list too.
  void Rest() override { QCoreApplication::processEvents(); }
  void Redraw(int lines, bench::Clock& clock) override {
    QString& text = texts[lines];
    if (text.isEmpty()) {
      for (int i = 0; i < lines; ++i) {
        text += QStringLiteral("%1\n").arg(i % 1000, 3, 10, QLatin1Char('0'));
      }
    }
    QPlainTextEdit* view = View(form->mmoList);
    clock.Restart();
    view->setPlainText(text);
    clock.Stop();
    form->mmoList.ReplaceLines(form->mmoList.Lines());
    app.FlushViews();
  }
  QPlainTextEdit* View(const tk::Control& list) {
    return qobject_cast<QPlainTextEdit*>(tk::qt::WidgetOf(list));
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
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.user.Click(w.form->btnAll);
    w.Settle();
    w.Rest();
    state.ResumeTiming();
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

QtMessageHandler previous = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == QLatin1String("This plugin does not support propagateSizeHints()")) return;
  if (previous != nullptr) previous(type, context, message);
}

// The draws window opened on 10,000 kept draws, 100 shown, and on none: from
// the menu item's action to the chart's visible rows painted (draws.txt read,
// the chart built, the window made and shown, one paint of the canvas). The
// history's share, the difference of the two, and the paint alone (paint_ms)
// are to stay within a frame, 16 ms.
void BM_DrawsWindowOpen(benchmark::State& state) {
  Window w;
  const QTemporaryDir data;
  w.platform.SetProgramFolder(data.path().toStdString() + "/");
  w.platform.ReplaceFileBytes(w.platform.DataFolder() + "draws.txt",
                              bench::KeptDrawsFile(static_cast<int>(state.range(0))));
  double paint = 0;
  for (auto _ : state) {
    double start = WallUs();
    w.user.Post([&] {
      TFormDraws& d = *w.form->FormDraws;
      auto* area = qobject_cast<QAbstractScrollArea*>(tk::qt::WidgetOf(d.cnvChart));
      const double p0 = WallUs();
      area->viewport()->repaint();
      const double end = WallUs();
      paint += end - p0;
      state.SetIterationTime((end - start) / 1e6);
      if (!bench::ShowsLatestDraws(d, static_cast<std::size_t>(state.range(0)))) {
        state.SkipWithError("not the 100 latest of 10,000 draws");
      }
      d.Close();
    });
    w.form->mniDrawsClick(w.form->mmoList);
    // A window of its own: the menu returns at once.
    while (w.form->FormDraws != nullptr) w.app.PumpMessages();
  }
  state.counters["paint_ms"] = paint / 1000 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DrawsWindowOpen)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime();

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
  return bench::RunAll(argc, argv, [] { return std::make_unique<Window>(); });
}
