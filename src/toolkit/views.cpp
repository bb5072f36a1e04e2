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
  dirty_.push_back(&view);
}

void ViewQueue::Forget(View& view) {
  if (view.queue_ != this) return;
  view.queue_ = nullptr;
  std::erase(dirty_, &view);
}

void ViewQueue::SyncNow(View& view) {
  Forget(view);
  view.Sync();
}

void ViewQueue::Flush() {
  if (dirty_.empty()) return;
  const auto started = Clock::now();
  std::vector<View*> now;
  now.swap(dirty_);
  for (View* v : now) v->queue_ = nullptr;
  for (View* v : now) v->Sync();
  lastEnd_ = Clock::now();
  lastCost_ = lastEnd_ - started;
}

void ViewQueue::FlushIfDue() {
  if (dirty_.empty()) return;
  if (Clock::now() - lastEnd_ >= std::max<Clock::duration>(kFrame, lastCost_)) Flush();
}

}  // namespace tk
