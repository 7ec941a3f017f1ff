// The cursor hider on a full-screen video window that drives it as the video window does
// (timer 50 every 10 ms, the pointer shown again and the timer restarted on every move),
// with the machine clock.
#include "ControlTest.h"

#include "skin/CCursorHider.h"

namespace {

constexpr UINT_PTR kTimer = 50;
constexpr UINT kTickMs = 10;

CCursorHider* g_hider = nullptr;

LRESULT CALLBACK VideoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimer) {
    g_hider->OnTimer(kTimer);
    return 0;
  }
  if (msg == WM_MOUSEMOVE) {
    g_hider->ShowPointer();
    POINT cursor{};
    GetCursorPos(&cursor);
    g_hider->SetSavedPoint(cursor);
    SetTimer(hwnd, kTimer, kTickMs, nullptr);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class CCursorHiderTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    g_hider = &hider;
    WNDCLASSA wc{};
    wc.lpfnWndProc = VideoProc;
    wc.lpszClassName = "HiderVideo";
    RegisterClassA(&wc);
    video = CreateWindowExA(0, "HiderVideo", "Video", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(video);
    hider.Attach(video);
    robot.moveTo(POINT{500, 400});
  }
  void TearDown() override {
    DestroyWindow(video);
    g_hider = nullptr;
    ControlTest::TearDown();
  }
  static bool Showing() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    return (info.flags & CURSOR_SHOWING) != 0;
  }

  CCursorHider hider;
  HWND video = nullptr;
};

TEST_F(CCursorHiderTest, ThePointerHidesAfterTwoStillSecondsAndComesBackOnAMove) {
  robot.advance(199 * kTickMs);
  EXPECT_TRUE(Showing());
  robot.advance(kTickMs);
  EXPECT_TRUE(hider.IsHidden());
  EXPECT_FALSE(Showing());
  // Hidden once: the timer stopped at the 200th tick.
  robot.advance(5000);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(ShowCursor(FALSE), -1);

  robot.moveTo(POINT{520, 410});
  EXPECT_TRUE(Showing());
  EXPECT_FALSE(hider.IsHidden());
  POINT at{};
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 500);
  EXPECT_EQ(at.y, 400);
}

TEST_F(CCursorHiderTest, AnInactiveWindowOrAMovedPointerStopsTheCountdown) {
  robot.advance(100 * kTickMs);
  EXPECT_EQ(hider.GetCount(), 100);
  SetActiveWindow(parentHwnd());
  robot.advance(300 * kTickMs);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(hider.GetCount(), 0);
  EXPECT_EQ(hider.GetSavedPoint().x, -1);

  SetActiveWindow(video);
  robot.moveTo(POINT{600, 300});
  robot.advance(50 * kTickMs);
  SetCursorPos(601, 300);
  robot.advance(kTickMs);
  EXPECT_EQ(hider.GetCount(), 0);
  robot.advance(300 * kTickMs);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(CCursorHider().OnTimer(kTimer), 0);
}

}  // namespace
