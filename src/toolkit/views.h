// Widgets that lag behind their control's state (lists, labels) and the
// queue that brings them up to date: once when a handler's event is done,
// before the loop waits or a modal box runs, and at most once per frame
// while a handler pumps messages, a view no sooner than it has waited as
// long as its last sync took.
#pragma once

#include <chrono>
#include <vector>

namespace tk {

class ViewQueue;

class View {
 public:
  View() = default;
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Brings the widget up to date with its control; the backend's only part.
  virtual void Sync() = 0;
  bool Queued() const { return queue_ != nullptr; }

 private:
  friend class ViewQueue;
  ViewQueue* queue_ = nullptr;
  std::chrono::steady_clock::time_point dirtySince_{};
  std::chrono::steady_clock::duration cost_{};  // of its last sync
};

class ViewQueue {
 public:
  using Clock = std::chrono::steady_clock;
  // A view may be shown at most this often while a handler pumps messages.
  static constexpr auto kFrame = std::chrono::milliseconds(16);

  ViewQueue() = default;
  ~ViewQueue();
  ViewQueue(const ViewQueue&) = delete;
  ViewQueue& operator=(const ViewQueue&) = delete;

  // The view's state changed: it is synced with the next flush.
  void MarkDirty(View& view);
  // The view goes (or was synced by other means): no sync is owed.
  void Forget(View& view);
  // Syncs one view at once (before its caret is read or set).
  void SyncNow(View& view);
  // Syncs every queued view now.
  void Flush();
  // Flushes when a frame has passed since the last flush, and never spends
  // more than half of the time syncing. A view slower than a frame that has
  // changed more recently than its last sync took waits for the next flush:
  // a list that takes seconds to show (100,000 lines under Wine) is shown
  // once after a short run, not midway as well.
  void FlushIfDue();
  bool Empty() const { return dirty_.empty(); }

 private:
  // Syncs these views, taken off the queue.
  void SyncAll(const std::vector<View*>& views);

  std::vector<View*> dirty_;
  Clock::time_point lastEnd_{};
  Clock::duration lastCost_{};
};

}  // namespace tk
