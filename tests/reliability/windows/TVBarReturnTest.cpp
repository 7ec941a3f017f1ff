// The TV window's control bar comes back every time the TV window does: after the way back
// to the launcher, and after a start without the TV stick that is plugged in later, in a
// window and full screen; so the mouse alone can always record, change the volume and
// change the channel.
#include "windows/WindowsTest.h"

#include "skin/CVideoStaticEx.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"

namespace {

class TVBarReturnTest : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }
  CTVDlg& tv() { return *launcher->GetTVDlg(); }
  CControlBarDlg& bar() { return *tv().GetControlBar(); }

  // The bar on screen along the bottom of the TV window, its commands at hand.
  void expectBarOnScreen(const char* when) {
    robot.advance(100);
    ASSERT_NE(tv().GetControlBar(), nullptr) << when;
    EXPECT_TRUE(bar().IsWindowVisible()) << when;
    EXPECT_TRUE(bar().IsShown()) << when;
    CRect window;
    tv().GetWindowRect(&window);
    CRect shown;
    bar().GetWindowRect(&shown);
    EXPECT_GT(shown.Height(), 0) << when;
    EXPECT_EQ(shown.bottom, window.bottom) << when;
    EXPECT_NE(bar().FindButton("RECORD_MOVIE"), nullptr);
  }
  void backToTheLauncher() {
    clickButton(tv(), "RETURN_BUTTON");
    ASSERT_TRUE(launcher->IsWindowVisible());
    EXPECT_FALSE(bar().IsWindowVisible()) << "the bar goes with the TV window";
  }
  void fullScreen() {
    robot.press(VK_MENU);
    robot.key(VK_RETURN);
    robot.release(VK_MENU);
    robot.pumpUntilIdle();
    ASSERT_TRUE(tv().IsFullScreen());
    robot.moveTo(POINT{500, 300});
  }
};

TEST_F(TVBarReturnTest, TheBarComesBackWithTheTVWindowFromTheLauncher) {
  openTV();
  expectBarOnScreen("first opened");
  for (int round = 0; round < 2; ++round) {
    backToTheLauncher();
    clickButton(*launcher, "TV_BUTTON");
    expectBarOnScreen("opened again");
  }
  fullScreen();
  expectBarOnScreen("full screen");
}

TEST_F(TVBarReturnTest, StartedWithoutTheStickThenPluggedInTheBarComesWithThePicture) {
  robot.plugTvStick(false);
  robot.answerNextMessageBox(IDOK);  // "the live picture could not be started"
  openTV();
  EXPECT_NE(g_pAppController->GetRunState(), 2);
  backToTheLauncher();

  robot.plugTvStick(true);
  robot.advance(500);
  clickButton(*launcher, "TV_BUTTON");
  ASSERT_TRUE(untilAPictureShows());
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  expectBarOnScreen("with the stick plugged in");
  fullScreen();
  expectBarOnScreen("full screen");
}

// The minimise button minimises the program: the TV window and its bar leave the screen
// with the launcher, and come back when it is restored.
TEST_F(TVBarReturnTest, MinimisingTakesTheTVWindowAndItsBarOffTheScreen) {
  openTV();
  expectBarOnScreen("opened");
  clickButton(tv(), "MINISIZE_BUTTON");
  ASSERT_TRUE(launcher->IsIconic());
  EXPECT_FALSE(tv().IsWindowVisible());
  EXPECT_FALSE(bar().IsWindowVisible());
  launcher->ShowWindow(SW_RESTORE);
  robot.pumpUntilIdle();
  EXPECT_TRUE(tv().IsWindowVisible());
  EXPECT_TRUE(bar().IsWindowVisible());
}

}  // namespace
