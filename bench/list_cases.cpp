#include "list_cases.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/draws_form.h"
#include "app/filter_form.h"
#include "conditions/conditions.h"
#include "core/number.h"
#include "core/text.h"
#include "draws/draws.h"
#include "lists/kept_lists.h"
#include "lists/list_file.h"
#include "toolkit/history.h"

namespace bench {

bool ShowsLatestDraws(const TFormDraws& window, std::size_t kept) {
  return window.Draws().size() == kept &&
         window.Chart().DrawRows() == static_cast<int>(std::min<std::size_t>(kept, 100));
}

int RunAll(int argc, char** argv, const std::function<std::unique_ptr<Window>()>& make) {
  benchmark::Initialize(&argc, argv);
  RegisterCases(make);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

std::string HugePaste(int distinct) {
  std::vector<std::string> chars;
  for (std::string_view ch : core::Chars("0123456789中文abcdefghijkl")) chars.emplace_back(ch);
  if (distinct > 24) {
    chars.resize(10);
    for (char32_t c = 0x4E00; chars.size() < static_cast<std::size_t>(distinct); ++c) {
      chars.push_back(core::EncodeChar(c));
    }
  }
  std::string huge;
  for (std::size_t i = 0; i < 2000000; ++i) huge += chars[i % chars.size()];
  return huge;
}

std::string KeptDrawsFile(int count) {
  std::vector<numbers::Draw> kept;
  std::mt19937 rng(10000);
  for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(count); ++i) {
    kept.push_back({.issue = 2000001 + i,
                    .issueDigits = 7,
                    .date = {},
                    .number = static_cast<int>(rng() % 1000)});
  }
  return numbers::DrawsFileBytes(kept);
}

namespace {

double WallNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuNow() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
#else
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
#endif
}

// n lines: 000 to 999 in turn, as a 大底 loaded from a file repeats them;
// only the numbers in [from, to).
std::vector<std::string> Numbers(int n, int from = 0, int to = 1000, bool down = false) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(n));
  for (int i = 0; static_cast<int>(lines.size()) < n; ++i) {
    int v = i % 1000;
    if (v < from || v >= to) continue;
    if (down) v = to - 1 - (v - from);
    lines.push_back({static_cast<char>('0' + v / 100), static_cast<char>('0' + v / 10 % 10),
                     static_cast<char>('0' + v % 10)});
  }
  return lines;
}

// The lines of a list, put there as a step of its own outside the timing.
void Put(Window& w, tk::ListControl& list, std::vector<std::string> lines) {
  tk::History::Step step(w.Form().ListHistory(), "准备", {&list});
  list.ReplaceLines(std::move(lines));
}

std::string FileOf(Window& w, const std::string& name, const std::vector<std::string>& lines) {
  std::string path = w.Folder() + name;
  std::ofstream(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary)
      << numbers::ListFileBytes(lines);
  return path;
}

// n numbers drawn at random, seeded: the 大底 a user loads from a file,
// each number about n / 1,000 times, anywhere.
std::vector<std::string> RandomNumbers(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) lines.push_back(core::NumberText(static_cast<int>(rng() % 1000)));
  return lines;
}

void TickAll(TForm1& f, int firstRow) {
  for (int r = firstRow; r < firstRow + 3; ++r) {
    for (auto* box : f.Row(r).boxes) box->SetChecked(true);
  }
}

// The dialog of the next menu item answers `path`.
void Answer(Window& w, const std::string& path) {
  w.Rec().dialogAnswers.clear();
  w.Rec().dialogAnswers.push_back(path);
}

// The random list loaded by the menu, as the user does.
void LoadRandom(Window& w, int n) {
  Answer(w, FileOf(w, "random.txt", RandomNumbers(n, 2024)));
  w.Form().mniLoadClick(w.Form().mmoList);
}

// A case, then 撤销 of it, then 恢复 of that, each timed alone.
std::vector<Case> WithUndoAndRedo(const Case& c) {
  auto done = [c](Window& w, int n) {
    c.prepare(w, n);
    Clock untimed;
    c.run(w, n, untimed);
  };
  auto undo = [](Window& w, int, Clock&) { w.Form().mniUndoClick(w.Form().mmoList); };
  auto redo = [](Window& w, int, Clock&) { w.Form().mniRedoClick(w.Form().mmoList); };
  return {c,
          {c.name + "_Undo", done, undo},
          {c.name + "_Redo",
           [done](Window& w, int n) {
             done(w, n);
             w.Form().mniUndoClick(w.Form().mmoList);
           },
           redo}};
}

Case Menu(std::string name, std::function<void(Window&, int)> prepare,
          void (TForm1::*item)(tk::Control&), bool deletions = false) {
  return {std::move(name), std::move(prepare), [item, deletions](Window& w, int, Clock&) {
            TForm1& f = w.Form();
            (f.*item)(deletions ? static_cast<tk::Control&>(f.mmoDel) : f.mmoList);
          }};
}

std::vector<Case> MakeCases() {
  auto bets = [](Window& w, int n) { Put(w, w.Form().mmoList, Numbers(n)); };
  auto click = [](tk::Control& (*of)(TForm1&)) {
    return [of](Window& w, int, Clock&) { w.User().Click(of(w.Form())); };
  };
  // The conditions window opens as at first, with nothing ticked.
  auto filter = [=](Window& w, int n) {
    bets(w, n);
    w.Form().FilterSettings = {};
  };
  // The conditions window's 删除号码: the numbers with a sum of 0 to 9 go,
  // the window closes and the step is recorded.
  auto filterDelete = [](Window& w, int, Clock& clock) {
    w.User().Post([&w, &clock] {
      TFormFilter& f = *w.Form().FormFilter;
      w.User().Click(f.Find("chkSum"));
      w.User().Type(f.Find("edtSum"), "0-9");
      w.User().Click(f.Find("rdoDrop"));
      clock.Restart();
      w.User().Click(f.btnFilterDelete);
    });
    w.Form().mniFilterClick(w.Form().mmoList);
  };
  std::vector<Case> cases = {
      {"btnGetClick",
       [=](Window& w, int n) {
         bets(w, n);
         TickAll(w.Form(), 0);
       },
       click([](TForm1& f) -> tk::Control& { return f.btnGet; })},
      {"btnSelClick",
       [](Window& w, int n) {
         Put(w, w.Form().mmoDel, Numbers(n));
         TickAll(w.Form(), 3);
       },
       click([](TForm1& f) -> tk::Control& { return f.btnSel; })},
      {"btnAllClick", bets, click([](TForm1& f) -> tk::Control& { return f.btnAll; })},
      // A number added after all others, looked up in every line first.
      {"btn3Click",
       [](Window& w, int n) {
         Put(w, w.Form().mmoList, Numbers(n - 1, 0, 999));
         w.Form().edtRight.SetText("999");
       },
       click([](TForm1& f) -> tk::Control& { return f.btn3; })},
      {"btn4Click",
       [](Window& w, int n) {
         Put(w, w.Form().mmoDel, Numbers(n - 1, 0, 999));
         w.Form().edtDel.SetText("999");
       },
       click([](TForm1& f) -> tk::Control& { return f.btn4; })},
      // The top line removed: every other line moves.
      {"btn1Click",
       [=](Window& w, int n) {
         bets(w, n);
         w.User().PlaceCaret(w.Form().mmoList, 0);
       },
       click([](TForm1& f) -> tk::Control& { return f.btn1; })},
      {"btn2Click",
       [](Window& w, int n) {
         Put(w, w.Form().mmoDel, Numbers(n));
         w.User().PlaceCaret(w.Form().mmoDel, 0);
       },
       click([](TForm1& f) -> tk::Control& { return f.btn2; })},
      // The numbers below 500, from the highest down, as often as the bet
      // list holds them: half of it goes.
      {"btnDeleteClick",
       [=](Window& w, int n) {
         Put(w, w.Form().mmoDel, Numbers(n / 2, 0, 500, true));
         bets(w, n);
       },
       click([](TForm1& f) -> tk::Control& { return f.btnDelete; })},
      // All ten digits on 1,000 lines (1,000 candidates, every line goes);
      // 0123 on 100,000 (64 candidates, 64 lines go).
      {"btnDelClick",
       [=](Window& w, int n) {
         bets(w, n);
         w.Form().edtNum.SetText(n <= 1000 ? "0123456789" : "0123");
       },
       click([](TForm1& f) -> tk::Control& { return f.btnDel; }), 3},
      {"mniSaveClick",
       [=](Window& w, int n) {
         bets(w, n);
         Answer(w, w.Folder() + "saved.txt");
       },
       [](Window& w, int, Clock&) { w.Form().mniSaveClick(w.Form().mmoList); }},
      {"mniLoadClick",
       [](Window& w, int n) {
         Put(w, w.Form().mmoList, {});
         Answer(w, FileOf(w, "load.txt", Numbers(n)));
       },
       [](Window& w, int, Clock&) { w.Form().mniLoadClick(w.Form().mmoList); }},
      {"mniLoadKeptClick",
       [](Window& w, int n) {
         Put(w, w.Form().mmoList, {});
         numbers::KeepList(w.Form().App().GetPlatform(), numbers::kKeptBetsFile, Numbers(n),
                           numbers::kDirectBets);
       },
       [](Window& w, int, Clock&) { w.Form().mniLoadKeptClick(w.Form().mmoList); }},
      // The n lines back after 生成所有号码 replaced them.
      Menu(
          "mniUndoClick",
          [](Window& w, int n) {
            Put(w, w.Form().mmoList, Numbers(n, 0, 1000, true));
            w.User().Click(w.Form().btnAll);
          },
          &TForm1::mniUndoClick),
      // The top line removed again.
      Menu(
          "mniRedoClick",
          [=](Window& w, int n) {
            bets(w, n);
            w.User().PlaceCaret(w.Form().mmoList, 0);
            w.User().Click(w.Form().btn1);
            w.Form().mniUndoClick(w.Form().mmoList);
          },
          &TForm1::mniRedoClick),
      Menu("mniGroupClick", bets, &TForm1::mniGroupClick),
      Menu("mniExpandClick", bets, &TForm1::mniExpandClick),
      // With the numbers below 500 of a file or the deletion list.
      Menu(
          "mniIntersectFileClick",
          [=](Window& w, int n) {
            bets(w, n);
            Answer(w, FileOf(w, "half.txt", Numbers(500, 0, 500)));
          },
          &TForm1::mniIntersectFileClick),
      Menu(
          "mniMergeFileClick",
          [](Window& w, int n) {
            Put(w, w.Form().mmoList, Numbers(n / 2, 0, 500));
            Answer(w, FileOf(w, "all.txt", Numbers(1000)));
          },
          &TForm1::mniMergeFileClick),
      Menu(
          "mniDropFileClick",
          [=](Window& w, int n) {
            bets(w, n);
            Answer(w, FileOf(w, "half.txt", Numbers(500, 0, 500)));
          },
          &TForm1::mniDropFileClick),
      Menu(
          "mniIntersectDelClick",
          [=](Window& w, int n) {
            Put(w, w.Form().mmoDel, Numbers(500, 0, 500));
            bets(w, n);
          },
          &TForm1::mniIntersectDelClick),
      Menu(
          "mniDropDelClick",
          [=](Window& w, int n) {
            Put(w, w.Form().mmoDel, Numbers(500, 0, 500));
            bets(w, n);
          },
          &TForm1::mniDropDelClick),
      // Every number of 000 to 499 listed twice or more.
      Menu(
          "mniDropRepeatsClick",
          [](Window& w, int n) { Put(w, w.Form().mmoList, Numbers(n, 0, 500)); },
          &TForm1::mniDropRepeatsClick),
      // One keystroke in the conditions window: the recount over every line
      // and the count shown ("1" becomes "13").
      {"FilterCount", filter,
       [](Window& w, int, Clock& clock) {
         w.User().Post([&w, &clock] {
           TFormFilter& f = *w.Form().FormFilter;
           w.User().Click(f.Find("chkSum"));
           w.User().Type(f.Find("edtSum"), "1");
           clock.Restart();
           w.User().TypeChar(f.Find("edtSum"), U'3');
           w.Settle();
           clock.Stop();
           f.Close();
         });
         w.Form().mniFilterClick(w.Form().mmoList);
       },
       0.25},
      {"FilterDeleteClick", filter, filterDelete},
  };
  // On the random list: 删除号码 with four digits (64 candidates, each
  // with its copies all through the list), 删除确认 with 50 numbers, the
  // conditions window's 删除号码 (sums 0 to 9), each undone and redone.
  for (const Case& c : std::vector<Case>{
           {"Random_btnDelClick",
            [](Window&w, int n) {
              LoadRandom(w, n);
              w.Form().edtNum.SetText("1234");
            },
            click([](TForm1&f) -> tk::Control& { return f.btnDel; }), 3},
           {"Random_btnDeleteClick",
            [](Window&w, int n) {
              std::vector<std::string> fifty = RandomNumbers(1000, 7);
              std::sort(fifty.begin(), fifty.end());
              fifty.erase(std::unique(fifty.begin(), fifty.end()), fifty.end());
              std::shuffle(fifty.begin(), fifty.end(), std::mt19937(7));
              fifty.resize(50);
              Put(w, w.Form().mmoDel, std::move(fifty));
              LoadRandom(w, n);
            },
            click([](TForm1&f) -> tk::Control& { return f.btnDelete; })},
           {"Random_FilterDeleteClick",
            [](Window&w, int n) {
              LoadRandom(w, n);
              w.Form().FilterSettings = {};
            },
            filterDelete},
       }) {
    for (Case& made : WithUndoAndRedo(c)) cases.push_back(std::move(made));
  }
  return cases;
}

void Time(benchmark::State& state, Window& w, const Case& c, int n) {
  double handlerWall = 0, handlerCpu = 0, unitWall = 0, unitCpu = 0;
  // The loop variable is never read, by design.
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    state.PauseTiming();
    c.prepare(w, n);
    w.Settle();
    w.Rest();
    state.ResumeTiming();
    Clock clock;
    clock.Restart();
    c.run(w, n, clock);
    w.Settle();
    handlerWall += clock.WallSeconds();
    handlerCpu += clock.CpuSeconds();
    state.PauseTiming();
    w.Rest();
    Clock unit;
    w.Redraw(n, unit);
    unitWall += unit.WallSeconds();
    unitCpu += unit.CpuSeconds();
    w.Rest();
    state.ResumeTiming();
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["U_ms"] = unitWall / runs * 1000;
  state.counters["ms"] = handlerWall / runs * 1000;
  state.counters["xU_wall"] = handlerWall / unitWall;
  state.counters["xU_cpu"] = handlerCpu / std::max(unitCpu, 1e-9);
  state.counters["errors"] = static_cast<double>(w.Rec().errors.size() + w.Rec().notices.size());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

void Clock::Restart() {
  wall_ = WallNow();
  cpu_ = CpuNow();
  stoppedWall_ = stoppedCpu_ = -1;
}

void Clock::Stop() {
  stoppedWall_ = WallNow();
  stoppedCpu_ = CpuNow();
}

double Clock::WallSeconds() const {
  return (stoppedWall_ >= 0 ? stoppedWall_ : WallNow()) - wall_;
}

double Clock::CpuSeconds() const {
  return (stoppedCpu_ >= 0 ? stoppedCpu_ : CpuNow()) - cpu_;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = MakeCases();
  return cases;
}

void RegisterCases(const std::function<std::unique_ptr<Window>()>& make) {
  for (const Case& c : Cases()) {
    for (int n : {1000, 100000}) {
      auto* b = benchmark::RegisterBenchmark(("BM_" + c.name).c_str(),
                                             [make, &c, n](benchmark::State& state) {
                                               const auto w = make();
                                               Time(state, *w, c, n);
                                             });
      b->Arg(n)->Unit(benchmark::kMillisecond)->UseRealTime();
      // A 100,000-line run takes a good part of a second with its redraws.
      if (n > 1000) b->Iterations(3);
    }
  }
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& r : runs) {
    if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
    const auto wall = r.counters.find("xU_wall");
    const auto cpu = r.counters.find("xU_cpu");
    if (wall == r.counters.end() || cpu == r.counters.end()) continue;
    auto& t = ratios_[r.run_name.function_name + "/" + r.run_name.args];
    t.wall.push_back(wall->second.value);
    t.cpu.push_back(cpu->second.value);
  }
  ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  if (ratios_.empty()) return;
  std::printf("\nHandlers in U (one redraw of a list of as many lines), sampled alongside:\n");
  std::printf("%-32s %8s %8s %8s\n", "handler/lines", "wall", "CPU", "target");
  for (auto& [name, t] : ratios_) {
    const std::string base = name.substr(3, name.find('/') - 3);
    const bool large = name.ends_with("/100000");
    double target = 3;
    for (const Case& c : Cases()) {
      if (c.name == base && !large) target = c.target1000;
    }
    const double wall = Median(t.wall);
    const double cpu = Median(t.cpu);
    std::printf("%-32s %8.2f %8.2f %6.2f U  %s\n", name.c_str(), wall, cpu, target,
                std::max(wall, cpu) <= target ? "ok" : "OVER");
  }
}

}  // namespace bench
