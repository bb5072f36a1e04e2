// Work off the window's thread: the worker runs the work and queues the
// result; the window's thread runs the completion as a message.
#include <chrono>
#include <condition_variable>
#include <exception>

#include "toolkit/toolkit.h"

namespace tk {

// Shared by the task (window's thread) and its worker, which keeps it alive
// even when the task has been abandoned and the worker let go.
struct Task::State {
  Cancellation cancel;
  std::mutex mutex;
  std::condition_variable stopped;
  // Cleared when the task is abandoned: the worker then reaches no further.
  Application* app = nullptr;
  bool workDone = false;
  std::string result;
  std::thread worker;
  // Window's thread only.
  Application::Done done;
  bool over = false;
};

// ---- cancellation ----------------------------------------------------------

void Cancellation::Request() {
  std::lock_guard lock(mutex_);
  requested_.store(true, std::memory_order_release);
  if (wake_) wake_();
}

WakeOnCancel::WakeOnCancel(Cancellation* cancel, std::function<void()> wake) : cancel_(cancel) {
  if (cancel_ == nullptr) return;
  std::lock_guard lock(cancel_->mutex_);
  cancel_->wake_ = std::move(wake);
  if (cancel_->Requested()) cancel_->wake_();
}

WakeOnCancel::~WakeOnCancel() {
  if (cancel_ == nullptr) return;
  std::lock_guard lock(cancel_->mutex_);
  cancel_->wake_ = nullptr;
}

// ---- task --------------------------------------------------------------------

namespace {

// How long an abandoned task waits for its worker before letting it go. A
// transfer that is woken ends at once; one that cannot be woken must not
// hold up the closing window.
constexpr auto kStopWait = std::chrono::milliseconds(300);

}  // namespace

void Task::Cancel() {
  if (!state_) return;
  State& s = *state_;
  if (!s.over) {
    s.over = true;
    s.done = nullptr;
    {
      std::lock_guard lock(s.mutex);
      s.app = nullptr;
    }
    s.cancel.Request();
  }
  if (s.worker.joinable()) {
    std::unique_lock lock(s.mutex);
    const bool stopped = s.stopped.wait_for(lock, kStopWait, [&] { return s.workDone; });
    lock.unlock();
    if (stopped) {
      s.worker.join();
    } else {
      s.worker.detach();  // it holds the state; nothing else of ours
    }
  }
}

bool Task::Pending() const {
  return state_ && !state_->over;
}

// ---- application ---------------------------------------------------------------

std::thread Application::StartWork(std::function<void()> job) {
  return std::thread(std::move(job));
}

std::unique_ptr<Task> Application::RunOffThread(Work work, Done done) {
  auto state = std::make_shared<Task::State>();
  state->app = this;
  state->done = std::move(done);
  auto task = std::make_unique<Task>(state);
  // The job holds the state, never the task: the task may go first.
  state->worker = StartWork([state, work = std::move(work)] {
    std::string result;
    if (!state->cancel.Requested()) {
      try {
        result = work(state->cancel);
      } catch (...) {
        // Nothing crosses the thread: the completion gets what there is.
      }
    }
    std::lock_guard lock(state->mutex);
    state->result = std::move(result);
    state->workDone = true;
    state->stopped.notify_all();
    // Under the lock: an abandoning window's thread waits here, so the
    // application is still there.
    if (state->app != nullptr) state->app->WorkFinished(state);
  });
  return task;
}

void Application::WorkFinished(const std::shared_ptr<Task::State>& state) {
  {
    std::lock_guard lock(finishedMutex_);
    finished_.push_back(state);
  }
  WakeWindowThread();
}

void Application::RunCompletions() {
  for (;;) {
    std::shared_ptr<Task::State> state;
    {
      std::lock_guard lock(finishedMutex_);
      if (finished_.empty()) return;
      state = std::move(finished_.front());
      finished_.pop_front();
    }
    if (state->over) continue;  // abandoned after it finished
    state->over = true;
    if (state->worker.joinable()) state->worker.join();  // it has finished
    Done done = std::move(state->done);
    std::string result;
    {
      std::lock_guard lock(state->mutex);
      result = std::move(state->result);
    }
    // The completion may destroy its own task: only locals from here on.
    if (done) Guard([&] { done(std::move(result)); });
  }
}

}  // namespace tk
