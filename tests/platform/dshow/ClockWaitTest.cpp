// Timed waits on the manual clock: the thread that drives the clock has nobody to move it
// while it waits, so once the streaming threads have settled it moves the clock on itself,
// stopping at each time a streaming thread waits for; any other thread waits for the clock.
#include <dshow/engine/ClockWait.h>
#include <machine/StreamActivity.h>
#include <support/TestMachine.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

constexpr REFERENCE_TIME kMs = 10'000;

class ClockWaitTest : public test::MachineTest {
 protected:
  std::uint64_t now() { return machine().clock().sharedTickMs(); }
};

TEST_F(ClockWaitTest, TheDrivingThreadsUnmetWaitMovesTheClockToItsDeadlineAndNoFurther) {
  plat::ClockWait wait;
  const std::uint64_t start = now();
  EXPECT_FALSE(wait.waitFor([] { return false; }, plat::ClockWait::now() + 500 * kMs));
  EXPECT_EQ(now(), start + 500);
  // Met at once, it moves nothing.
  EXPECT_TRUE(wait.waitFor([] { return true; }, plat::ClockWait::now() + 500 * kMs));
  EXPECT_EQ(now(), start + 500);
}

TEST_F(ClockWaitTest, TheDrivingThreadStopsWhereAStreamingThreadWaitsAndItsWorkEndsTheWait) {
  plat::ClockWait waited;
  plat::ClockWait done;
  std::atomic<bool> ready{false};
  const REFERENCE_TIME due = plat::ClockWait::now() + 200 * kMs;
  std::atomic<std::uint64_t> ranAt{0};
  std::thread worker = plat::StreamActivity::instance().startThread("worker", [&] {
    waited.waitFor([] { return false; }, due);
    ranAt = now();
    ready = true;
    done.notify();
  });
  const std::uint64_t start = now();
  EXPECT_TRUE(done.waitFor([&] { return ready.load(); }, plat::ClockWait::now() + 500 * kMs));
  EXPECT_EQ(ranAt.load(), start + 200) << "the worker ran at its time";
  EXPECT_EQ(now(), start + 200) << "and the wait ended there";
  worker.join();
}

TEST_F(ClockWaitTest, AStreamingThreadBlockedOutOfSightDoesNotHangTheDrivingThreadsWait) {
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  const auto limit = streams.hangLimit();
  streams.setHangLimit(std::chrono::milliseconds(0));
  std::mutex lock;
  std::condition_variable unknown;
  bool release = false;
  std::thread stuck = streams.startThread("stuck", [&] {
    std::unique_lock guard(lock);
    unknown.wait(guard, [&] { return release; });  // a wait the process does not know
  });
  plat::ClockWait wait;
  const std::uint64_t start = now();
  EXPECT_FALSE(wait.waitFor([] { return false; }, plat::ClockWait::now() + 100 * kMs));
  EXPECT_EQ(now(), start + 100) << "left out, the stuck thread let the clock move to the deadline";
  {
    std::lock_guard guard(lock);
    release = true;
  }
  unknown.notify_all();
  stuck.join();
  streams.setHangLimit(limit);
}

TEST_F(ClockWaitTest, AnotherThreadsWaitEndsOnlyWhenTheClockReachesItsDeadline) {
  plat::ClockWait wait;
  const REFERENCE_TIME deadline = plat::ClockWait::now() + 300 * kMs;
  std::atomic<bool> ended{false};
  std::atomic<bool> result{true};
  std::thread other([&] {
    result = wait.waitFor([] { return false; }, deadline);
    ended = true;
  });
  const std::uint64_t start = now();
  machine().clock().advance(299);
  EXPECT_FALSE(ended.load());
  machine().clock().advance(1);
  other.join();
  EXPECT_FALSE(result.load());
  EXPECT_EQ(now(), start + 300) << "it moved nothing itself";
}

TEST_F(ClockWaitTest, ACancelledWaitEndsFalseUntilReset) {
  plat::ClockWait wait;
  std::atomic<bool> result{true};
  std::thread other([&] { result = wait.waitFor([] { return false; }, -1); });
  wait.cancel();
  other.join();
  EXPECT_FALSE(result.load());
  EXPECT_FALSE(wait.waitFor([] { return true; }, -1)) << "still cancelled";
  wait.reset();
  EXPECT_TRUE(wait.waitFor([] { return true; }, -1));
}

}  // namespace
