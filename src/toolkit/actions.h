// Actions posted for the next message processing: how tests act inside a
// running handler, and the headless backend's whole message queue.
#pragma once

#include <deque>
#include <functional>
#include <utility>

namespace tk {

class ActionQueue {
 public:
  using Action = std::function<void()>;
  // Runs one action as the loop runs a handler (errors go to the error box).
  using Runner = std::function<void(const Action&)>;

  void Post(Action action) { posted_.push_back(std::move(action)); }
  bool HasPosted() const { return !posted_.empty(); }

  // What was posted so far, taken out as one batch.
  std::deque<Action> Take() { return std::exchange(posted_, {}); }
  // Runs a batch; actions posted meanwhile wait for the next one.
  void Run(std::deque<Action> batch, const Runner& run);
  // Runs, as one batch, what was posted before this call.
  void RunBatch(const Runner& run) {
    if (!posted_.empty()) Run(Take(), run);  // the common case in a long run: no allocation
  }
  // Runs the earliest action that waits: one of a running batch first (a
  // nested loop started by one of its actions), then one posted since.
  // False when none waits.
  bool RunNext(const Runner& run);

 private:
  std::deque<Action> posted_;
  // The actions each running RunBatch has still to run, outermost first.
  std::deque<std::deque<Action>> batches_;
};

}  // namespace tk
