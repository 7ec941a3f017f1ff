#include "ControlTest.h"

#include "skin/CSkinButtonEx.h"
#include "skin/SkinMessages.h"

namespace {

constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kHover = RGB(0, 200, 0);
constexpr COLORREF kChecked = RGB(0, 0, 200);
constexpr COLORREF kCheckedHover = RGB(200, 200, 0);
constexpr COLORREF kDisabled = RGB(90, 90, 90);

class CSkinButtonExTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {UM_HOVER_HINT};
    HBITMAP hStrip = MakeStrip(100, 40, {kNormal, kHover, kChecked, kCheckedHover, kDisabled});
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 60), parent(), 5003));
    button.SetImage(hStrip, 0, 0, 100, 40);
    button.SetCommandId(5003);
    DeleteObject(hStrip);
  }
  COLORREF shown() { return pixel(button.m_hWnd, 50, 20); }
  POINT inside() const { return onScreen(button.m_hWnd, 50, 20); }
  POINT outside() const { return onScreen(parentHwnd(), 300, 250); }

  CSkinButtonEx button;
};

TEST_F(CSkinButtonExTest, HoverHintsTheParentBeforeShowingTheHoverImage) {
  EXPECT_EQ(shown(), kNormal);
  BOOL hoverDuringHint = TRUE;
  s_onMessage = [&](const test::ParentMessage& m) {
    if (m.message == UM_HOVER_HINT) hoverDuringHint = button.GetHover();
  };
  robot.moveTo(inside());
  const auto hints = received(UM_HOVER_HINT);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0].wParam, 5003u);
  EXPECT_EQ(hints[0].lParam, 0);
  EXPECT_FALSE(hoverDuringHint);
  EXPECT_TRUE(button.GetHover());
  EXPECT_EQ(GetCapture(), button.m_hWnd);
  EXPECT_EQ(shown(), kHover);

  // Moving within the button sends no second hint; leaving gives the capture back.
  robot.moveTo(onScreen(button.m_hWnd, 60, 25));
  EXPECT_EQ(received(UM_HOVER_HINT).size(), 1u);
  robot.moveTo(outside());
  EXPECT_FALSE(button.GetHover());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(shown(), kNormal);
}

TEST_F(CSkinButtonExTest, AClickLatchesCheckedAndSendsTheCommand) {
  robot.moveTo(inside());
  robot.click(inside());
  // The skin's command is the one with lParam 0 (a button control's own BN_CLICKED
  // carries its window).
  int skinCommands = 0;
  for (const auto& m : received(WM_COMMAND)) {
    if (m.lParam == 0) {
      EXPECT_EQ(m.wParam, 5003u);
      ++skinCommands;
    }
  }
  EXPECT_EQ(skinCommands, 1);
  EXPECT_EQ(shown(), kChecked);  // the release cleared the hover

  robot.moveTo(inside());
  EXPECT_EQ(shown(), kCheckedHover);
  robot.click(inside());  // latch mode: stays checked
  robot.moveTo(outside());
  EXPECT_EQ(shown(), kChecked);

  button.SetReleased(TRUE);
  EXPECT_EQ(shown(), kNormal);
  button.SetReleased(FALSE);  // checked and hovered
  EXPECT_EQ(shown(), kCheckedHover);
}

TEST_F(CSkinButtonExTest, WithoutTheLatchEachPressToggles) {
  button.SetLatch(FALSE);
  robot.click(inside());
  robot.moveTo(outside());
  EXPECT_EQ(shown(), kChecked);
  robot.click(inside());
  robot.moveTo(outside());
  EXPECT_EQ(shown(), kNormal);
}

TEST_F(CSkinButtonExTest, ADisabledButtonNeitherHoversNorClicks) {
  button.SetDisabled(TRUE);
  EXPECT_TRUE(button.IsDisabled());
  EXPECT_EQ(shown(), kDisabled);
  robot.moveTo(inside());
  robot.click(inside());
  EXPECT_TRUE(received(UM_HOVER_HINT).empty());
  for (const auto& m : received(WM_COMMAND)) EXPECT_NE(m.lParam, 0) << "a skin command while disabled";
  EXPECT_EQ(shown(), kDisabled);
  EXPECT_NE(GetCapture(), button.m_hWnd);
}

TEST_F(CSkinButtonExTest, ReleasingOutsideSendsNoCommand) {
  robot.moveTo(inside());
  const POINT down = {50, 20};
  SendMessageA(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  SendMessageA(button.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 200));
  SendMessageA(button.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 200));
  for (const auto& m : received(WM_COMMAND)) EXPECT_NE(m.lParam, 0) << "a skin command from outside";
  EXPECT_NE(GetCapture(), button.m_hWnd);
}

TEST_F(CSkinButtonExTest, LosingTheCaptureClearsTheHoverAndLeavesTheNewOwnersCapture) {
  robot.moveTo(inside());
  ASSERT_EQ(GetCapture(), button.m_hWnd);
  SetCapture(parentHwnd());  // somebody else takes the mouse
  EXPECT_FALSE(button.GetHover());
  EXPECT_EQ(GetCapture(), parentHwnd());
  EXPECT_EQ(shown(), kNormal);
  ReleaseCapture();
}

TEST_F(CSkinButtonExTest, LosingTheFocusLeavesTheNewOwnersCapture) {
  SetFocus(button.m_hWnd);
  SetCapture(parentHwnd());
  SetFocus(parentHwnd());
  EXPECT_EQ(GetCapture(), parentHwnd());
  ReleaseCapture();
}

TEST_F(CSkinButtonExTest, CuttingImagesAgainReleasesTheOldOnes) {
  HBITMAP hStrip = MakeStrip(10, 10, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5)});
  const std::size_t before = liveBitmaps();
  button.SetImage(hStrip, 0, 0, 10, 10);
  EXPECT_EQ(liveBitmaps(), before);
  EXPECT_EQ(shown(), RGB(1, 1, 1));
  DeleteObject(hStrip);
}

}  // namespace
