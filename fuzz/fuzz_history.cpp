// The undo history of the two lists under any sequence of steps (nested,
// over one list or both), changes outside any step, undos and redos, with
// the default limits or tiny ones. An undo right followed by a redo gives
// back both lists as they were; undoing everything and redoing everything
// gives the first state (when nothing was dropped) and the last one; a
// difference applied to its lines gives the lines it was taken from.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../tests/support/headless_window.h"
#include "check.h"
#include "toolkit/history.h"

namespace {

using Lines = std::vector<std::string>;

struct State {
  Lines bets;
  Lines dels;
  int tag = 0;
  bool operator==(const State&) const = default;
};

std::string MakeLine(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
      return "1a2";
    case 1:
      return in.ConsumeBool() ? "Ab" : "aB";  // equal to FindLine, not to the history
    case 2:
      return "";
    case 3:
      return std::string(in.ConsumeIntegralInRange(4, 40), 'x');
    case 4:
      return "中文";
    default: {
      const int n = in.ConsumeIntegralInRange(0, 999);
      return {static_cast<char>('0' + n / 100), static_cast<char>('0' + n / 10 % 10),
              static_cast<char>('0' + n % 10)};
    }
  }
}

Lines MakeLines(FuzzedDataProvider& in) {
  Lines lines(in.ConsumeIntegralInRange(0, 12));
  for (auto& l : lines) l = MakeLine(in);
  return lines;
}

// One change of a list, as the handlers make them.
void Edit(FuzzedDataProvider& in, tk::ListControl& list) {
  const int at = list.LineCount() == 0 ? 0 : in.ConsumeIntegralInRange(0, list.LineCount() - 1);
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
      list.AppendLine(MakeLine(in));
      break;
    case 1:
      list.DeleteLine(at);
      break;
    case 2:
      list.ReplaceLines(MakeLines(in));
      break;
    case 3:
      list.ClearLines();
      break;
    default: {
      // Lines taken out here and there, or put in: what trimming and 合并 do.
      Lines lines = list.Lines();
      for (int k = in.ConsumeIntegralInRange(0, 4); k > 0 && !lines.empty(); --k) {
        const auto pos = in.ConsumeIntegralInRange<std::size_t>(0, lines.size() - 1);
        if (in.ConsumeBool()) {
          lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(pos));
        } else {
          lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), MakeLine(in));
        }
      }
      list.ReplaceLines(std::move(lines));
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static testsupport::HeadlessWindow w;
  FuzzedDataProvider in(data, size);
  tk::ListControl& bets = w.form.mmoList;
  tk::ListControl& dels = w.form.mmoDel;
  tk::ListControl* lists[2] = {&bets, &dels};
  bets.ClearLines();
  dels.ClearLines();

  const bool tiny = in.ConsumeBool();
  tk::History::Limits limits;
  if (tiny) {
    limits.minSteps = in.ConsumeIntegralInRange<std::size_t>(0, 3);
    limits.maxSteps = in.ConsumeIntegralInRange<std::size_t>(1, 5);
    limits.budget = in.ConsumeIntegralInRange<std::size_t>(0, 4000);
  }
  std::size_t shown = 0;
  tk::History history(
      {&bets, &dels}, [&](tk::ListControl&) { ++shown; }, limits);
  auto now = [&] { return State{bets.Lines(), dels.Lines(), history.Tag(bets)}; };
  const State first = now();

  for (int op = 0; op < 90 && in.remaining_bytes() > 0; ++op) {
    tk::ListControl& one = *lists[in.ConsumeIntegralInRange(0, 1)];
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0:
      case 1: {
        // A step over one list or both, maybe with a step inside it (a click
        // during a 删除号码 run), which joins it.
        const bool both = in.ConsumeBool();
        auto step =
            both ? std::make_unique<tk::History::Step>(
                       history, "两者", std::initializer_list<tk::ListControl*>{&bets, &dels})
                 : std::make_unique<tk::History::Step>(
                       history, "一个", std::initializer_list<tk::ListControl*>{&one});
        FUZZ_CHECK(history.Busy(one));
        for (int k = in.ConsumeIntegralInRange(0, 3); k > 0; --k)
          Edit(in, both ? *lists[k % 2] : one);
        if (in.ConsumeBool()) {
          tk::History::Step inner(history, "里面", {&one});
          Edit(in, one);
          FUZZ_CHECK(!history.Undo(one) && !history.Redo(one));
        }
        if (in.ConsumeBool()) step->SetTag(bets, in.ConsumeIntegralInRange(0, 3), in.ConsumeBool());
        break;
      }
      case 2:
        history.Undo(one);
        break;
      case 3:
        history.Redo(one);
        break;
      case 4:
        // Outside any step: recorded before the next step, undo or redo.
        Edit(in, one);
        break;
      case 5: {
        const State before = now();
        if (history.Undo(one)) {
          FUZZ_CHECK(history.Redo(one));
          FUZZ_CHECK(now() == before);
        }
        break;
      }
      default: {
        const Lines a = MakeLines(in);
        const Lines b = MakeLines(in);
        tk::Change back;
        const tk::Change change = tk::Difference(tk::PackedLines(a), b);
        FUZZ_CHECK(tk::ApplyChange(change, b, back) == a);
        tk::Change again;
        FUZZ_CHECK(tk::ApplyChange(back, a, again) == b);
        break;
      }
    }
    for (tk::ListControl* l : lists) {
      const std::size_t steps = history.UndoSteps(*l) + history.RedoSteps(*l);
      FUZZ_CHECK(steps <= limits.maxSteps || steps <= 1);
    }
  }

  // Everything undone, then everything redone.
  for (tk::ListControl* l : lists) history.Undo(*l);  // records what is outside any step
  const State last = [&] {
    for (tk::ListControl* l : lists) history.Redo(*l);
    while (history.Redo(bets) || history.Redo(dels)) {
    }
    return now();
  }();
  while (history.Undo(bets) || history.Undo(dels)) {
  }
  if (!tiny) {
    FUZZ_CHECK(now() == first);
    FUZZ_CHECK(history.UndoSteps(bets) == 0 && history.UndoSteps(dels) == 0);
  }
  while (history.Redo(bets) || history.Redo(dels)) {
  }
  FUZZ_CHECK(now() == last);
  return 0;
}
