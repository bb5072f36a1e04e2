// Every handler, menu item and the conditions window's count, on lists of
// 1,000 and 100,000 lines, timed on a real backend (bench_qt, bench_win32)
// against U: one redraw of a list of that many lines in the bet list's
// widget, sampled alternately with the handler so that the shared machine's
// noise touches both alike.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "toolkit/testing/driver.h"

namespace bench {

// The window of one backend in front of the benchmark.
class Window {
 public:
  virtual ~Window() = default;
  virtual TForm1& Form() = 0;
  virtual tk::UserDriver& User() = 0;
  virtual tk::Recorder& Rec() = 0;
  // What the loop does after a handler: widgets brought up to date.
  virtual void Settle() = 0;
  // Painting and whatever else waits, outside the timing.
  virtual void Rest() {}
  // One redraw of a list of `lines` lines in mmoList's widget, timed by
  // `clock` alone; mmoList shows its own lines again afterwards.
  virtual void Redraw(int lines, class Clock& clock) = 0;
  // A folder of the benchmark's own for files, ending in a separator.
  virtual std::string Folder() = 0;
};

// Wall and CPU time of the window's thread since the last Restart, or up to
// Stop.
class Clock {
 public:
  void Restart();
  void Stop();
  double WallSeconds() const;
  double CpuSeconds() const;

 private:
  double wall_ = 0, cpu_ = 0;
  double stoppedWall_ = -1, stoppedCpu_ = -1;
};

struct Case {
  std::string name;
  // Untimed: the window as the handler finds it, lists of n lines.
  std::function<void(Window&, int n)> prepare;
  // Timed from the start, or from the clock's restart, to its stop or to
  // the end with the widgets shown.
  std::function<void(Window&, int n, Clock&)> run;
  // At most this many U at 1,000 lines; 3 U at 100,000.
  double target1000 = 1.5;
};
const std::vector<Case>& Cases();

// 2,000,000 characters to paste into edtNum: the ten digits among
// `distinct` characters (beyond 24, ideographs).
std::string HugePaste(int distinct);

// draws.txt holding `count` draws of a seeded random history.
std::string KeptDrawsFile(int count);

// Whether the draws window opened on `kept` draws holds them all and shows
// the latest 100 (or all, when fewer).
bool ShowsLatestDraws(const TFormDraws& window, std::size_t kept);

// Registers every case at 1,000 and 100,000 lines, each on a window made
// by `make`.
void RegisterCases(const std::function<std::unique_ptr<Window>()>& make);

// Prints the table, then every case's cost in U (medians of the
// repetitions) against its target.
// Runs the cases and whatever else the program registered, reporting in U.
int RunAll(int argc, char** argv, const std::function<std::unique_ptr<Window>()>& make);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Ratios {
    std::vector<double> wall;
    std::vector<double> cpu;
  };
  std::map<std::string, Ratios> ratios_;
};

}  // namespace bench
