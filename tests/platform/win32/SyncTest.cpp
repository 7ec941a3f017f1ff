#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/kernel/WaitHub.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/time.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Yields until `done` holds; false after ten seconds, so a fault fails the test instead
// of hanging it. The waiters are plain threads in kernel-object waits: nothing to settle.
template <class Condition>
bool eventually(Condition done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::yield();
  }
  return true;
}

bool blocked(std::size_t waiters) {
  return eventually([&] { return plat::WaitHub::instance().blockedCount() == waiters; });
}

// Runs `body` on another thread and waits for it.
template <class Body>
void onOtherThread(Body body) {
  std::thread(body).join();
}

using MutexTest = test::MachineTest;

TEST_F(MutexTest, OwnerReentersAndReleasesEveryLevel) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, nullptr);
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  onOtherThread([&] {
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_TIMEOUT);
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  });
  EXPECT_TRUE(ReleaseMutex(mutex));
  onOtherThread([&] { EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_TIMEOUT); });  // still one level held
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  onOtherThread([&] {
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
  });
  CloseHandle(mutex);
}

TEST_F(MutexTest, WaiterTakesTheMutexWhenTheOwnerReleasesIt) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, nullptr);
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] {
    result = WaitForSingleObject(mutex, INFINITE);
    ReleaseMutex(mutex);
  });
  ASSERT_TRUE(blocked(1));
  EXPECT_EQ(result.load(), WAIT_FAILED);
  EXPECT_TRUE(ReleaseMutex(mutex));
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
  CloseHandle(mutex);
}

DWORD WINAPI takeAndReturn(LPVOID mutex) { return WaitForSingleObject(mutex, 0); }

TEST_F(MutexTest, ThreadEndingWhileOwningAbandonsTheMutex) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, takeAndReturn, mutex, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_ABANDONED);
  EXPECT_TRUE(ReleaseMutex(mutex));  // the abandoned mutex now belongs to this thread
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));

  onOtherThread([&] { WaitForSingleObject(mutex, 0); });  // a thread not made by CreateThread
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_ABANDONED);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(thread);
  CloseHandle(mutex);
}

TEST_F(MutexTest, NamedMutexIsSharedBetweenHandlesUntilTheLastCloses) {
  SetLastError(ERROR_ALREADY_EXISTS);  // a stale error must not survive a fresh create
  HANDLE first = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

  HANDLE second = CreateMutexA(nullptr, TRUE, "Only-One-Instance");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_NE(second, first);
  EXPECT_FALSE(ReleaseMutex(second));  // an existing mutex is not handed over as initially owned

  ASSERT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
  onOtherThread([&] { EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT); });
  EXPECT_TRUE(ReleaseMutex(second));  // the same mutex, owned through the other handle

  CloseHandle(first);
  HANDLE third = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(third);
  CloseHandle(second);
  HANDLE fresh = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(fresh);
}

TEST_F(MutexTest, NamesAreExactAndNeverCollide) {
  const std::string longName(300, 'x');
  const std::string names[] = {"abc", "ABC", "a/b", "a%2Fb", "Global\\a", ".", "..", longName, longName + "y"};
  std::vector<HANDLE> handles;
  for (const std::string& name : names) {
    handles.push_back(CreateMutexA(nullptr, FALSE, name.c_str()));
    ASSERT_NE(handles.back(), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << name;
  }
  // An empty name makes an unnamed mutex of its own each time.
  HANDLE unnamed = CreateMutexA(nullptr, TRUE, "");
  onOtherThread([&] {
    HANDLE other = CreateMutexA(nullptr, TRUE, "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(ReleaseMutex(other));
    CloseHandle(other);
  });
  CloseHandle(unnamed);
  for (HANDLE handle : handles) CloseHandle(handle);
}

TEST_F(MutexTest, OpenFindsOnlyHeldNamesOfMutexes) {
  EXPECT_EQ(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "Nobody"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  HANDLE mutex = CreateMutexA(nullptr, TRUE, "Held");
  HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, "Held");
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(ReleaseMutex(opened));
  CloseHandle(opened);
  CloseHandle(mutex);
  EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "Held"), nullptr);

  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, "Shared");
  EXPECT_EQ(CreateMutexA(nullptr, FALSE, "Shared"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "Shared"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(event);
}

using EventTest = test::MachineTest;

TEST_F(EventTest, AutoResetReleasesOneWaiterPerSet) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> released{0};
  auto waiter = [&] {
    if (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0) ++released;
  };
  std::thread a(waiter), b(waiter);
  ASSERT_TRUE(blocked(2));
  EXPECT_TRUE(SetEvent(event));
  ASSERT_TRUE(eventually([&] { return released == 1; }));
  EXPECT_EQ(plat::WaitHub::instance().blockedCount(), 1u);  // the signal was used up by one waiter
  EXPECT_TRUE(SetEvent(event));
  a.join();
  b.join();
  EXPECT_EQ(released.load(), 2);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST_F(EventTest, ManualResetReleasesEveryWaiterAndStaysSet) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> released{0};
  auto waiter = [&] {
    if (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0) ++released;
  };
  std::thread a(waiter), b(waiter);
  ASSERT_TRUE(blocked(2));
  SetEvent(event);
  a.join();
  b.join();
  EXPECT_EQ(released.load(), 2);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST_F(EventTest, InitialStateAndNamesWithinTheProcess) {
  HANDLE event = CreateEventA(nullptr, FALSE, TRUE, "Ready");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE same = CreateEventA(nullptr, TRUE, FALSE, "Ready");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(same, 0), WAIT_OBJECT_0);  // the first one's signal, reset as auto-reset
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Lock");
  EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, "Lock"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(SetEvent(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(mutex);
  CloseHandle(same);
  CloseHandle(event);
}

TEST_F(EventTest, TimeoutCountsOnTheManualClock) {
  plat::Clock& clock = machine().clock();
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const std::uint64_t start = clock.tickMs();
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);  // polls without waiting
  EXPECT_EQ(clock.tickMs(), start);

  std::atomic<DWORD> result{WAIT_FAILED};
  std::atomic<std::uint64_t> returnedAt{0};
  std::thread waiter([&] {
    result = WaitForSingleObject(event, 5000);
    returnedAt = clock.tickMs();
  });
  ASSERT_TRUE(blocked(1));
  clock.advance(4999);
  clock.advance(1);
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_TIMEOUT);
  EXPECT_GE(returnedAt.load(), start + 5000);
  CloseHandle(event);
}

TEST_F(EventTest, TimeoutCountsFromTheWaitingThreadsOwnView) {
  plat::Clock& clock = machine().clock();
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] {
    Sleep(60'000);  // only this thread's view moves
    result = WaitForSingleObject(event, 300);
  });
  ASSERT_TRUE(blocked(1));
  clock.advance(300);
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST_F(EventTest, SignalEndsATimedWaitBeforeItsDeadline) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] { result = WaitForSingleObject(event, 20'000); });
  ASSERT_TRUE(blocked(1));
  SetEvent(event);
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
  CloseHandle(event);
}

TEST_F(EventTest, BadHandlesAndCountsFail) {
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(SetEvent(reinterpret_cast<HANDLE>(0x7777)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  HANDLE many[MAXIMUM_WAIT_OBJECTS + 1];
  std::fill(std::begin(many), std::end(many), event);
  EXPECT_EQ(WaitForMultipleObjects(0, many, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, many, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many, TRUE, 0), WAIT_OBJECT_0);
  HANDLE withBad[] = {event, nullptr};
  EXPECT_EQ(WaitForMultipleObjects(2, withBad, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CloseHandle(event);
}

using WaitMultipleTest = test::MachineTest;

TEST_F(WaitMultipleTest, WaitAnyTakesTheLowestSignalledIndex) {
  HANDLE events[] = {CreateEventA(nullptr, FALSE, FALSE, nullptr), CreateEventA(nullptr, FALSE, TRUE, nullptr),
                     CreateEventA(nullptr, FALSE, TRUE, nullptr)};
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);  // only the taken one reset
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);
  for (HANDLE event : events) CloseHandle(event);
}

TEST_F(WaitMultipleTest, WaitAllTakesNothingUnlessItTakesEverything) {
  HANDLE set = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  HANDLE unset = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
  HANDLE objects[] = {mutex, set, unset};
  EXPECT_EQ(WaitForMultipleObjects(3, objects, TRUE, 0), WAIT_TIMEOUT);
  onOtherThread([&] {
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);  // the failed wait-all left the mutex free
    ReleaseMutex(mutex);
  });
  EXPECT_EQ(WaitForSingleObject(set, 0), WAIT_OBJECT_0);  // and the auto-reset signal in place
  SetEvent(set);

  std::atomic<DWORD> result{WAIT_FAILED};
  std::thread waiter([&] {
    result = WaitForMultipleObjects(3, objects, TRUE, INFINITE);
    ReleaseMutex(mutex);
  });
  ASSERT_TRUE(blocked(1));
  SetEvent(unset);
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(set, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(unset, 0), WAIT_TIMEOUT);
  for (HANDLE object : objects) CloseHandle(object);
}

TEST_F(WaitMultipleTest, AbandonedMutexIsReportedAtItsIndex) {
  HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
  onOtherThread([&] { WaitForSingleObject(mutex, 0); });
  HANDLE objects[] = {event, mutex};
  EXPECT_EQ(WaitForMultipleObjects(2, objects, TRUE, 0), WAIT_ABANDONED_0 + 1);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForMultipleObjects(2, objects, TRUE, 0), WAIT_OBJECT_0);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  CloseHandle(event);
}

DWORD WINAPI waitForEvent(LPVOID event) { return WaitForSingleObject(event, INFINITE); }

TEST_F(WaitMultipleTest, ThreadHandlesSignalWhenTheirThreadsEnd) {
  HANDLE gates[] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HANDLE threads[] = {CreateThread(nullptr, 0, waitForEvent, gates[0], 0, nullptr),
                      CreateThread(nullptr, 0, waitForEvent, gates[1], 0, nullptr)};
  EXPECT_EQ(WaitForMultipleObjects(2, threads, FALSE, 0), WAIT_TIMEOUT);
  SetEvent(gates[1]);
  EXPECT_EQ(WaitForMultipleObjects(2, threads, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
  SetEvent(gates[0]);
  EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, INFINITE), WAIT_OBJECT_0);
  for (HANDLE handle : threads) CloseHandle(handle);
  for (HANDLE handle : gates) CloseHandle(handle);
}

using CriticalSectionTest = test::MachineTest;

TEST_F(CriticalSectionTest, OwnerReentersWhileOtherThreadsAreKeptOut) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_EQ(section.RecursionCount, 2);
  EXPECT_EQ(section.OwningThread, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId())));
  onOtherThread([&] {
    EXPECT_FALSE(TryEnterCriticalSection(&section));
    LeaveCriticalSection(&section);  // not the owner: ignored
  });
  LeaveCriticalSection(&section);
  onOtherThread([&] { EXPECT_FALSE(TryEnterCriticalSection(&section)); });
  LeaveCriticalSection(&section);
  EXPECT_EQ(section.OwningThread, nullptr);
  onOtherThread([&] {
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    LeaveCriticalSection(&section);
  });
  DeleteCriticalSection(&section);
}

TEST_F(CriticalSectionTest, SerialisesThreads) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20'000; ++i) {
        EnterCriticalSection(&section);
        EnterCriticalSection(&section);
        ++counter;
        LeaveCriticalSection(&section);
        LeaveCriticalSection(&section);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, 80'000);
  DeleteCriticalSection(&section);
}

}  // namespace
