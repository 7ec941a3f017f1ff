#include "ControlTest.h"

#include "skin/CShapeButton.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"

namespace {

constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kOver = RGB(0, 200, 0);
constexpr COLORREF kDown = RGB(0, 0, 200);
constexpr COLORREF kDisabled = RGB(90, 90, 90);
constexpr COLORREF kKey = RGB(255, 0, 255);

class CShapeButtonTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_BAR_COMMAND};
    // A 60 x 40 button whose shape is its left half plus a notch at the bottom right.
    HBITMAP hMask = test::MakeBitmap(60, 40, [](int x, int y) { return x < 30 || (y >= 30 && x >= 50) ? 0 : kKey; });
    hShape = BitmapToRegion(hMask, kKey);
    DeleteObject(hMask);
    // All four states in one picture, at different places.
    HBITMAP hImages = test::MakeBitmap(240, 40, [](int x, int) {
      const COLORREF colors[] = {kNormal, kOver, kDown, kDisabled};
      return colors[x / 60];
    });
    button.SetStateBitmaps(hImages, hImages, hImages, hImages, CRect(0, 0, 60, 40), CRect(60, 0, 120, 40),
                           CRect(120, 0, 180, 40), CRect(180, 0, 240, 40));
    DeleteObject(hImages);
    button.SetName("PLAY_MOVIE");
    button.SetCommandTag(reinterpret_cast<WPARAM>(static_cast<LPCSTR>(name)));
  }
  void TearDown() override {
    ControlTest::TearDown();
    if (hShape) DeleteObject(hShape);
  }
  void CreateShaped() {
    ASSERT_TRUE(button.SetRegion(hShape));
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(50, 50, 110, 90), parent(), 0));
  }
  POINT inShape() const { return onScreen(button.m_hWnd, 10, 20); }
  POINT outOfShape() const { return onScreen(button.m_hWnd, 45, 10); }
  int commands() const { return static_cast<int>(received(UM_BAR_COMMAND).size()); }

  CString name = "PLAY_MOVIE";
  HRGN hShape = nullptr;
  CShapeButton button;
};

TEST_F(CShapeButtonTest, TheWindowTakesTheHitRegionAsItsShape) {
  CreateShaped();
  HRGN hWindowRegion = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(button.m_hWnd, hWindowRegion), ERROR);
  EXPECT_TRUE(EqualRgn(hWindowRegion, hShape));
  DeleteObject(hWindowRegion);
  EXPECT_EQ(button.GetStyle() & WS_TABSTOP, 0u);
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(CShapeButtonTest, AClickInsideTheShapeSendsTheCommandTag) {
  CreateShaped();
  EXPECT_EQ(pixel(button.m_hWnd, 10, 20), kNormal);
  robot.moveTo(inShape());
  EXPECT_EQ(GetCapture(), button.m_hWnd);
  EXPECT_EQ(pixel(button.m_hWnd, 10, 20), kOver);
  robot.click(inShape());
  const auto bar = received(UM_BAR_COMMAND);
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_STREQ(reinterpret_cast<LPCSTR>(bar[0].wParam), "PLAY_MOVIE");
  EXPECT_EQ(bar[0].lParam, 0);
  // Released inside: still over.
  EXPECT_EQ(pixel(button.m_hWnd, 10, 20), kOver);
}

TEST_F(CShapeButtonTest, OutsideTheShapeIsNotTheButton) {
  CreateShaped();
  robot.moveTo(outOfShape());
  EXPECT_NE(GetCapture(), button.m_hWnd);
  robot.click(outOfShape());
  EXPECT_EQ(commands(), 0);
  // Leaving the shape gives up the hover.
  robot.moveTo(inShape());
  robot.moveTo(outOfShape());
  EXPECT_NE(GetCapture(), button.m_hWnd);
  EXPECT_EQ(pixel(button.m_hWnd, 10, 20), kNormal);
}

TEST_F(CShapeButtonTest, ReleasingOutsideSendsNothing) {
  CreateShaped();
  robot.moveTo(inShape());
  robot.drag(inShape(), onScreen(parentHwnd(), 300, 250));
  EXPECT_EQ(commands(), 0);
  EXPECT_NE(GetCapture(), button.m_hWnd);
}

TEST_F(CShapeButtonTest, LosingTheCaptureLeavesTheNewOwnersCapture) {
  CreateShaped();
  robot.moveTo(inShape());
  ASSERT_EQ(GetCapture(), button.m_hWnd);
  SetCapture(parentHwnd());
  EXPECT_EQ(GetCapture(), parentHwnd());
  ReleaseCapture();
}

TEST_F(CShapeButtonTest, ADisabledButtonShowsItsFourthImageAndIgnoresClicks) {
  CreateShaped();
  EXPECT_FALSE(button.EnableButton(FALSE));  // it was not disabled before
  EXPECT_FALSE(button.IsButtonEnabled());
  EXPECT_EQ(pixel(button.m_hWnd, 10, 20), kDisabled);
  robot.click(inShape());
  EXPECT_EQ(commands(), 0);
  EXPECT_TRUE(button.EnableButton(TRUE));
  robot.click(inShape());
  EXPECT_EQ(commands(), 1);
}

TEST_F(CShapeButtonTest, WithoutARegionItDrawsNothingAndNeverHits) {
  EXPECT_FALSE(button.SetRegion(nullptr));
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(50, 50, 110, 90), parent(), 0));
  const COLORREF background = pixel(parentHwnd(), 10, 10);
  EXPECT_EQ(pixel(button.m_hWnd, 10, 20), pixel(button.m_hWnd, 10, 20));
  EXPECT_NE(pixel(button.m_hWnd, 10, 20), kNormal);
  robot.moveTo(inShape());
  robot.click(inShape());
  EXPECT_EQ(commands(), 0);
  (void)background;
}

TEST_F(CShapeButtonTest, WithoutRegionAtCreateTheWindowStaysRectangular) {
  button.SetRegionAtCreate(FALSE);
  CreateShaped();
  HRGN hWindowRegion = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(button.m_hWnd, hWindowRegion), ERROR);
  DeleteObject(hWindowRegion);
}

}  // namespace
