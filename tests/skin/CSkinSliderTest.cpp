#include "ControlTest.h"

#include "skin/CSkinSlider.h"
#include "skin/SkinMessages.h"

namespace {

constexpr int kId = 4180;
constexpr COLORREF kGroove = RGB(128, 128, 128);
constexpr COLORREF kThumb = RGB(220, 0, 0);

// A volume bar as the windows make it: 200 x 10, channel 144 keyed by magenta, thumb 145
// keyed by its pixel (0, 0), range 0..100, margins 0, black background.
class CSkinSliderTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_SLIDER_TRACK, UM_SLIDER_SET};
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 100, 220, 110), parent(), kId));
    ASSERT_TRUE(slider.SetChannelBitmaps(144, 0, TRUE, TRUE, RGB(255, 0, 255), 0, 0));
    ASSERT_TRUE(slider.SetThumbBitmaps(145, 0, TRUE, 0xFF000000, 0, 0));
    slider.SetDrawFocusRect(FALSE);
    slider.SetRange(0, 100);
    slider.SetMargins(0, 0, 0, 0);
    slider.SetBkColor(RGB(0, 0, 0));
    slider.SetPos(0);
  }
  POINT at(int x) const { return onScreen(slider.m_hWnd, x, 5); }
  std::vector<LPARAM> posted(UINT message) const {
    std::vector<LPARAM> found;
    for (const auto& m : received(message)) {
      EXPECT_EQ(m.wParam, static_cast<WPARAM>(kId));
      found.push_back(m.lParam);
    }
    return found;
  }

  CSkinSlider slider;
};

TEST_F(CSkinSliderTest, AClickAwayFromTheThumbJumpsThereThenSets) {
  robot.click(at(100));
  EXPECT_EQ(slider.GetPos(), 50);  // (100 - 5) / 190 of the range
  EXPECT_EQ(posted(UM_SLIDER_TRACK), std::vector<LPARAM>{50});
  EXPECT_EQ(posted(UM_SLIDER_SET), std::vector<LPARAM>{50});
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(pixel(slider.m_hWnd, 100, 5), kThumb);
  EXPECT_EQ(pixel(slider.m_hWnd, 150, 4), kGroove);
  EXPECT_EQ(pixel(slider.m_hWnd, 150, 0), RGB(0, 0, 0));  // the background through the key colour
}

TEST_F(CSkinSliderTest, AReleaseWithoutMovingStillSets) {
  slider.SetPos(50);
  robot.click(at(100));
  EXPECT_TRUE(posted(UM_SLIDER_TRACK).empty());
  EXPECT_EQ(posted(UM_SLIDER_SET), std::vector<LPARAM>{50});
}

TEST_F(CSkinSliderTest, DraggingPastTheEndsStaysInTheRange) {
  robot.drag(at(5), onScreen(parentHwnd(), 390, 105));
  EXPECT_EQ(slider.GetPos(), 100);
  EXPECT_EQ(posted(UM_SLIDER_SET).back(), 100);
  robot.drag(at(195), onScreen(parentHwnd(), 0, 105));
  EXPECT_EQ(slider.GetPos(), 0);
  EXPECT_EQ(pixel(slider.m_hWnd, 5, 5), kThumb);
}

TEST_F(CSkinSliderTest, ReleasesAreRememberedTwoDeep) {
  robot.click(at(100));
  robot.click(at(195));
  EXPECT_EQ(slider.GetPrevPos(), 50);
  slider.SetLastPos(150);
  EXPECT_EQ(slider.GetPrevPos(), 100);
  slider.SetPrevPos(7);
  EXPECT_EQ(slider.GetPrevPos(), 7);
}

TEST_F(CSkinSliderTest, DisablingDuringADragEndsIt) {
  const POINT down = {100, 5};
  PostMessageA(slider.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  robot.pumpUntilIdle();
  EXPECT_EQ(GetCapture(), slider.m_hWnd);
  slider.Enable(FALSE);
  EXPECT_EQ(GetCapture(), nullptr);
  clearReceived();
  SendMessageA(slider.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
  robot.click(at(150));
  EXPECT_TRUE(received(UM_SLIDER_SET).empty());
  EXPECT_TRUE(received(UM_SLIDER_TRACK).empty());
  EXPECT_EQ(slider.GetPos(), 50);
}

TEST_F(CSkinSliderTest, TheKeyboardDoesNotMoveIt) {
  robot.click(at(100));
  clearReceived();
  robot.key(VK_END);
  robot.key(VK_LEFT);
  EXPECT_EQ(slider.GetPos(), 50);
  EXPECT_TRUE(received(UM_SLIDER_SET).empty());
  EXPECT_EQ(SendMessageA(slider.m_hWnd, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST_F(CSkinSliderTest, TheFineTuneRangeReachesBothEnds) {
  slider.SetRange(-16, 16, TRUE);
  slider.SetPos(-16);
  EXPECT_EQ(pixel(slider.m_hWnd, 5, 5), kThumb);
  slider.SetPos(16);
  EXPECT_EQ(pixel(slider.m_hWnd, 194, 5), kThumb);
  EXPECT_EQ(pixel(slider.m_hWnd, 5, 5), kGroove);
  slider.SetPos(99);
  EXPECT_EQ(slider.GetPos(), 16);
}

TEST_F(CSkinSliderTest, AnEmptyRangeKeepsTheThumbAtTheStart) {
  slider.SetRange(0, 0, TRUE);
  robot.click(at(150));
  EXPECT_EQ(slider.GetPos(), 0);
  EXPECT_EQ(posted(UM_SLIDER_SET), std::vector<LPARAM>{0});
  EXPECT_EQ(pixel(slider.m_hWnd, 5, 5), kThumb);
}

TEST_F(CSkinSliderTest, AFrameIsDrawnOverEverything) {
  ASSERT_TRUE(slider.SetFrameBitmap(160));
  const RECT frame{0, 0, 20, 20};
  const RECT edges{2, 2, 2, 2};
  slider.SetFrameRect(&frame);
  slider.SetFrameMargins(&edges);
  slider.SetFrameRect(nullptr);
  slider.Invalidate();
  EXPECT_EQ(pixel(slider.m_hWnd, 100, 0), RGB(0, 0, 0));
  EXPECT_EQ(pixel(slider.m_hWnd, 0, 5), RGB(0, 0, 0));
  EXPECT_EQ(pixel(slider.m_hWnd, 5, 5), kThumb);  // the centre is left alone
  EXPECT_FALSE(slider.SetFrameBitmap(999));
}

TEST_F(CSkinSliderTest, MissingImagesFailAndLeaveThePartAlone) {
  EXPECT_FALSE(slider.SetChannelBitmaps(999, 0, TRUE, FALSE, 0, 0, 0));
  EXPECT_EQ(pixel(slider.m_hWnd, 150, 4), kGroove);
  EXPECT_FALSE(slider.SetThumbBitmaps(145, 999, TRUE, 0xFF000000, 0, 0));
  slider.Invalidate();
  EXPECT_EQ(pixel(slider.m_hWnd, 5, 5), kGroove);  // no thumb any more
}

}  // namespace
