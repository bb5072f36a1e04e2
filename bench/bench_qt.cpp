// Every handler, menu item and the conditions window's count on Qt Widgets
// (the window shown on the offscreen display), at 1,000 and 100,000 lines,
// measured against U: one setPlainText of a list of as many lines
// (list_cases.h). Each handler runs as from the loop: the click, then the
// widgets brought up to date; the painting that follows is not counted.
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

#include "../tests/support/temp_folder.h"
#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "list_cases.h"
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
  bench::RegisterCases([] { return std::make_unique<Window>(); });
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
