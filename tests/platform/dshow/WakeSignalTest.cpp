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

}  // namespace
