// The fading tip on the machine clock: the show delay, the fade in and out in clamped
// steps, the pointer leaving early, a show during the fade-out, and the tip without fading.
#include "ControlTest.h"

#include "SkinFolder.h"
#include "skin/CCoolTip.h"

#include <robot/Screenshot.h>

#include <filesystem>

namespace {

class CCoolTipTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    hot = CRect(onScreen(parentHwnd(), 20, 20), CSize(100, 60));
    robot.moveTo(hot.CenterPoint());
  }
  void Make(DWORD flags) {
    ASSERT_TRUE(tip.Create(parent(), flags, 140, 60));
    tip.SetHotRect(hot);
    tip.SetTitle("Channel 5");
    tip.SetText("News at nine");
  }
  bool Shown() const { return IsWindowVisible(tip.GetSafeHwnd()) != FALSE; }

  CRect hot;
  CCoolTip tip;
};

TEST_F(CCoolTipTest, TheTipWaitsFadesInStaysAndFadesOutWhenThePointerLeaves) {
  Make(CCoolTip::kFade);
  ASSERT_TRUE(tip.CanFade());
  EXPECT_TRUE(tip.Show(hot.BottomRight()));
  EXPECT_EQ(tip.GetState(), CCoolTip::kWaiting);
  robot.advance(900);
  EXPECT_FALSE(Shown());
  robot.advance(100);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(tip.GetState(), CCoolTip::kFadingIn);
  EXPECT_EQ(tip.GetAlpha(), 0);
  robot.advance(5 * CCoolTip::kFadeMs);
  EXPECT_EQ(tip.GetAlpha(), 5 * CCoolTip::kAlphaStep);
  // 28 at a time reaches 255 on the tenth step and stops there.
  robot.advance(5 * CCoolTip::kFadeMs);
  EXPECT_EQ(tip.GetState(), CCoolTip::kShown);
  EXPECT_EQ(tip.GetAlpha(), 255);
  robot.advance(2000);
  EXPECT_EQ(tip.GetState(), CCoolTip::kShown);

  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveWindow(tip.GetSafeHwnd(), shots / "cooltip.png");

  robot.moveTo(onScreen(parentHwnd(), 300, 250));
  robot.advance(CCoolTip::kWatchMs);
  EXPECT_EQ(tip.GetState(), CCoolTip::kFadingOut);
  robot.advance(10 * CCoolTip::kFadeMs);
  EXPECT_EQ(tip.GetState(), CCoolTip::kHidden);
  EXPECT_EQ(tip.GetAlpha(), 0);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(tip.IsVisible());
}

TEST_F(CCoolTipTest, APointerLeavingBeforeTheDelayShowsNothing) {
  Make(CCoolTip::kFade);
  tip.Show(hot.BottomRight());
  robot.advance(300);
  robot.moveTo(onScreen(parentHwnd(), 300, 250));
  robot.advance(2000);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(tip.IsVisible());
  EXPECT_EQ(tip.GetAlpha(), 0);
}

TEST_F(CCoolTipTest, AShowDuringTheFadeOutShowsTheTipAgainAfterIt) {
  Make(CCoolTip::kFade | CCoolTip::kSemiTransparent);
  tip.Show(hot.BottomRight());
  robot.advance(1000 + 10 * CCoolTip::kFadeMs);
  EXPECT_EQ(tip.GetAlpha(), 230);
  EXPECT_EQ(tip.Hide(), 1);
  EXPECT_EQ(tip.GetState(), CCoolTip::kFadingOut);
  EXPECT_EQ(tip.Show(hot.BottomRight()), 0);
  robot.advance(9 * CCoolTip::kFadeMs);
  EXPECT_EQ(tip.GetState(), CCoolTip::kWaiting);
  robot.advance(CCoolTip::kWaitMs);
  EXPECT_EQ(tip.GetState(), CCoolTip::kFadingIn);
  // A key pressed over the tip hides it.
  MSG key{parentHwnd(), WM_KEYDOWN, VK_SPACE, 0, 0, {}};
  tip.RelayEvent(&key);
  EXPECT_EQ(tip.GetState(), CCoolTip::kFadingOut);
}

// Shown again while up (the pointer moved on to another item of a list), the tip makes way
// and comes back with its new picture; the pointer passes through it.
TEST_F(CCoolTipTest, AShowWhileUpComesBackWithTheNewPicture) {
  Make(CCoolTip::kFade);
  test::SkinFolder folder(machine(), "Tips");
  tip.SetPicture(folder.writeBitmap("first.bmp", 8, 8, [](int, int) { return RGB(0, 90, 200); }));
  tip.Show(hot.BottomRight());
  robot.advance(2000);
  ASSERT_EQ(tip.GetState(), CCoolTip::kShown);
  EXPECT_EQ(SendMessageA(tip.GetSafeHwnd(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  tip.SetPicture(folder.writeBitmap("second.bmp", 8, 8, [](int, int) { return RGB(200, 60, 0); }));
  EXPECT_EQ(tip.Show(hot.BottomRight()), 0);
  EXPECT_EQ(tip.GetState(), CCoolTip::kFadingOut);
  robot.advance(2000);
  EXPECT_EQ(tip.GetState(), CCoolTip::kShown);
  robot.pumpUntilIdle();
  EXPECT_EQ(plat::Screenshot::windowPixel(tip.GetSafeHwnd(), 40, 50), RGB(200, 60, 0));
}

TEST_F(CCoolTipTest, WithoutFadingTheTipShowsAtOnceAndGoesAfterFiveSeconds) {
  Make(0);
  EXPECT_FALSE(tip.CanFade());
  test::SkinFolder folder(machine(), "Tips");
  tip.SetPicture(folder.writeBitmap("thumb.bmp", 8, 8, [](int, int) { return RGB(0, 90, 200); }));
  tip.Show(hot.BottomRight());
  robot.advance(1000);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(tip.GetAlpha(), 255);
  robot.pumpUntilIdle();
  EXPECT_EQ(plat::Screenshot::windowPixel(tip.GetSafeHwnd(), 40, 50), RGB(0, 90, 200));
  robot.advance(CCoolTip::kShowMs - 10);
  EXPECT_TRUE(Shown());
  robot.advance(10);
  EXPECT_FALSE(Shown());
}

}  // namespace
