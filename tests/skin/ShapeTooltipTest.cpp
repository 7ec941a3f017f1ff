// The tooltips of the shaped button and the shape slider: the text the bar gives them
// shows once the pointer has rested on the control, through the messages they relay.
#include "ControlTest.h"

#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"

#include <string>

namespace {

class ShapeTooltipTest : public test::ControlTest {
 protected:
  // The one tooltip window of the test, or null.
  static HWND Tooltip() { return FindWindowA(TOOLTIPS_CLASS, nullptr); }
  static bool TipShown() { return IsWindowVisible(Tooltip()) != FALSE; }
  static std::string TipText() {
    char text[128] = {};
    GetWindowTextA(Tooltip(), text, sizeof(text));
    return text;
  }
  void CreateButton() {
    HRGN hShape = CreateRectRgn(10, 0, 50, 40);
    ASSERT_TRUE(button.SetRegion(hShape));
    DeleteObject(hShape);
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(50, 50, 110, 90), parent(), 0));
  }
  void CreateSlider() {
    slider.SetHorizontal(TRUE);
    HRGN hRegion = CreateRectRgn(0, 0, 200, 20);
    ASSERT_TRUE(slider.SetRegion(hRegion));
    DeleteObject(hRegion);
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 150, 220, 170), parent(), 0));
  }
  POINT onButton() const { return onScreen(button.m_hWnd, 30, 20); }
  POINT offControls() const { return onScreen(parentHwnd(), 300, 20); }

  CShapeButton button;
  CShapeSlider slider;
};

TEST_F(ShapeTooltipTest, TheButtonsTipShowsAfterTheDelayAndGoesWhenThePointerLeaves) {
  CreateButton();
  ASSERT_TRUE(button.SetTooltipText("Play movie"));
  robot.moveTo(onButton());
  robot.advance(499);
  EXPECT_FALSE(TipShown());
  robot.advance(1);
  ASSERT_TRUE(TipShown());
  EXPECT_EQ(TipText(), "Play movie");
  robot.moveTo(offControls());
  EXPECT_FALSE(TipShown());
}

TEST_F(ShapeTooltipTest, ANewTextReplacesTheOldOnTheOneTool) {
  CreateButton();
  button.SetTooltipText("Play");
  const CString strText = "Pause";
  ASSERT_TRUE(button.SetTooltipText(&strText));
  EXPECT_EQ(SendMessageA(Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
  robot.moveTo(onButton());
  robot.advance(500);
  EXPECT_EQ(TipText(), "Pause");
}

TEST_F(ShapeTooltipTest, NoTextIsRefusedAndMakesNoTool) {
  CreateButton();
  EXPECT_FALSE(button.SetTooltipText(static_cast<const CString*>(nullptr)));
  EXPECT_FALSE(button.SetTooltipText(""));
  EXPECT_EQ(Tooltip(), nullptr);
  // The first message relayed makes the tooltip, inactive and without tools.
  robot.moveTo(onButton());
  ASSERT_NE(Tooltip(), nullptr);
  EXPECT_EQ(SendMessageA(Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 0);
  robot.advance(1000);
  EXPECT_FALSE(TipShown());
}

TEST_F(ShapeTooltipTest, AnInactiveTipWaitsForActivateTooltip) {
  CreateButton();
  button.SetTooltipText("Play", FALSE);
  robot.moveTo(onButton());
  robot.advance(1000);
  EXPECT_FALSE(TipShown());
  button.ActivateTooltip(TRUE);
  robot.moveTo(offControls());
  robot.moveTo(onButton());
  robot.advance(500);
  EXPECT_TRUE(TipShown());
  button.ActivateTooltip(FALSE);
  EXPECT_FALSE(TipShown());
}

TEST_F(ShapeTooltipTest, TheSlidersTipShowsOverTheTrackAndGoesWithThePointer) {
  CreateSlider();
  ASSERT_TRUE(slider.SetTooltipText("Volume"));
  robot.moveTo(onScreen(slider.m_hWnd, 100, 10));
  robot.advance(500);
  ASSERT_TRUE(TipShown());
  EXPECT_EQ(TipText(), "Volume");
  // The slider holds no capture: the tip sees the pointer leave on its own.
  robot.moveTo(offControls());
  robot.advance(100);
  EXPECT_FALSE(TipShown());
  // A press on the track takes the tip away while dragging.
  robot.moveTo(onScreen(slider.m_hWnd, 50, 10));
  robot.advance(500);
  ASSERT_TRUE(TipShown());
  robot.click(onScreen(slider.m_hWnd, 50, 10));
  EXPECT_FALSE(TipShown());
}

TEST_F(ShapeTooltipTest, TheSliderRefusesNoTextAndActivatesOnlyWithATool) {
  CreateSlider();
  EXPECT_FALSE(slider.SetTooltipText(static_cast<const CString*>(nullptr)));
  EXPECT_FALSE(slider.SetTooltipText(""));
  slider.ActivateTooltip(TRUE);
  robot.moveTo(onScreen(slider.m_hWnd, 100, 10));
  robot.advance(1000);
  EXPECT_FALSE(TipShown());
}

}  // namespace
