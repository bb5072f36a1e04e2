#include "toolkit/views.h"

#include <algorithm>

namespace tk {

View::~View() {
  if (queue_ != nullptr) queue_->Forget(*this);
}

ViewQueue::~ViewQueue() {
  for (View* v : dirty_) v->queue_ = nullptr;
}

void ViewQueue::MarkDirty(View& view) {
  if (view.queue_ != nullptr) return;
  view.queue_ = this;
  view.dirtySince_ = Clock::now();
  dirty_.push_back(&view);
}

void ViewQueue::Forget(View& view) {
  if (view.queue_ != this) return;
  view.queue_ = nullptr;
  std::erase(dirty_, &view);
}

void ViewQueue::SyncNow(View& view) {
  Forget(view);
  const auto started = Clock::now();
  view.Sync();
  view.cost_ = Clock::now() - started;
}

void ViewQueue::SyncAll(const std::vector<View*>& views) {
  const auto started = Clock::now();
  for (View* v : views) v->queue_ = nullptr;
  auto from = started;
  for (View* v : views) {
    v->Sync();
    const auto end = Clock::now();
    v->cost_ = end - from;
    from = end;
  }
  lastEnd_ = from;
  lastCost_ = lastEnd_ - started;
}

void ViewQueue::Flush() {
  if (dirty_.empty()) return;
  std::vector<View*> now;
  now.swap(dirty_);
  SyncAll(now);
}

void ViewQueue::FlushIfDue() {
  if (dirty_.empty()) return;
  const auto now = Clock::now();
  if (now - lastEnd_ < std::max<Clock::duration>(kFrame, lastCost_)) return;
  std::vector<View*> due;
  std::vector<View*> waiting;
  // A view quicker to show than a frame never waits: a label's cost is
  // scheduling noise, and waiting on it would only hold the count back.
  for (View* v : dirty_) {
    const bool cheap = v->cost_ < kFrame;
    (cheap || now - v->dirtySince_ >= v->cost_ ? due : waiting).push_back(v);
  }
  if (due.empty()) return;
  dirty_.swap(waiting);
  SyncAll(due);
}

}  // namespace tk
