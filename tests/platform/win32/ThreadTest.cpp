#include <support/TestMachine.h>

#include <machine/StreamActivity.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/time.h>

#include <atomic>
#include <cstdint>
#include <set>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using ThreadTest = test::MachineTest;

struct Job {
  HANDLE gate = nullptr;
  std::atomic<bool> ran{false};
  std::atomic<DWORD> seenId{0};
};

DWORD WINAPI gatedJob(LPVOID parameter) {
  auto* job = static_cast<Job*>(parameter);
  job->ran = true;
  job->seenId = GetCurrentThreadId();
  WaitForSingleObject(job->gate, INFINITE);
  return 42;
}

TEST_F(ThreadTest, HandleSignalsAndKeepsTheExitCodeWhenTheRoutineReturns) {
  Job job;
  job.gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, gatedJob, &job, 0, &id);
  ASSERT_NE(thread, nullptr);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
  SetEvent(job.gate);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // stays signalled
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(job.seenId.load(), id);
  EXPECT_NE(id, GetCurrentThreadId());
  CloseHandle(thread);
  CloseHandle(job.gate);
}

TEST_F(ThreadTest, SuspendedThreadRunsOnlyOnceResumed) {
  Job job;
  job.gate = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, gatedJob, &job, CREATE_SUSPENDED, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
  EXPECT_FALSE(job.ran.load());
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(job.ran.load());
  EXPECT_EQ(ResumeThread(thread), 0u);
  CloseHandle(thread);
  CloseHandle(job.gate);
}

DWORD WINAPI signalGate(LPVOID gate) {
  SetEvent(gate);
  return 0;
}

TEST_F(ThreadTest, ClosingTheHandleEarlyLetsTheThreadRunOn) {
  HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, signalGate, gate, CREATE_SUSPENDED, nullptr);
  ResumeThread(thread);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_EQ(WaitForSingleObject(gate, INFINITE), WAIT_OBJECT_0);
  CloseHandle(gate);
}

TEST_F(ThreadTest, BadArgumentsFailAsOnWindows) {
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  DWORD code = 0;
  EXPECT_FALSE(GetExitCodeThread(reinterpret_cast<HANDLE>(0x4444), &code));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(ResumeThread(nullptr), static_cast<DWORD>(-1));
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_FALSE(GetExitCodeThread(event, &code));  // not a thread
  CloseHandle(event);

  EXPECT_TRUE(GetExitCodeThread(GetCurrentThread(), &code));
  EXPECT_EQ(code, STILL_ACTIVE);
}

TEST_F(ThreadTest, IdsAreStablePerThreadAndDistinctBetweenThreads) {
  const DWORD mine = GetCurrentThreadId();
  EXPECT_NE(mine, 0u);
  EXPECT_EQ(GetCurrentThreadId(), mine);
  std::set<DWORD> ids{mine};
  for (int i = 0; i < 4; ++i) std::thread([&] { ids.insert(GetCurrentThreadId()); }).join();
  EXPECT_EQ(ids.size(), 5u);
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
}

TEST_F(ThreadTest, InterlockedOperationsReturnWhatWindowsReturns) {
  LONG value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, 9), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&value, -4), 9);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(InterlockedCompareExchange(&value, 7, 4), 5);  // no match: unchanged
  EXPECT_EQ(value, 5);
  EXPECT_EQ(InterlockedCompareExchange(&value, 7, 5), 5);
  EXPECT_EQ(value, 7);

  int a = 0, b = 0;
  PVOID pointer = &a;
  EXPECT_EQ(InterlockedExchangePointer(&pointer, &b), &a);
  EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &a), &b);
  EXPECT_EQ(pointer, &b);
  EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &b), &b);
  EXPECT_EQ(pointer, &a);
}

TEST_F(ThreadTest, InterlockedCountsAreExactUnderContention) {
  LONG counter = 0;
  LONG total = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10'000; ++i) {
        InterlockedIncrement(&counter);
        InterlockedExchangeAdd(&total, 3);
        InterlockedDecrement(&counter);
        InterlockedIncrement(&counter);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, 80'000);
  EXPECT_EQ(total, 240'000);
}

// Threads of CreateThread run on the machine clock: a sleep lasts the machine's time, a
// thread held or waiting for an object has nothing to do until it is resumed or the object
// signalled, and settling the manual clock waits for what they do have to do.
class ClockThreadTest : public test::MachineTest {
 protected:
  bool settle() { return plat::StreamActivity::instance().settle(clock()); }
  plat::Clock& clock() { return machine().clock(); }
};

DWORD WINAPI countEveryHalfSecond(LPVOID parameter) {
  auto* count = static_cast<std::atomic<int>*>(parameter);
  for (int i = 0; i < 3; ++i) {
    Sleep(500);
    ++*count;
  }
  return 0;
}

TEST_F(ClockThreadTest, ASleepLastsTheMachinesTimeAndAWaitForTheThreadLetsItPass) {
  std::atomic<int> count{0};
  const std::uint64_t start = clock().sharedTickMs();
  HANDLE thread = CreateThread(nullptr, 0, countEveryHalfSecond, &count, 0, nullptr);
  ASSERT_TRUE(settle());
  EXPECT_EQ(count.load(), 0);
  EXPECT_EQ(plat::StreamActivity::instance().nextDue(), start + 500);
  clock().advance(499);
  ASSERT_TRUE(settle());
  EXPECT_EQ(count.load(), 0);
  clock().advance(1);
  ASSERT_TRUE(settle());
  EXPECT_EQ(count.load(), 1);
  // Late by a second: the second sleep is over, the third runs from now.
  clock().advance(1000);
  ASSERT_TRUE(settle());
  EXPECT_EQ(count.load(), 2);
  // This thread drives the clock: waiting for the thread moves it just as far as needed.
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(count.load(), 3);
  EXPECT_EQ(clock().sharedTickMs(), start + 2000);
  CloseHandle(thread);
}

DWORD WINAPI waitForGateThenRun(LPVOID parameter) {
  auto* job = static_cast<Job*>(parameter);
  const DWORD waited = WaitForSingleObject(job->gate, 300);
  job->seenId = waited;
  job->ran = true;
  return 0;
}

TEST_F(ClockThreadTest, AThreadHeldOrWaitingForAnObjectIsSettledUntilItsTurnComes) {
  Job job;
  job.gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, waitForGateThenRun, &job, CREATE_SUSPENDED, nullptr);
  ASSERT_TRUE(settle()) << "held: nothing to do";
  EXPECT_FALSE(job.ran.load());
  ResumeThread(thread);
  ASSERT_TRUE(settle()) << "waiting for the gate";
  EXPECT_FALSE(job.ran.load());
  SetEvent(job.gate);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(job.ran.load()) << "the signal is counted as its work until it is done";
  EXPECT_EQ(job.seenId.load(), WAIT_OBJECT_0);
  CloseHandle(thread);

  // A time-out on the machine's clock, on both sides of it.
  Job late;
  late.gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread = CreateThread(nullptr, 0, waitForGateThenRun, &late, 0, nullptr);
  ASSERT_TRUE(settle());
  clock().advance(299);
  ASSERT_TRUE(settle());
  EXPECT_FALSE(late.ran.load());
  clock().advance(1);
  ASSERT_TRUE(settle());
  EXPECT_TRUE(late.ran.load());
  EXPECT_EQ(late.seenId.load(), WAIT_TIMEOUT);
  CloseHandle(thread);
  CloseHandle(job.gate);
  CloseHandle(late.gate);
}

}  // namespace
