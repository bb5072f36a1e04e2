// How the view queue paces syncs while a handler pumps messages.
#include "toolkit/views.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct TimedView : tk::View {
  explicit TimedView(std::chrono::milliseconds c) : cost(c) {}
  void Sync() override {
    ++syncs;
    std::this_thread::sleep_for(cost);
  }
  std::chrono::milliseconds cost;
  int syncs = 0;
};

TEST(Views, AViewChangedMoreRecentlyThanItsLastSyncTookWaitsForTheEnd) {
  tk::ViewQueue queue;
  TimedView list(200ms);
  TimedView label(0ms);
  queue.MarkDirty(list);
  queue.MarkDirty(label);
  queue.Flush();
  ASSERT_EQ(list.syncs, 1);
  std::this_thread::sleep_for(300ms);  // the user idle: a flush is due

  // A run changes both: the count shows at once, the slow list waits.
  queue.MarkDirty(list);
  queue.MarkDirty(label);
  queue.FlushIfDue();
  EXPECT_EQ(label.syncs, 2);
  EXPECT_EQ(list.syncs, 1);
  EXPECT_TRUE(list.Queued());
  // A run longer than the list's sync shows it midway.
  std::this_thread::sleep_for(250ms);
  queue.FlushIfDue();
  EXPECT_EQ(list.syncs, 2);
  EXPECT_TRUE(queue.Empty());

  // When the run ends every view is shown, waiting or not.
  queue.MarkDirty(list);
  queue.FlushIfDue();
  EXPECT_EQ(list.syncs, 2);
  queue.Flush();
  EXPECT_EQ(list.syncs, 3);
  EXPECT_FALSE(list.Queued());
}

}  // namespace
