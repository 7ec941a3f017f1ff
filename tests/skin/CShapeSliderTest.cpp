#include "ControlTest.h"

#include "skin/CShapeSlider.h"
#include "skin/SkinMessages.h"

namespace {

constexpr COLORREF kFirst = RGB(1, 1, 1);
constexpr COLORREF kTouched = RGB(0, 150, 0);
constexpr COLORREF kFill = RGB(0, 0, 220);
constexpr COLORREF kFillDisabled = RGB(100, 100, 100);
constexpr COLORREF kBackground = RGB(220, 220, 0);

class CShapeSliderTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_PROGRESS_TRACK, UM_PROGRESS_SET};
    slider.SetName("PROGRESS_POS");
    slider.SetNotifyTag(reinterpret_cast<WPARAM>(static_cast<LPCSTR>(name)));
  }
  // Images of the slider's size, one colour each, in one picture side by side.
  void Build(bool horizontal, int cx, int cy) {
    slider.SetHorizontal(horizontal);
    HBITMAP hImages = test::MakeBitmap(cx * 5, cy, [cx](int x, int) {
      const COLORREF colors[] = {kFirst, kTouched, kFill, kFillDisabled, kBackground};
      return colors[x / cx];
    });
    slider.SetStateBitmaps(hImages, hImages, hImages, hImages, hImages, CRect(0, 0, cx, cy), CRect(cx, 0, 2 * cx, cy),
                           CRect(2 * cx, 0, 3 * cx, cy), CRect(3 * cx, 0, 4 * cx, cy), CRect(4 * cx, 0, 5 * cx, cy));
    DeleteObject(hImages);
    HRGN hRegion = CreateRectRgn(0, 0, cx, cy);
    ASSERT_TRUE(slider.SetRegion(hRegion));
    DeleteObject(hRegion);
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 100, 20 + cx, 100 + cy), parent(), 0));
  }
  POINT at(int x, int y) const { return onScreen(slider.m_hWnd, x, y); }
  std::vector<LPARAM> positions(UINT message) const {
    std::vector<LPARAM> found;
    for (const auto& m : received(message)) {
      EXPECT_STREQ(reinterpret_cast<LPCSTR>(m.wParam), "PROGRESS_POS");
      found.push_back(m.lParam);
    }
    return found;
  }

  CString name = "PROGRESS_POS";
  CShapeSlider slider;
};

TEST_F(CShapeSliderTest, AClickMovesThePositionAndPostsTrackThenSet) {
  Build(true, 200, 20);
  EXPECT_EQ(slider.GetMin(), 0);
  EXPECT_EQ(slider.GetMax(), 100);
  robot.click(at(50, 10));
  EXPECT_EQ(slider.GetPos(), 25);
  EXPECT_EQ(positions(UM_PROGRESS_TRACK), std::vector<LPARAM>{25});
  EXPECT_EQ(positions(UM_PROGRESS_SET), std::vector<LPARAM>{25});
  EXPECT_EQ(GetCapture(), nullptr);
  // Filled up to the position, background after it.
  EXPECT_EQ(pixel(slider.m_hWnd, 40, 10), kFill);
  EXPECT_EQ(pixel(slider.m_hWnd, 60, 10), kBackground);
}

TEST_F(CShapeSliderTest, DraggingPastTheEndsPinsThePosition) {
  Build(true, 200, 20);
  robot.drag(at(100, 10), onScreen(parentHwnd(), 390, 110));
  EXPECT_EQ(slider.GetPos(), 100);
  EXPECT_EQ(positions(UM_PROGRESS_TRACK).back(), 100);
  // Released outside the shape: no set.
  EXPECT_TRUE(positions(UM_PROGRESS_SET).empty());
  robot.drag(at(100, 10), onScreen(parentHwnd(), 2, 110));
  EXPECT_EQ(slider.GetPos(), 0);
}

TEST_F(CShapeSliderTest, PositionsAndPixelsMapBackOntoEachOther) {
  Build(true, 200, 20);
  slider.SetRange(10, 60, TRUE);
  for (int p = 10; p <= 60; ++p) EXPECT_EQ(slider.PixelToPos(slider.PosToPixel(p)), p) << p;
  EXPECT_EQ(slider.PosToPixel(10), 0);
  EXPECT_EQ(slider.PosToPixel(60), 200);
  slider.SetRightward(FALSE);
  EXPECT_EQ(slider.PosToPixel(60), 0);
  EXPECT_EQ(slider.PixelToPos(0), 60);
}

TEST_F(CShapeSliderTest, AVerticalSliderFillsFromTheBottom) {
  Build(false, 20, 100);
  EXPECT_EQ(pixel(slider.m_hWnd, 10, 99), kBackground);  // empty at the minimum
  slider.SetPos(100);
  EXPECT_EQ(pixel(slider.m_hWnd, 10, 0), kFill);  // full at the maximum
  slider.SetPos(30);
  EXPECT_EQ(slider.PosToPixel(30), 70);
  EXPECT_EQ(pixel(slider.m_hWnd, 10, 75), kFill);
  EXPECT_EQ(pixel(slider.m_hWnd, 10, 65), kBackground);
}

TEST_F(CShapeSliderTest, AVerticalDragAtTheMirrorPixelStillMoves) {
  Build(false, 20, 100);
  slider.SetPos(30);  // its pixel is y = 70
  robot.click(at(10, 30));  // 30 from the top is 70 from the bottom
  EXPECT_EQ(slider.GetPos(), 70);
  EXPECT_EQ(positions(UM_PROGRESS_TRACK), std::vector<LPARAM>{70});
  EXPECT_EQ(positions(UM_PROGRESS_SET), std::vector<LPARAM>{70});
}

TEST_F(CShapeSliderTest, ADisplayOnlySliderShowsTheBackgroundUntilTouchedAndKeepsItsPosition) {
  slider.SetDisplayOnly(TRUE);
  Build(true, 200, 20);
  slider.SetPos(50);
  EXPECT_EQ(pixel(slider.m_hWnd, 20, 10), kBackground);
  robot.click(at(150, 10));
  EXPECT_EQ(slider.GetPos(), 50);
  EXPECT_TRUE(positions(UM_PROGRESS_TRACK).empty());
  EXPECT_EQ(positions(UM_PROGRESS_SET), std::vector<LPARAM>{50});
  EXPECT_EQ(pixel(slider.m_hWnd, 20, 10), kTouched);
}

TEST_F(CShapeSliderTest, ADisabledSliderIgnoresTheMouse) {
  Build(true, 200, 20);
  slider.SetPos(50);
  EXPECT_TRUE(slider.EnableButton(FALSE));
  EXPECT_EQ(pixel(slider.m_hWnd, 20, 10), kFillDisabled);
  robot.click(at(150, 10));
  EXPECT_EQ(slider.GetPos(), 50);
  EXPECT_TRUE(positions(UM_PROGRESS_TRACK).empty());
  EXPECT_TRUE(positions(UM_PROGRESS_SET).empty());
}

TEST_F(CShapeSliderTest, TheRegionIsSetOnceAndAnEmptyRangeStaysAtItsStart) {
  Build(true, 200, 20);
  HRGN hOther = CreateRectRgn(0, 0, 5, 5);
  EXPECT_FALSE(slider.SetRegion(hOther));
  EXPECT_FALSE(slider.SetRegion(nullptr));
  DeleteObject(hOther);
  EXPECT_EQ(slider.PixelToPos(150), 75);  // still the whole 200-pixel box

  slider.SetRange(0, 0, TRUE);
  EXPECT_EQ(slider.PosToPixel(0), 0);
  robot.click(at(150, 10));
  EXPECT_EQ(slider.GetPos(), 0);
  EXPECT_EQ(slider.SetPage(5), 20);
}

TEST_F(CShapeSliderTest, TheCursorIsKeptOnlyWhenCursorUseIsOn) {
  HCURSOR hArrow = CopyCursor(LoadCursorA(nullptr, IDC_ARROW));  // the slider destroys it
  EXPECT_FALSE(slider.SetCursor(nullptr));
  EXPECT_TRUE(slider.SetCursor(hArrow));
  slider.SetUseCursor(FALSE);
  EXPECT_FALSE(slider.SetCursor(hArrow));
}

}  // namespace

namespace {

TEST_F(CShapeSliderTest, APointSetsThePositionAlongTheSlidersOwnAxis) {
  Build(true, 200, 20);
  slider.SetPosFromPoint(50, 199);  // y plays no part
  EXPECT_EQ(slider.GetPos(), 25);
  slider.SetPosFromPoint(400, 0);  // past the end: the maximum
  EXPECT_EQ(slider.GetPos(), 100);
}

TEST_F(CShapeSliderTest, AVerticalSliderTakesThePointsY) {
  Build(false, 20, 100);
  slider.SetPosFromPoint(19, 70);  // where position 30's fill ends
  EXPECT_EQ(slider.GetPos(), 30);
  EXPECT_EQ(slider.PosToPixel(30), 70);
}

}  // namespace
