// The streaming threads as the manual clock sees them: busy from the moment they are
// started, idle only while they wait in a wait the process knows, busy again the moment a
// notify or the clock wakes them, and a settled process is one with nothing left to do at
// the clock's time.
#include <machine/StreamActivity.h>
#include <support/TestMachine.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using plat::StreamActivity;

class StreamActivityTest : public test::MachineTest {
 protected:
  StreamActivity& streams() { return StreamActivity::instance(); }
  std::uint64_t now() { return machine().clock().sharedTickMs(); }
  // Waits (in real time, bounded) until the streaming threads are idle at the clock's time.
  bool settled() { return streams().settle(machine().clock()); }
};

// A worker that counts a tick each time the clock reaches its next period.
class Ticker {
 public:
  Ticker(plat::Machine& machine, std::uint64_t periodMs) : m_machine(machine), m_period(periodMs) {
    m_next = machine.clock().sharedTickMs() + periodMs;
    m_thread = StreamActivity::instance().startThread("ticker", [this] { run(); });
  }
  ~Ticker() {
    {
      std::lock_guard guard(m_lock);
      m_stop = true;
    }
    StreamActivity::instance().notify(this);
    m_thread.join();
  }
  int ticks() const { return m_ticks.load(); }

 private:
  void run() {
    for (;;) {
      std::unique_lock guard(m_lock);
      const auto woke = StreamActivity::instance().wait(this, [&] { return m_stop; }, m_next, &guard);
      if (woke == StreamActivity::Woke::Ready) return;
      ++m_ticks;
      m_next += m_period;
    }
  }

  plat::Machine& m_machine;
  std::uint64_t m_period;
  std::uint64_t m_next;
  std::mutex m_lock;
  bool m_stop = false;
  std::atomic<int> m_ticks{0};
  std::thread m_thread;
};

TEST_F(StreamActivityTest, AStartedThreadIsBusyUntilItWaitsAndNotBeforeItRan) {
  std::mutex lock;
  bool go = false;
  std::atomic<bool> entered{false};
  std::unique_lock held(lock);  // the thread cannot even look at its condition yet
  std::thread worker = streams().startThread("worker", [&] {
    entered = true;
    std::unique_lock guard(lock);
    streams().wait(&go, [&] { return go; }, std::nullopt, &guard);
  });
  EXPECT_FALSE(streams().settledAt(now())) << "busy from the start, before it ran";
  held.unlock();
  ASSERT_TRUE(settled());
  EXPECT_TRUE(entered);
  {
    std::lock_guard guard(lock);
    go = true;
    streams().notify(&go);
    // The notify made it busy before it returned (and it cannot look before we let go).
    EXPECT_FALSE(streams().settledAt(now()));
  }
  worker.join();
  EXPECT_TRUE(streams().settledAt(now())) << "an ended thread counts no more";
}

TEST_F(StreamActivityTest, AWaitForATimeIsDueExactlyWhenTheClockReachesIt) {
  Ticker ticker(machine(), 40);
  ASSERT_TRUE(settled());
  EXPECT_EQ(streams().nextDue(), now() + 40);
  EXPECT_TRUE(streams().settledAt(now() + 39));
  EXPECT_FALSE(streams().settledAt(now() + 40)) << "its time has come at that tick";

  machine().clock().advance(39);
  ASSERT_TRUE(settled());
  EXPECT_EQ(ticker.ticks(), 0);
  machine().clock().advance(1);
  ASSERT_TRUE(settled());
  EXPECT_EQ(ticker.ticks(), 1);
  // A long step brings every period it passed, one after another.
  machine().clock().advance(200);
  ASSERT_TRUE(settled());
  EXPECT_EQ(ticker.ticks(), 6);
  EXPECT_EQ(streams().nextDue(), now() + 40);
}

TEST_F(StreamActivityTest, AThreadThatIsNotAStreamingThreadNeitherCountsNorGivesItsTime) {
  std::mutex lock;
  bool go = false;
  const std::uint64_t deadline = now() + 10;
  std::thread other([&] {
    std::unique_lock guard(lock);
    streams().wait(&go, [&] { return go; }, deadline, &guard);
  });
  // Its wait ends at its time or when told, but the streaming threads are settled all along.
  EXPECT_TRUE(streams().settledAt(now() + 100));
  EXPECT_FALSE(streams().nextDue());
  EXPECT_FALSE(streams().isStreamingThread());
  machine().clock().advance(10);
  other.join();
}

TEST_F(StreamActivityTest, AWaitUntilSettledReturnsOnceTheStreamingThreadsAreIdle) {
  Ticker ticker(machine(), 40);
  bool never = false;
  const auto woke = streams().wait(&never, [&] { return never; }, now() + 1000, nullptr, true);
  EXPECT_EQ(woke, StreamActivity::Woke::Settled);
  EXPECT_EQ(streams().wait(&never, [] { return true; }, now() + 1000, nullptr, true), StreamActivity::Woke::Ready);
  EXPECT_EQ(streams().wait(&never, [] { return false; }, now(), nullptr, true), StreamActivity::Woke::Deadline);
}

TEST_F(StreamActivityTest, AThreadStuckOutsideTheKnownWaitsIsLeftOutUntilItWaitsAgain) {
  std::mutex lock;
  std::condition_variable unknown;
  bool release = false;
  bool done = false;
  std::atomic<bool> stuck{false};
  std::atomic<bool> looked{false};
  std::thread worker = streams().startThread("stuck worker", [&] {
    std::unique_lock guard(lock);
    stuck = true;
    unknown.wait(guard, [&] { return release; });  // a wait the process does not know
    streams().wait(&done, [&] { return (looked = true, done); }, std::nullopt, &guard);
  });
  while (!stuck) std::this_thread::yield();
  EXPECT_FALSE(streams().settledAt(now()));
  streams().giveUpOnBusy("a test");
  EXPECT_TRUE(streams().settledAt(now()));
  {
    std::lock_guard guard(lock);
    release = true;
  }
  unknown.notify_all();
  while (!looked) std::this_thread::yield();
  ASSERT_TRUE(settled());
  {
    std::lock_guard guard(lock);
    done = true;
    streams().notify(&done);
    EXPECT_FALSE(streams().settledAt(now())) << "waiting again, it counts again";
  }
  worker.join();
}

}  // namespace
