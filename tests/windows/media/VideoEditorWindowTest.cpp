// The video editor as a window: opened in the launcher's place and handed back by every
// way out, its panes at their design places in both layouts, its keys and remote keys,
// and its track mode switched by the radio buttons and by Tab.
#include "windows/media/VideoEditorTest.h"

#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinButtonEx.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <robot/Screenshot.h>

namespace test {
namespace {

using VideoEditorWindowTest = VideoEditorTest;

TEST_F(VideoEditorWindowTest, OpensInTheLaunchersPlaceWithItsPanesAtTheirDesignPlaces) {
  CVideoDlg& dlg = openEditor();
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_TRUE(g_pDisplayMode->Is145());
  EXPECT_EQ(robot.text(dlg.GetSafeHwnd()), "Orvane Media");
  CRect client;
  dlg.GetClientRect(&client);
  ASSERT_EQ(client, CRect(0, 0, 1024, 768)) << "maximised on the 1024 x 768 screen";
  EXPECT_EQ(placeOf(dlg.GetClipVideoArea()), CRect(117, 230, 544, 534));
  EXPECT_EQ(placeOf(dlg.GetProjectVideoArea()), CRect(568, 230, 995, 534));
  EXPECT_EQ(placeOf(dlg.GetClipSlider()), CRect(151, 538, 511, 552));
  EXPECT_EQ(placeOf(dlg.GetProjectSlider()), CRect(602, 538, 962, 552));
  EXPECT_EQ(placeOf(dlg.GetClipList()), CRect(117, 620, 544, 752));
  EXPECT_EQ(placeOf(dlg.GetProjectList()), CRect(568, 620, 995, 752));
  EXPECT_EQ(GetDlgCtrlID(dlg.GetClipSlider().GetSafeHwnd()), 8192);
  EXPECT_EQ(GetDlgCtrlID(dlg.GetProjectSlider().GetSafeHwnd()), 8193);
  ASSERT_NE(radio("PRESCAN_BUTTON"), nullptr);
  ASSERT_NE(radio("AUDIO_BUTTON"), nullptr);
  EXPECT_EQ(radio("PRESCAN_BUTTON")->GetCommandId(), 5310);
  EXPECT_EQ(radio("AUDIO_BUTTON")->GetCommandId(), 5311);
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kVideoTrackMode);
  EXPECT_TRUE(showsChecked("PRESCAN_BUTTON"));
  EXPECT_FALSE(showsChecked("AUDIO_BUTTON"));

  // An empty project: nothing to play, pause or stop, and no slider.
  EXPECT_FALSE(enabled("RIGHTPLAY_BUTTON"));
  EXPECT_FALSE(enabled("RIGHTPAUSE_BUTTON"));
  EXPECT_FALSE(enabled("RIGHTSTOP_BUTTON"));
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kStopped);
  EXPECT_FALSE(dlg.IsClipTimerRunning());
  EXPECT_FALSE(dlg.IsProjectTimerRunning());

  MINMAXINFO limits{};
  SendMessageA(dlg.GetSafeHwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 800);
  EXPECT_EQ(limits.ptMinTrackSize.y, 600);

  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "video_editor_empty.png"));
}

// Restored, the first sixteen buttons keep the full-screen design space and the others
// take the 800 x 600 one; the panes and radio buttons scale with the client area.
TEST_F(VideoEditorWindowTest, RestoredTheSeventeenthButtonOnTakesThe800By600Space) {
  CVideoDlg& dlg = openEditor();
  press("MAX_BUTTON");
  ASSERT_EQ(g_isMaximized, 0);
  CRect client;
  dlg.GetClientRect(&client);
  ASSERT_EQ(client, CRect(0, 0, 800, 600)) << "the launcher's first restored place";
  const auto scaled = [&](int l, int t, int r, int b) {
    return CRect(l * client.Width() / 1024, t * client.Height() / 768, r * client.Width() / 1024,
                 b * client.Height() / 768);
  };
  ASSERT_EQ(dlg.GetSkinButton(15)->GetName(), "RIGHTPLAY_BUTTON");
  EXPECT_EQ(placeOf(*dlg.GetSkinButton(15)), scaled(572, 560, 608, 600));
  RECT design{};
  dlg.GetSkinButton(16)->GetSkinRect(design);
  EXPECT_EQ(placeOf(*dlg.GetSkinButton(16)), CRect(design)) << "800 x 600 numbers on an 800 x 600 client";
  EXPECT_EQ(placeOf(dlg.GetClipVideoArea()), scaled(117, 230, 544, 534));
  EXPECT_EQ(placeOf(dlg.GetProjectSlider()), scaled(602, 538, 962, 552));
  EXPECT_EQ(placeOf(dlg.GetProjectList()), scaled(568, 620, 995, 752));
  EXPECT_EQ(placeOf(*radio("AUDIO_BUTTON")), scaled(861, 560, 987, 600));

  // Maximised again by its button: everything in the full-screen space.
  press("MAX_BUTTON");
  dlg.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 1024, 768));
  EXPECT_EQ(placeOf(*dlg.GetSkinButton(16)), CRect(612, 560, 648, 600));
  EXPECT_EQ(placeOf(dlg.GetProjectList()), CRect(568, 620, 995, 752));
}

// Back, Home, Backspace and remote key 70 each hand the front back to the launcher, which
// then lets the editor go.
TEST_F(VideoEditorWindowTest, EveryWayBackHandsTheFrontToTheLauncherWhichLetsTheEditorGo) {
  const std::vector<std::function<void()>> ways = {
      [&] { press("RETURN_BUTTON"); }, [&] { press("MAIN_BUTTON"); },
      [&] {
        robot.key(VK_BACK);
        robot.pumpUntilIdle();
      },
      [&] { remoteKey(70); }};
  for (std::size_t i = 0; i < ways.size(); ++i) {
    SCOPED_TRACE(i);
    openEditor();
    ways[i]();
    robot.pumpUntilIdle();
    EXPECT_FALSE(editorOpen());
    EXPECT_TRUE(launcher->IsWindowVisible());
    EXPECT_TRUE(g_pDisplayMode->Is105());
  }
}

// Enter and Escape do nothing; F1 and H open the help; other remote keys are ignored and
// key 20 closes the program whatever flag comes with it.
TEST_F(VideoEditorWindowTest, KeysAndRemoteKeys) {
  CVideoDlg& dlg = openEditor();
  robot.key(VK_RETURN);
  robot.key(VK_ESCAPE);
  EXPECT_TRUE(editorOpen());
  EXPECT_TRUE(dlg.IsWindowVisible());
  robot.key(VK_F1);
  robot.key('H');
  EXPECT_EQ(helpRequests().size(), 2u);
  press("HELP_BUTTON");
  EXPECT_EQ(helpRequests().size(), 3u);
  remoteKey(21);
  remoteKey(69);
  remoteKey(71);
  EXPECT_TRUE(editorOpen());
  EXPECT_EQ(askedOfMainWindow([&] { remoteKey(20, 1); }), std::vector<WPARAM>{SC_CLOSE});
  EXPECT_EQ(askedOfMainWindow([&] { remoteKey(20, 0); }), std::vector<WPARAM>{SC_CLOSE});
  EXPECT_EQ(askedOfMainWindow([&] { press("CLOSE_BUTTON"); }), std::vector<WPARAM>{SC_CLOSE});
  EXPECT_EQ(askedOfMainWindow([&] { SendMessageA(dlg.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }),
            std::vector<WPARAM>{SC_CLOSE});
  // Refused while the close button is disabled.
  dlg.FindSkinButton("CLOSE_BUTTON")->SetDisabled(TRUE);
  EXPECT_TRUE(askedOfMainWindow([&] { SendMessageA(dlg.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }).empty());
  press("MIN_BUTTON");
  EXPECT_TRUE(dlg.IsIconic());
}

TEST_F(VideoEditorWindowTest, TabAndTheRadioButtonsChooseTheTrackTheCutsGoTo) {
  CVideoDlg& dlg = openEditor();
  robot.key(VK_TAB);
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kAudioTrackMode);
  EXPECT_TRUE(showsChecked("AUDIO_BUTTON"));
  EXPECT_FALSE(showsChecked("PRESCAN_BUTTON"));
  robot.key(VK_TAB);
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kVideoTrackMode);
  EXPECT_TRUE(showsChecked("PRESCAN_BUTTON"));
  EXPECT_FALSE(showsChecked("AUDIO_BUTTON"));
  press("AUDIO_BUTTON");
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kAudioTrackMode);
  EXPECT_TRUE(showsChecked("AUDIO_BUTTON"));
  EXPECT_FALSE(showsChecked("PRESCAN_BUTTON"));
  press("AUDIO_BUTTON");
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kAudioTrackMode) << "a checked radio stays checked";
  press("PRESCAN_BUTTON");
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kVideoTrackMode);
  // A press right after a double-click in the caption strip is not taken, and the radio
  // buttons still show the mode that holds.
  robot.doubleClick(POINT{500, 40});
  EXPECT_TRUE(g_isMaximized == 0);
  press("AUDIO_BUTTON");
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kVideoTrackMode);
  press("MAX_BUTTON");
  ASSERT_EQ(g_isMaximized, 1);
  EXPECT_FALSE(showsChecked("AUDIO_BUTTON")) << "the latched press is undone";
  EXPECT_TRUE(showsChecked("PRESCAN_BUTTON"));
  press("AUDIO_BUTTON");
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kAudioTrackMode);
}

}  // namespace
}  // namespace test
