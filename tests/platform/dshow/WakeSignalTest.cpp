// The streaming hand-off's wait: a waiter that watches and then sleeps must never miss
// the change that ends its wait, whether it comes while it watches, just before it
// sleeps or while it sleeps.
#include <dshow/baseclasses/WakeSignal.h>

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Items handed one at a time from a producer to a consumer through one mutex and signal;
// both sides also wait for each other (a bounded queue), so both kinds of wait occur.
TEST(WakeSignalTest, EveryItemHandedOverArrivesInOrderAndNoWaiterIsLeftAsleep) {
  constexpr int kItems = 20000;
  constexpr std::size_t kRoom = 2;
  std::mutex lock;
  plat::WakeSignal signal;
  std::deque<int> queue;
  std::vector<int> received;
  std::thread consumer([&] {
    std::unique_lock guard(lock);
    while (received.size() < static_cast<std::size_t>(kItems)) {
      signal.wait(guard, [&] { return !queue.empty(); });
      received.push_back(queue.front());
      queue.pop_front();
      if (signal.changed()) {
        guard.unlock();
        signal.wake();
        guard.lock();
      }
    }
  });
  for (int n = 0; n < kItems; ++n) {
    std::unique_lock guard(lock);
    signal.wait(guard, [&] { return queue.size() < kRoom; });
    queue.push_back(n);
    const bool wake = signal.changed();
    guard.unlock();
    if (wake) signal.wake();
  }
  consumer.join();
  ASSERT_EQ(received.size(), static_cast<std::size_t>(kItems));
  for (int n = 0; n < kItems; ++n) ASSERT_EQ(received[static_cast<std::size_t>(n)], n);
}

// A waiter that sleeps is woken once for a burst of changes, and again after it has gone
// back to sleep; waiters that want different states are each woken in the end.
TEST(WakeSignalTest, ASleeperIsWokenOncePerSleepAndEveryWaiterWakes) {
  std::mutex lock;
  plat::WakeSignal signal;
  int level = 0;
  auto waitFor = [&](int wanted) {
    std::unique_lock guard(lock);
    signal.wait(guard, [&] { return level >= wanted; });
  };
  auto sleepers = [&] {
    std::lock_guard guard(lock);
    return signal.sleepers();
  };
  std::thread low(waitFor, 2);
  std::thread high(waitFor, 3);
  while (sleepers() < 2) std::this_thread::yield();
  {
    std::lock_guard guard(lock);
    level = 1;
    EXPECT_TRUE(signal.changed());
    EXPECT_FALSE(signal.changed()) << "the wake is already on its way";
  }
  signal.wake();
  // Neither wants level 1: both sleep again and must be woken again.
  while (true) {
    std::lock_guard guard(lock);
    if (signal.sleepers() == 2 && signal.changed()) break;
  }
  {
    std::lock_guard guard(lock);
    level = 2;
    signal.changed();
  }
  signal.wake();
  low.join();
  {
    std::lock_guard guard(lock);
    level = 3;
    signal.changed();
  }
  signal.wake();
  high.join();
  std::lock_guard guard(lock);
  EXPECT_EQ(signal.sleepers(), 0);
}

// A waiter that goes to sleep after a wake has gone out to the others is woken by the
// next change, even while the earlier wake is still on its way to them.
TEST(WakeSignalTest, AWaiterThatSleepsAfterAWakeWentOutIsWokenByTheNextChange) {
  std::mutex lock;
  plat::WakeSignal signal;
  bool done = false;
  bool flagged = false;
  std::thread first([&] {
    std::unique_lock guard(lock);
    signal.wait(guard, [&] { return done; });
  });
  while (true) {
    std::lock_guard guard(lock);
    if (signal.sleepers() == 1) break;
  }
  {
    std::lock_guard guard(lock);
    EXPECT_TRUE(signal.changed());
  }
  signal.wake();
  std::thread second([&] {
    std::unique_lock guard(lock);
    signal.wait(guard, [&] { return flagged; });
  });
  while (true) {
    std::lock_guard guard(lock);
    if (signal.sleepers() == 2) break;
  }
  {
    std::lock_guard guard(lock);
    flagged = true;
    EXPECT_TRUE(signal.changed()) << "the second waiter sleeps and has had no wake of its own";
  }
  signal.wake();
  second.join();
  {
    std::lock_guard guard(lock);
    done = true;
    signal.changed();
  }
  signal.wake();
  first.join();
}

// A signal whose changes come far apart stops watching and sleeps at once; it watches
// again after a short sleep. Either way no change is missed.
TEST(WakeSignalTest, WaitersKeepWakingWhenChangesComeFarApartAndThenCloseTogether) {
  std::mutex lock;
  plat::WakeSignal signal;
  int level = 0;
  std::thread waiter([&] {
    std::unique_lock guard(lock);
    for (int wanted = 1; wanted <= 200; ++wanted) signal.wait(guard, [&] { return level >= wanted; });
  });
  for (int n = 1; n <= 200; ++n) {
    // The first few wait until the waiter sleeps, so that its sleeps are long.
    if (n <= 5) {
      while (true) {
        std::lock_guard guard(lock);
        if (signal.sleepers() == 1) break;
      }
    }
    std::unique_lock guard(lock);
    ++level;
    const bool wake = signal.changed();
    guard.unlock();
    if (wake) signal.wake();
  }
  waiter.join();
  EXPECT_EQ(level, 200);
}

}  // namespace
