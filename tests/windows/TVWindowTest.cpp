// The TV window: the live picture in its video area, its buttons by run state, the bar's
// commands, keys and remote keys, snapshots, full screen with the docked bar, and the way
// back to the launcher.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "core/MediaListFile.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <robot/Screenshot.h>

namespace {

class TVWindowTest : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }
  CTVDlg& tv() { return *launcher->GetTVDlg(); }
  void barCommand(const char* name) {
    SendMessageA(tv().GetSafeHwnd(), UM_BAR_COMMAND, reinterpret_cast<WPARAM>(name), 0);
    robot.pumpUntilIdle();
  }
  BOOL enabled(const char* name) { return tv().FindSkinButton(name)->IsEnabled(); }
};

TEST_F(TVWindowTest, OpensFullScreenWithTheLivePictureAndItsBar) {
  openTV();
  robot.advance(500);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  CRect window;
  tv().GetWindowRect(&window);
  EXPECT_EQ(test::Text(window), "0,0,1024,768");
  CRect video;
  tv().GetVideoArea()->GetWindowRect(&video);
  EXPECT_EQ(test::Text(video), "268,80,1010,654");
  EXPECT_TRUE(tv().GetVideoArea()->IsWindowVisible());
  ASSERT_NE(tv().GetControlBar(), nullptr);
  EXPECT_EQ(tv().GetControlBar()->GetButtons().size(), 12u);
  plat::Screenshot::saveScreen(plat::Screenshot::dump("tv_window"));
}

}  // namespace
