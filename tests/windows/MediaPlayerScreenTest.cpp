// The media player as the screen shows it: the control bar as it comes up, whichever
// window opened the player, the video area with no file in it, the bar's volume slider,
// and the list after full screen.
#include "windows/MediaPlayerFixture.h"

#include "skin/CSkinSlider.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"

#include <robot/Screenshot.h>

namespace {

class MediaPlayerScreenTest : public test::MediaPlayerTest {
 protected:
  // The bar's own colour where it lies along the player's bottom left, or the player's.
  bool barOnScreen() {
    CRect window;
    av().GetWindowRect(&window);
    return plat::Screenshot::screenPixel(window.left + 6, window.bottom - 20) == test::kBarNormal;
  }
  bool barAfterAMove() {
    robot.moveTo(POINT{500, 300});
    robot.advance(100);
    robot.pumpUntilIdle();
    return barOnScreen();
  }
  COLORREF videoAreaMiddle() {
    CRect area;
    av().GetVideoArea()->GetWindowRect(&area);
    return plat::Screenshot::screenPixel(area.CenterPoint().x, area.CenterPoint().y);
  }
  CTVDlg& tvWindow() { return *launcher->GetTVDlg(); }
};

// Maximised, the bar waits at its edge for the pointer, whether the launcher or the TV
// window opened the player; restored, it is there at once.
TEST_F(MediaPlayerScreenTest, MaximisedTheBarComesWithThePointerWhoeverOpenedThePlayer) {
  writeHistory({putClip("a.mpg", 5)});
  openPlayer();
  robot.pumpUntilIdle();
  EXPECT_FALSE(barOnScreen()) << "opened from the launcher";
  EXPECT_TRUE(barAfterAMove());
  robot.key(VK_BACK);

  CTVDlg& tv = openTV();
  clickButton(tv, "RECORDTV_BUTTON");
  ASSERT_NE(g_pAVDlg, nullptr);
  robot.pumpUntilIdle();
  EXPECT_FALSE(barOnScreen()) << "opened from the TV window";
  EXPECT_TRUE(barAfterAMove());
  robot.moveTo(POINT{520, 320});
  robot.advance(3100);
  EXPECT_FALSE(barOnScreen()) << "hidden again three seconds after the pointer stopped";
  EXPECT_TRUE(barAfterAMove());
  robot.key(VK_BACK);
  clickButton(tv, "NORMAL_BUTTON");
  ASSERT_EQ(g_isMaximized, 0);

  clickButton(tv, "RECORDTV_BUTTON");
  robot.pumpUntilIdle();
  EXPECT_TRUE(barOnScreen()) << "restored, from the TV window";
  robot.key(VK_BACK);
  clickButton(tv, "RETURN_BUTTON");
  openPlayer();
  robot.pumpUntilIdle();
  EXPECT_TRUE(barOnScreen()) << "restored, from the launcher";
}

TEST_F(MediaPlayerScreenTest, TheVideoAreaIsBlackWithoutAFileAndTheVolumeSliderIsDrawnFromTheStart) {
  writeHistory({putClip("a.mpg", 20)});
  openPlayer();
  robot.pumpUntilIdle();
  EXPECT_EQ(videoAreaMiddle(), RGB(0, 0, 0)) << "no file open";
  ASSERT_TRUE(barAfterAMove());
  EXPECT_TRUE(showsAsDrawn(av().GetControlBar()->GetVolumeSlider()->GetSafeHwnd()));

  playEntry(0);
  ASSERT_TRUE(advanceUntil([&] { return position() >= 1.0; }));
  barCommand("STOP_MOVIE");
  robot.doubleClick(POINT{500, 30});  // restored by the caption strip
  robot.pumpUntilIdle();
  ASSERT_EQ(g_isMaximized, 0);
  EXPECT_EQ(videoAreaMiddle(), RGB(0, 0, 0)) << "moved and sized, still black";
  EXPECT_TRUE(showsAsDrawn(av().GetVideoArea()->GetSafeHwnd()));
}

TEST_F(MediaPlayerScreenTest, AfterFullScreenTheListShowsItsColourAndEveryThumbnail) {
  writeHistory({putClip("a.mpg", 20), putClip("b.mpg", 20)});
  openPlayer();
  HWND list = av().GetMediaList().GetListHwnd();
  ASSERT_TRUE(showsAsDrawn(list));
  const COLORREF secondThumbnail = plat::Screenshot::screenPixel(itemOnScreen(1).x, itemOnScreen(1).y);
  playEntry(0);
  robot.doubleClick(av().GetVideoArea()->GetSafeHwnd());
  robot.pumpUntilIdle();
  ASSERT_TRUE(av().IsFullScreen());
  robot.key(VK_ESCAPE);
  ASSERT_FALSE(av().IsFullScreen());
  robot.pumpUntilIdle();
  EXPECT_EQ(plat::Screenshot::windowPixel(list, 150, 460), RGB(19, 27, 36)) << "the list's own colour";
  EXPECT_EQ(plat::Screenshot::screenPixel(itemOnScreen(1).x, itemOnScreen(1).y), secondThumbnail);
  EXPECT_TRUE(showsAsDrawn(list));
}

}  // namespace
