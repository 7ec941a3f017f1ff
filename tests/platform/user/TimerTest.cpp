// Window and thread timers on the manual clock.
#include "WindowTest.h"

#include <atomic>
#include <future>

namespace test {
namespace {

class TimerTest : public UserTest {
 protected:
  std::vector<WPARAM> firedAfter(HWND hwnd, std::uint64_t ms) {
    recorder().clear();
    machine().clock().advance(ms);
    pump();
    std::vector<WPARAM> ids;
    for (const Recorded& r : recorder().all())
      if (r.hwnd == hwnd && r.message == WM_TIMER) ids.push_back(r.wParam);
    return ids;
  }
};

TEST_F(TimerTest, NothingFiresUntilTheClockPassesTheDueTime) {
  HWND hwnd = createRecorder("timers");
  EXPECT_EQ(SetTimer(hwnd, 500, 1000, nullptr), 500u);
  EXPECT_TRUE(firedAfter(hwnd, 999).empty());
  EXPECT_EQ(firedAfter(hwnd, 1), (std::vector<WPARAM>{500}));
  EXPECT_TRUE(firedAfter(hwnd, 999).empty());
  EXPECT_EQ(firedAfter(hwnd, 1), (std::vector<WPARAM>{500}));
}

TEST_F(TimerTest, DueTimersFireEarliestFirstAndALateTimerFiresOnce) {
  HWND hwnd = createRecorder("timers");
  SetTimer(hwnd, 3, 300, nullptr);
  SetTimer(hwnd, 1, 100, nullptr);
  SetTimer(hwnd, 2, 200, nullptr);
  // All three are due; each fires once, in due order, however far behind.
  EXPECT_EQ(firedAfter(hwnd, 1000), (std::vector<WPARAM>{1, 2, 3}));
  // Then each is due one period after it fired.
  EXPECT_EQ(firedAfter(hwnd, 100), (std::vector<WPARAM>{1}));
  EXPECT_EQ(firedAfter(hwnd, 100), (std::vector<WPARAM>{1, 2}));
}

TEST_F(TimerTest, SettingAnIdAgainRestartsIt) {
  HWND hwnd = createRecorder("timers");
  SetTimer(hwnd, 200, 2000, nullptr);
  machine().clock().advance(1500);
  SetTimer(hwnd, 200, 2000, nullptr);
  EXPECT_TRUE(firedAfter(hwnd, 1000).empty());
  EXPECT_EQ(firedAfter(hwnd, 1000), (std::vector<WPARAM>{200}));
}

TEST_F(TimerTest, KillTimerStopsItAndUnknownIdsAreHarmless) {
  HWND hwnd = createRecorder("timers");
  SetTimer(hwnd, 655, 100, nullptr);
  EXPECT_TRUE(KillTimer(hwnd, 655));
  EXPECT_FALSE(KillTimer(hwnd, 655));
  EXPECT_FALSE(KillTimer(hwnd, static_cast<UINT_PTR>(-1)));
  EXPECT_TRUE(firedAfter(hwnd, 500).empty());
}

TEST_F(TimerTest, TimersDieWithTheirWindowAndBelongToItsThread) {
  HWND hwnd = createRecorder("timers");
  SetTimer(hwnd, 1, 10, nullptr);
  DestroyWindow(hwnd);
  EXPECT_TRUE(firedAfter(hwnd, 100).empty());
  HWND other = createRecorder("other");
  UINT_PTR fromWorker = 1;
  std::thread([&] { fromWorker = SetTimer(other, 5, 10, nullptr); }).join();
  EXPECT_EQ(fromWorker, 0u);
}

std::vector<UINT_PTR> g_procFired;

void CALLBACK timerProc(HWND, UINT message, UINT_PTR id, DWORD) {
  if (message == WM_TIMER) g_procFired.push_back(id);
}

TEST_F(TimerTest, ThreadTimersGetNewIdsAndRunTheirProcedure) {
  g_procFired.clear();
  const UINT_PTR first = SetTimer(nullptr, 0, 50, timerProc);
  const UINT_PTR second = SetTimer(nullptr, 0, 50, timerProc);
  ASSERT_NE(first, 0u);
  EXPECT_NE(first, second);
  // Re-setting a thread timer by its id replaces it.
  EXPECT_EQ(SetTimer(nullptr, first, 80, timerProc), first);
  machine().clock().advance(50);
  pump();
  EXPECT_EQ(g_procFired, (std::vector<UINT_PTR>{second}));
  machine().clock().advance(30);
  pump();
  EXPECT_EQ(g_procFired, (std::vector<UINT_PTR>{second, first}));
  KillTimer(nullptr, first);
  KillTimer(nullptr, second);
}

TEST_F(TimerTest, PostedMessagesAndPaintComeBeforeTimers) {
  HWND hwnd = createRecorder("order", WS_POPUP | WS_VISIBLE);
  pump();
  SetTimer(hwnd, 9, 10, nullptr);
  machine().clock().advance(10);
  InvalidateRect(hwnd, nullptr, FALSE);
  PostMessageA(hwnd, WM_USER, 0, 0);
  recorder().clear();
  pump();
  EXPECT_EQ(recorder().of(hwnd, {WM_USER, WM_PAINT, WM_TIMER}), (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
}

TEST_F(TimerTest, AThreadWaitingInGetMessageWakesWhenTheClockIsAdvanced) {
  std::promise<HWND> created;
  std::atomic<int> ticks{0};
  std::thread ui([&] {
    HWND hwnd = createRecorder("ui", WS_POPUP);
    SetTimer(hwnd, 1, 1000, nullptr);
    created.set_value(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_TIMER && ++ticks == 2) PostQuitMessage(0);
    }
    DestroyWindow(hwnd);
  });
  created.get_future().wait();
  machine().clock().advance(1000);
  while (ticks < 1) std::this_thread::yield();
  machine().clock().advance(1000);
  ui.join();
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace test
