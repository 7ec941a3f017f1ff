#include "ControlTest.h"

#include "skin/CBitmapSlider.h"
#include "skin/SkinMessages.h"

namespace {

constexpr int kId = 8192;
constexpr COLORREF kBar = RGB(0, 0, 128);
constexpr COLORREF kActiveBar = RGB(255, 128, 0);
constexpr COLORREF kKnob = RGB(255, 255, 255);
constexpr COLORREF kActiveKnob = RGB(255, 255, 0);

// The video editor's position bar: 300 x 14, channel 148/149, thumb 150/151 keyed by
// pixel (0, 0). The thumb's centre travels from 12 to 288.
class CBitmapSliderTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_SLIDER_TRACK, UM_SLIDER_SET};
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 100, 320, 114), parent(), kId));
    ASSERT_TRUE(slider.SetChannelBitmaps(148, 149, FALSE, 0, 0, 0));
    ASSERT_TRUE(slider.SetThumbBitmaps(150, 151, TRUE, 0xFF000000, 0, 0));
    slider.SetDrawFocusRect(FALSE);
    slider.SetRange(0, 100);
    slider.SetPos(0);
  }
  POINT at(int x) const { return onScreen(slider.m_hWnd, x, 7); }
  std::vector<LPARAM> posted(UINT message) const {
    std::vector<LPARAM> found;
    for (const auto& m : received(message)) {
      EXPECT_EQ(m.wParam, static_cast<WPARAM>(kId));
      found.push_back(m.lParam);
    }
    return found;
  }
  // The pixel of a position's thumb centre.
  static int centreOf(int pos) { return 12 + pos * 276 / 100; }

  CBitmapSlider slider;
};

TEST_F(CBitmapSliderTest, TheStaticTakesTheMouseAndAClickJumpsTheThumb) {
  EXPECT_EQ(SendMessageA(slider.m_hWnd, WM_NCHITTEST, 0, 0), HTCLIENT);
  robot.click(at(150));
  EXPECT_EQ(slider.GetPos(), 50);
  EXPECT_EQ(posted(UM_SLIDER_TRACK), std::vector<LPARAM>{50});
  EXPECT_EQ(posted(UM_SLIDER_SET), std::vector<LPARAM>{50});
  EXPECT_EQ(pixel(slider.m_hWnd, 150, 7), kKnob);
  EXPECT_EQ(pixel(slider.m_hWnd, 150, 0), kBar);  // the knob's keyed rim shows the bar
}

TEST_F(CBitmapSliderTest, WhileDraggingTheActiveThumbShows) {
  SendMessageA(slider.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 7));
  EXPECT_EQ(pixel(slider.m_hWnd, 150, 7), kActiveKnob);
  SendMessageA(slider.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 7));
  SendMessageA(slider.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(500, 7));
  robot.pumpUntilIdle();
  EXPECT_EQ(slider.GetPos(), 100);
  EXPECT_EQ(posted(UM_SLIDER_TRACK), (std::vector<LPARAM>{50, 100}));
  EXPECT_EQ(posted(UM_SLIDER_SET), std::vector<LPARAM>{100});
  EXPECT_EQ(pixel(slider.m_hWnd, 288, 7), kKnob);
}

TEST_F(CBitmapSliderTest, KeysStepThePositionAndAlwaysSet) {
  robot.click(at(centreOf(0)));
  clearReceived();
  slider.SetPos(95);
  robot.key(VK_NEXT);  // page 20, five below the maximum
  EXPECT_EQ(slider.GetPos(), 100);
  robot.key(VK_HOME);
  EXPECT_EQ(slider.GetPos(), 0);
  robot.key(VK_HOME);  // already there: still set
  robot.key(VK_RIGHT);
  robot.key(VK_DOWN);
  robot.key(VK_UP);
  robot.key(VK_PRIOR);
  robot.key(VK_END);
  EXPECT_EQ(posted(UM_SLIDER_SET), (std::vector<LPARAM>{100, 0, 0, 1, 2, 1, 0, 100}));
  EXPECT_TRUE(received(UM_SLIDER_TRACK).empty());
  EXPECT_EQ(slider.SetPageSize(5), 20);

  robot.key('A');  // not a slider key
  EXPECT_EQ(posted(UM_SLIDER_SET).size(), 8u);
}

TEST_F(CBitmapSliderTest, ADisabledSliderIgnoresMouseAndKeysAndShowsNoActiveImages) {
  slider.SetSelStart(10);
  slider.SetSelEnd(60);
  robot.click(at(centreOf(0)));
  clearReceived();
  slider.Enable(FALSE);
  robot.key(VK_END);
  robot.click(at(200));
  EXPECT_EQ(slider.GetPos(), 0);
  EXPECT_TRUE(received(UM_SLIDER_SET).empty());
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(30), 7), kBar);
}

TEST_F(CBitmapSliderTest, TheSelectionSpanRunsBetweenItsMarks) {
  slider.SetPos(100);
  slider.SetSelStart(20);
  slider.SetSelEnd(10);  // below the start: refused
  EXPECT_EQ(slider.GetSelEnd(), -1);
  slider.SetSelEnd(60);
  EXPECT_EQ(slider.GetSelEnd(), 60);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(20) + 1, 7), kActiveBar);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(60) - 1, 7), kActiveBar);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(20) - 2, 7), kBar);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(60) + 2, 7), kBar);

  slider.SetShowSelection(FALSE);
  slider.Invalidate();
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(40), 7), kBar);
}

TEST_F(CBitmapSliderTest, AStartWithoutAnEndIsATwoPixelMark) {
  slider.SetPos(100);
  slider.SetSelStart(0);
  slider.SetSelEnd(0);
  slider.SetSelStart(40);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(40), 7), kActiveBar);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(40) + 1, 7), kActiveBar);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(40) + 3, 7), kBar);
  EXPECT_EQ(pixel(slider.m_hWnd, centreOf(40) - 1, 7), kBar);
}

TEST_F(CBitmapSliderTest, MarksFollowThePosition) {
  slider.SetPos(30);
  slider.SetSelStartAtPos();
  slider.SetPos(20);
  slider.SetSelEndAtPos();  // before the start: refused
  EXPECT_EQ(slider.GetSelEnd(), -1);
  slider.SetPos(70);
  slider.SetSelEndAtPos();
  EXPECT_EQ(slider.GetSelStart(), 30);
  EXPECT_EQ(slider.GetSelEnd(), 70);
}

}  // namespace
