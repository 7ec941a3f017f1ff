#include "ControlTest.h"

#include "skin/CVideoPlaceholder.h"
#include "skin/CWindowPlacer.h"
#include "skin/FullScreenPlacement.h"
#include "skin/SkinMessages.h"

namespace {

class VideoAreaTest : public test::ControlTest {};

TEST_F(VideoAreaTest, APlaceholderReportsEverySizeToItsParent) {
  s_recorded = {WM_NOTIFY};
  std::vector<NMHDR> notices;
  s_onMessage = [&](const test::ParentMessage& m) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
    EXPECT_EQ(m.wParam, header->idFrom);
    notices.push_back(*header);
  };
  CVideoPlaceholder placeholder;
  ASSERT_TRUE(placeholder.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 70), parent(), 77));
  placeholder.MoveWindow(0, 0, 320, 240);
  ASSERT_GE(notices.size(), 2u);  // once created, once moved
  EXPECT_EQ(notices.back().hwndFrom, placeholder.m_hWnd);
  EXPECT_EQ(notices.back().idFrom, 77u);
  EXPECT_EQ(notices.back().code, static_cast<UINT>(NM_VIDEO_AREA_SIZED));
}

TEST_F(VideoAreaTest, ThePlacerPutsAWindowOnTopDownToTheReferencesBottomWithoutActivatingIt) {
  CWnd bar;
  ASSERT_TRUE(bar.CreateEx(0, nullptr, "bar", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 20), nullptr, 0));
  CWnd video;
  ASSERT_TRUE(video.CreateEx(0, nullptr, "video", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
  SetActiveWindow(parentHwnd());
  ASSERT_TRUE(CWindowPlacer::PlaceWindow(&bar, CRect(10, 500, 810, 540), &video));
  CRect placed;
  bar.GetWindowRect(&placed);
  EXPECT_EQ(placed, CRect(10, 500, 810, 600));
  EXPECT_TRUE(bar.GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), parentHwnd());
  EXPECT_FALSE(CWindowPlacer::PlaceWindow(&bar, CRect(0, 0, 1, 1), nullptr));
  bar.DestroyWindow();
  video.DestroyWindow();
}

TEST_F(VideoAreaTest, FullScreenPlacementCoversTheScreenWithTheClientArea) {
  CWnd area;
  ASSERT_TRUE(area.CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(30, 40, 230, 190),
                            parent(), 5));
  CRect rcWindow;
  area.GetWindowRect(&rcWindow);
  CPoint origin(0, 0);
  area.ClientToScreen(&origin);
  const int frameLeft = origin.x - rcWindow.left;
  const int frameTop = origin.y - rcWindow.top;
  ASSERT_GT(frameLeft, 0);

  const WINDOWPLACEMENT keepTop = FullScreenPlacement(area, TRUE);
  EXPECT_EQ(keepTop.length, sizeof(WINDOWPLACEMENT));
  EXPECT_EQ(keepTop.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  const CRect normal(keepTop.rcNormalPosition);
  EXPECT_EQ(normal.left, -frameLeft);
  EXPECT_EQ(normal.top, -frameTop);
  // Less the frame on each side, the window is exactly the screen.
  CRect rcClient;
  area.GetClientRect(&rcClient);
  const int frameRight = rcWindow.right - (origin.x + rcClient.Width());
  const int frameBottom = rcWindow.bottom - (origin.y + rcClient.Height());
  EXPECT_EQ(normal.right - frameRight, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(normal.bottom - frameBottom - (normal.top + frameTop), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(FullScreenPlacement(area, FALSE).rcNormalPosition.top, 0);
}

}  // namespace
