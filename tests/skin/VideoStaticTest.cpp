#include "ControlTest.h"

#include "core/CAppController.h"
#include "skin/CVideoStatic.h"
#include "skin/CVideoStaticEx.h"
#include "skin/SkinMessages.h"

namespace {

class VideoStaticTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_ENTER_FULLSCREEN, UM_LEAVE_FULLSCREEN};
    // Full-screen video areas belong to windows that fill the screen.
    ::MoveWindow(parentHwnd(), 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), TRUE);
  }
  static CRect RectInParent(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    wnd.GetParent()->ScreenToClient(&rect);
    return rect;
  }
  static const CRect kArea;
};

const CRect VideoStaticTest::kArea(20, 30, 340, 270);

TEST_F(VideoStaticTest, EnteringFullScreenCoversTheScreenAndLeavingRestoresThePlace) {
  CVideoStaticEx video;
  ASSERT_TRUE(video.Create("", WS_CHILD | WS_VISIBLE, kArea, parent(), 1001));
  CWnd sibling;
  ASSERT_TRUE(sibling.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), parent(), 1002));

  video.EnterFullScreen();
  EXPECT_TRUE(video.IsFullScreen());
  auto enter = received(UM_ENTER_FULLSCREEN);
  ASSERT_EQ(enter.size(), 1u);
  EXPECT_EQ(enter[0].wParam, 0u);
  CRect client;
  video.GetClientRect(&client);
  CPoint origin(0, 0);
  video.ClientToScreen(&origin);
  EXPECT_EQ(CRect(origin, client.Size()), CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(GetWindow(parentHwnd(), GW_CHILD), video.m_hWnd);  // above its siblings
  EXPECT_EQ(GetFocus(), video.m_hWnd);

  video.LeaveFullScreen();
  EXPECT_FALSE(video.IsFullScreen());
  EXPECT_EQ(RectInParent(video), kArea);
  EXPECT_EQ(received(UM_LEAVE_FULLSCREEN).size(), 1u);
  sibling.DestroyWindow();
}

TEST_F(VideoStaticTest, ADoubleClickTogglesAndEveryMoveTellsTheParent) {
  CVideoStaticEx video;
  ASSERT_TRUE(video.Create("", WS_CHILD | WS_VISIBLE, kArea, parent(), 1001));
  EXPECT_EQ(SendMessageA(video.m_hWnd, WM_NCHITTEST, 0, 0), HTCLIENT);
  robot.moveTo(onScreen(video.m_hWnd, 10, 10));
  auto moves = received(UM_ENTER_FULLSCREEN);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().wParam, 1u);

  robot.doubleClick(video.m_hWnd);
  EXPECT_TRUE(video.IsFullScreen());
  robot.doubleClick(video.m_hWnd);
  EXPECT_FALSE(video.IsFullScreen());
  EXPECT_EQ(RectInParent(video), kArea);
  EXPECT_EQ(received(UM_LEAVE_FULLSCREEN).size(), 1u);
  // Only validating, the area asks for no more painting.
  EXPECT_LT(robot.pumpUntilIdle(), 5);
}

TEST_F(VideoStaticTest, TheSetupVideoAreaObeysItsWindow) {
  CVideoStatic video;
  ASSERT_TRUE(video.Create("", WS_CHILD | WS_VISIBLE, kArea, parent(), 1003));
  video.SetAllowFullScreen(FALSE);
  EXPECT_FALSE(video.IsFullScreenAllowed());
  robot.doubleClick(video.m_hWnd);
  EXPECT_FALSE(video.IsFullScreen());
  EXPECT_TRUE(received(UM_ENTER_FULLSCREEN).empty());

  video.SetAllowFullScreen(TRUE);
  robot.doubleClick(video.m_hWnd);
  EXPECT_TRUE(video.IsFullScreen());
  EXPECT_EQ(RectInParent(video).TopLeft(), CPoint(0, 0));
  video.ToggleFullScreen();
  EXPECT_EQ(RectInParent(video), kArea);
}

TEST_F(VideoStaticTest, TheTvVideoAreaIsBlackOnlyUnderAController) {
  CVideoStaticEx video;
  ASSERT_TRUE(video.Create("", WS_CHILD | WS_VISIBLE, kArea, parent(), 1001));
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(face, RGB(0, 0, 0));
  robot.pumpUntilIdle();
  EXPECT_EQ(SendMessageA(video.m_hWnd, WM_ERASEBKGND, 0, 0), TRUE);
  EXPECT_EQ(pixel(video.m_hWnd, 10, 10), face);  // the parent's background shows through

  // Not started, the controller neither previews nor records.
  CAppController controller;
  g_pAppController = &controller;
  EXPECT_EQ(SendMessageA(video.m_hWnd, WM_ERASEBKGND, 0, 0), TRUE);
  EXPECT_EQ(pixel(video.m_hWnd, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(pixel(video.m_hWnd, kArea.Width() - 1, kArea.Height() - 1), RGB(0, 0, 0));
  g_pAppController = nullptr;
}

}  // namespace
