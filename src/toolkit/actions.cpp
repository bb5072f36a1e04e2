#include "toolkit/actions.h"

namespace tk {

void ActionQueue::Run(std::deque<Action> batch, const Runner& run) {
  if (batch.empty()) return;
  const std::size_t level = batches_.size();
  batches_.push_back(std::move(batch));
  while (!batches_[level].empty()) {
    const Action action = std::move(batches_[level].front());
    batches_[level].pop_front();
    run(action);
  }
  batches_.pop_back();
}

bool ActionQueue::RunNext(const Runner& run) {
  std::deque<Action>* from = &posted_;
  for (auto& batch : batches_) {
    if (!batch.empty()) {
      from = &batch;
      break;
    }
  }
  if (from->empty()) return false;
  const Action action = std::move(from->front());
  from->pop_front();
  run(action);
  return true;
}

}  // namespace tk
