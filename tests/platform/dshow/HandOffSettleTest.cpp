// Streaming threads that hand items to each other through a hand-off's wait, as the
// manual clock's settle sees them: idle only while asleep with nothing to do.
#include <dshow/baseclasses/WakeSignal.h>
#include <machine/StreamActivity.h>
#include <support/TestMachine.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using plat::StreamActivity;

class HandOffSettleTest : public test::MachineTest {
 protected:
  StreamActivity& streams() { return StreamActivity::instance(); }
  std::uint64_t now() { return machine().clock().sharedTickMs(); }
  bool settled() { return streams().settle(machine().clock()); }
};

// A stage of a streaming chain: items handed to it through a hand-off's wait, taken by its
// thread one at a time.
struct HandOffStage {
  std::mutex lock;
  plat::WakeSignal signal;
  std::deque<int> items;
  bool stop = false;

  void put(int item) { change([&] { items.push_back(item); }); }
  void end() { change([&] { stop = true; }); }
  // Until end(): each item to `each`, outside the lock.
  void run(const std::function<void(int)>& each) {
    std::unique_lock guard(lock);
    for (;;) {
      signal.wait(guard, [&] { return stop || !items.empty(); });
      if (items.empty()) return;
      const int item = items.front();
      items.pop_front();
      guard.unlock();
      each(item);
      guard.lock();
    }
  }

 private:
  template <class Change>
  void change(Change apply) {
    std::unique_lock guard(lock);
    apply();
    const bool wake = signal.changed();
    guard.unlock();
    if (wake) signal.wake();
  }
};

// A streaming thread asleep in a hand-off's wait counts idle, and busy again from the
// moment the changing thread learns it must wake it; a settle begun while it worked ends
// when it goes to sleep, though neither side takes the activity's lock for it.
TEST_F(HandOffSettleTest, AHandOffSleeperIsIdleAsleepAndBusyOnceTheChangeIsMade) {
  HandOffStage stage;
  std::atomic<bool> letGo{false};
  std::atomic<int> handled{0};
  stage.put(0);  // its first item keeps the thread busy until let go
  std::thread worker = streams().startThread("consumer", [&] {
    stage.run([&](int) {
      while (!letGo) std::this_thread::yield();
      ++handled;
    });
  });
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    letGo = true;
  });
  ASSERT_TRUE(settled()) << "the settle begun while it was busy ends once it sleeps";
  release.join();
  EXPECT_EQ(handled, 1);
  {
    std::lock_guard guard(stage.lock);
    stage.items.push_back(1);
    ASSERT_TRUE(stage.signal.changed());
    EXPECT_FALSE(streams().settledAt(now())) << "busy before it is even signalled";
  }
  stage.signal.wake();
  ASSERT_TRUE(settled());
  EXPECT_EQ(handled, 2);
  stage.end();
  worker.join();
  EXPECT_TRUE(streams().settledAt(now()));
}

// Items handed one by one to a chain of two streaming threads: after each hand-off a
// settle returns only once the item has passed through both, never in between.
TEST_F(HandOffSettleTest, ASettleAfterEachHandOffFindsTheItemThroughTheWholeChain) {
  constexpr int kItems = 2000;
  HandOffStage first, second;
  std::atomic<int> last{-1};
  std::thread a = streams().startThread("first", [&] { first.run([&](int item) { second.put(item); }); });
  std::thread b = streams().startThread("second", [&] { second.run([&](int item) { last = item; }); });
  for (int n = 0; n < kItems; ++n) {
    first.put(n);
    ASSERT_TRUE(settled());
    ASSERT_EQ(last, n) << "settled with item " << n << " still on its way";
  }
  first.end();
  a.join();
  second.end();
  b.join();
}

}  // namespace
