// A waitable timer is waitable like any other kernel object, on the machine clock: a wait
// ends when it is due, a synchronisation timer releases one wait per due time, a
// manual-reset one stays signalled, a periodic one comes again, and named timers share the
// name space of mutexes and events.
#include <support/TestMachine.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/sync.h>
#include <win32/thread.h>

#include <atomic>
#include <thread>

namespace {

class WaitableTimerTest : public test::MachineTest {
 protected:
  static LARGE_INTEGER in(std::int64_t ms) {
    LARGE_INTEGER due{};
    due.QuadPart = -ms * 10000;
    return due;
  }
  HANDLE timer(BOOL manualReset, LPCSTR name = nullptr) {
    HANDLE made = CreateWaitableTimerA(nullptr, manualReset, name);
    handles.push_back(made);
    return made;
  }
  ~WaitableTimerTest() override {
    for (HANDLE handle : handles)
      if (handle) CloseHandle(handle);
  }
  std::vector<HANDLE> handles;
};

TEST_F(WaitableTimerTest, AWaitEndsWhenTheTimerIsDueOnTheMachineClock) {
  HANDLE t = timer(FALSE);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "an unset timer is not signalled";
  const LARGE_INTEGER due = in(5000);
  ASSERT_TRUE(SetWaitableTimer(t, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  machine().clock().advance(4999);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "one millisecond early";

  // A thread that waits without a timeout is released by the clock reaching the due time.
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] { result = WaitForSingleObject(t, INFINITE); });
  machine().clock().advance(1);
  waiter.join();
  EXPECT_EQ(result.load(), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the wait took the signal";
}

TEST_F(WaitableTimerTest, AManualResetTimerStaysSignalledUntilSetAgain) {
  HANDLE t = timer(TRUE);
  const LARGE_INTEGER due = in(1000);
  ASSERT_TRUE(SetWaitableTimer(t, &due, 0, nullptr, nullptr, FALSE));
  machine().clock().advance(1000);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  ASSERT_TRUE(CancelWaitableTimer(t));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "cancelling keeps a signal given";
  ASSERT_TRUE(SetWaitableTimer(t, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "setting it again resets it";
  ASSERT_TRUE(CancelWaitableTimer(t));
  machine().clock().advance(2000);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "a cancelled timer never comes";
}

TEST_F(WaitableTimerTest, APeriodicTimerComesAgainAndAbsoluteTimesAreUtc) {
  HANDLE t = timer(FALSE);
  const LARGE_INTEGER first = in(100);
  ASSERT_TRUE(SetWaitableTimer(t, &first, 250, nullptr, nullptr, FALSE));
  machine().clock().advance(100);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  machine().clock().advance(249);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  machine().clock().advance(1);
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_OBJECT_0));

  // 100-ns units since 1601: due one second after the clock's present.
  LARGE_INTEGER absolute{};
  absolute.QuadPart = (machine().clock().unixMs() + 1000) * 10000 + 116444736000000000LL;
  ASSERT_TRUE(SetWaitableTimer(t, &absolute, 0, nullptr, nullptr, FALSE));
  HANDLE both[] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), t};
  handles.push_back(both[0]);
  machine().clock().advance(999);
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] { result = WaitForMultipleObjects(2, both, FALSE, INFINITE); });
  machine().clock().advance(1);
  waiter.join();
  EXPECT_EQ(result.load(), static_cast<DWORD>(WAIT_OBJECT_0 + 1));
}

TEST_F(WaitableTimerTest, NamedTimersShareTheKernelsNameSpace) {
  HANDLE first = timer(TRUE, "Invented Timer");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE again = timer(TRUE, "Invented Timer");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  const LARGE_INTEGER due = in(10);
  ASSERT_TRUE(SetWaitableTimer(first, &due, 0, nullptr, nullptr, FALSE));
  machine().clock().advance(10);
  EXPECT_EQ(WaitForSingleObject(again, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "one timer behind both names";

  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "Invented Event");
  handles.push_back(event);
  EXPECT_EQ(timer(FALSE, "Invented Event"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(CreateEventA(nullptr, FALSE, FALSE, "Invented Timer"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_NE(timer(FALSE, nullptr), nullptr);
  EXPECT_NE(timer(FALSE, ""), nullptr);
}

TEST_F(WaitableTimerTest, BadHandlesAndArgumentsFail) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  handles.push_back(event);
  const LARGE_INTEGER due = in(10);
  EXPECT_FALSE(SetWaitableTimer(event, &due, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(CancelWaitableTimer(nullptr));
  HANDLE t = timer(FALSE);
  EXPECT_FALSE(SetWaitableTimer(t, nullptr, 0, nullptr, nullptr, FALSE));
  EXPECT_FALSE(SetWaitableTimer(t, &due, -1, nullptr, nullptr, FALSE));
  LARGE_INTEGER farAway{};
  farAway.QuadPart = INT64_MIN;
  EXPECT_TRUE(SetWaitableTimer(t, &farAway, 0, nullptr, nullptr, FALSE));
  EXPECT_EQ(WaitForSingleObject(t, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
