// The media player's keys and remote keys, moving through the list and playing from it,
// its buttons' guards, and the ways back: to the launcher it came from, to the TV window
// it came from, and closing the program.
#include "windows/MediaPlayerFixture.h"

#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <machine/EventLog.h>

namespace {

class MediaPlayerKeysTest : public test::MediaPlayerTest {
 protected:
  // Three clips listed, the player open with the focus.
  void openWithThree() {
    clips = {putClip("a.mpg", 20), putClip("b.mpg", 20), putClip("c.mpg", 20)};
    writeHistory(clips);
    openPlayer();
    ASSERT_EQ(listed(), clips);
  }
  int selected() { return av().GetMediaList().GetFirstSelected(); }
  // The file the controller plays, as the player knows it.
  std::string playing() {
    const int index = av().GetCurrentIndex();
    return index < 0 ? std::string() : std::string(view().GetItem(index)->GetVideoPath());
  }
  void focusPlayer() {
    av().SetFocus();
    robot.pumpUntilIdle();
  }

  std::vector<std::string> clips;
};

TEST_F(MediaPlayerKeysTest, TheArrowsGoRoundTheListAndTellTheBarAnEntryIsReady) {
  openWithThree();
  robot.key(VK_UP);
  EXPECT_EQ(selected(), 2) << "nothing selected: Up takes the last";
  EXPECT_EQ(GetFocus(), view().GetSafeHwnd()) << "the list takes the focus";
  EXPECT_TRUE(barEnabled("PLAY_MOVIE"));
  robot.key(VK_DOWN);
  EXPECT_EQ(selected(), 0) << "Down on the last takes the first";
  robot.key(VK_DOWN);
  EXPECT_EQ(selected(), 1);
  robot.key(VK_UP);
  robot.key(VK_UP);
  EXPECT_EQ(selected(), 2) << "Up on the first takes the last";
  EXPECT_EQ(runState(), 1) << "moving plays nothing";
}

// Down gives the list the focus, and the list hands Enter on as a key of its own: it
// plays the entry all the same, as Enter on the player does.
TEST_F(MediaPlayerKeysTest, EnterPlaysTheSelectedEntryUnlessItIsTheOnePlaying) {
  openWithThree();
  robot.key(VK_DOWN);
  ASSERT_EQ(GetFocus(), view().GetSafeHwnd());
  robot.key(VK_RETURN);
  ASSERT_EQ(runState(), 4);
  EXPECT_EQ(playing(), clips[0]);
  ASSERT_TRUE(advanceUntil([&] { return position() >= 1.0; }));
  const double before = position();
  robot.key(VK_RETURN);
  EXPECT_GE(position(), before) << "the entry already playing is not started again";
  robot.key(VK_DOWN);
  robot.key(VK_RETURN);
  EXPECT_EQ(playing(), clips[1]);
  EXPECT_LT(position(), 0.5) << "another entry starts from its beginning";

  // With the focus on the player.
  robot.key(VK_DOWN);
  focusPlayer();
  robot.key(VK_RETURN);
  EXPECT_EQ(playing(), clips[2]);
  EXPECT_LT(position(), 0.5);
  barCommand("PAUSE_MOVIE");
  robot.key(VK_DOWN);
  robot.key(VK_RETURN);
  EXPECT_TRUE(g_pAppController->IsMediaRunning()) << "a paused file plays on";
  EXPECT_EQ(playing(), clips[2]);
}

TEST_F(MediaPlayerKeysTest, CtrlKeysPlayPauseStopAndStepThroughTheList) {
  openWithThree();
  ctrlKey('P');
  EXPECT_EQ(runState(), 1) << "nothing selected, nothing to play";
  robot.key(VK_DOWN);
  ctrlKey('P');
  ASSERT_TRUE(g_pAppController->IsMediaRunning());
  ctrlKey('P');
  EXPECT_TRUE(g_pAppController->IsMediaOpen()) << "paused";
  ctrlKey('P');
  EXPECT_TRUE(g_pAppController->IsMediaRunning()) << "playing again";
  ctrlKey('P', true);
  EXPECT_TRUE(g_pAppController->IsMediaRunning()) << "Ctrl+Shift+P only plays";
  ctrlKey('F');
  EXPECT_EQ(playing(), clips[1]);
  ctrlKey('B');
  ctrlKey('B');
  EXPECT_EQ(playing(), clips[2]);
  ctrlKey('S');
  EXPECT_EQ(runState(), 1);
  EXPECT_EQ(av().GetCurrentIndex(), -1);
  ctrlKey('F');
  EXPECT_EQ(runState(), 1) << "Ctrl+F only while a file is open";
}

TEST_F(MediaPlayerKeysTest, RemoteKeysPlayPauseStopMoveAndChangeTheSound) {
  openWithThree();
  remoteKey(68);
  EXPECT_EQ(selected(), 0);
  remoteKey(68);
  remoteKey(68);
  remoteKey(68);
  EXPECT_EQ(selected(), 0) << "after the last, the first";
  remoteKey(31);
  EXPECT_EQ(selected(), 2);
  remoteKey(21);
  ASSERT_EQ(playing(), clips[2]);
  remoteKey(13);
  EXPECT_TRUE(g_pAppController->IsMediaOpen());
  remoteKey(13);
  EXPECT_TRUE(g_pAppController->IsMediaRunning());
  const int volume = CAppController::GetVolume();
  remoteKey(16);
  EXPECT_EQ(CAppController::GetVolume(), volume + 5);
  EXPECT_EQ(av().GetControlBar()->GetVolumeSlider()->GetPos(), volume + 5);
  remoteKey(17);
  EXPECT_EQ(CAppController::GetVolume(), volume);
  remoteKey(12);
  EXPECT_EQ(g_pAppController->IsMuted(), 1);
  remoteKey(12);
  EXPECT_EQ(g_pAppController->IsMuted(), 0);
  remoteKey(23);
  EXPECT_EQ(runState(), 1);
  remoteKey(13);
  EXPECT_EQ(playing(), clips[2]) << "with no file, play/pause plays the selected entry";
  remoteKey(99);
  EXPECT_TRUE(g_pAppController->IsMediaRunning()) << "other keys do nothing";
}

TEST_F(MediaPlayerKeysTest, OpenedFromTheLauncherTheWayBackLeadsToIt) {
  openWithThree();
  playEntry(1);
  ASSERT_EQ(runState(), 4);
  robot.key(VK_BACK);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_EQ(g_pAVDlg, nullptr) << "the launcher let the player go";
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(runState(), 0);
  EXPECT_EQ(history(), clips) << "the history is written back";

  openPlayer();
  clickButton(av(), "RETURN_BUTTON");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_EQ(g_pAVDlg, nullptr);
  openPlayer();
  remoteKey(70);
  EXPECT_EQ(g_pAVDlg, nullptr);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
}

TEST_F(MediaPlayerKeysTest, OpenedFromTheTVWindowTheWayBackLeadsToTheLivePicture) {
  writeHistory({putClip("a.mpg", 20)});
  CTVDlg& tv = openTV();
  ASSERT_EQ(runState(), 2);
  clickButton(tv, "RECORDTV_BUTTON");
  ASSERT_NE(g_pAVDlg, nullptr);
  EXPECT_FALSE(av().ReturnsToLauncher());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 115);
  EXPECT_EQ(runState(), 1) << "the capture set aside for the player";
  EXPECT_FALSE(tv.IsWindowVisible());
  EXPECT_TRUE(av().IsWindowVisible());
  playEntry(0);
  ASSERT_EQ(runState(), 4);

  robot.key(VK_BACK);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_EQ(g_pAVDlg, nullptr);
  EXPECT_TRUE(tv.IsWindowVisible());
  EXPECT_EQ(runState(), 2) << "live again";
  EXPECT_TRUE(untilAPictureShows());

  // The home button leads to the launcher, which ends the live picture.
  clickButton(tv, "RECORDTV_BUTTON");
  ASSERT_NE(g_pAVDlg, nullptr);
  clickButton(av(), "MAIN_BUTTON");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_EQ(g_pAVDlg, nullptr);
  EXPECT_EQ(runState(), 0);
}

TEST_F(MediaPlayerKeysTest, TheClickEndingACaptionDoubleClickPressesNoButton) {
  openWithThree();
  robot.doubleClick(POINT{500, 30});
  robot.pumpUntilIdle();
  EXPECT_EQ(g_isMaximized, 0) << "restored by the double click";
  clickButton(av(), "MAX_BUTTON");
  EXPECT_EQ(g_isMaximized, 0) << "the guard took this click";
  clickButton(av(), "MAX_BUTTON");
  EXPECT_EQ(g_isMaximized, 1);
  CRect window;
  av().GetWindowRect(&window);
  CRect bar;
  av().GetControlBar()->GetWindowRect(&bar);
  EXPECT_EQ(bar.left, window.left) << "the bar keeps to the window's bottom left";
}

TEST_F(MediaPlayerKeysTest, HelpOpensFromHF1AndItsButton) {
  openWithThree();
  focusPlayer();
  robot.key('H');
  robot.key(VK_F1);
  clickButton(av(), "HELP_BUTTON");
  EXPECT_EQ(helpRequests(), (std::vector<std::string>(3, programPath("help\\help.chm") + " 0")));
}

TEST_F(MediaPlayerKeysTest, TheCloseButtonStopsTheFileAndClosesTheProgram) {
  openWithThree();
  playEntry(0);
  ASSERT_EQ(runState(), 4);
  clickButton(av(), "CLOSE_BUTTON");
  EXPECT_EQ(runState(), 1) << "the file stopped";
  EXPECT_EQ(av().GetVideoArea(), nullptr);
  EXPECT_FALSE(av().IsWindowVisible());
  EXPECT_FALSE(launcher->IsWindowVisible()) << "the program's dialog ended";
  closeLauncher();
  EXPECT_EQ(g_pAVDlg, nullptr);
  EXPECT_EQ(history(), clips);
}

TEST_F(MediaPlayerKeysTest, RemoteKeyTwentyClosesWithoutShuttingTheComputerDown) {
  openWithThree();
  remoteKey(20, 1);
  EXPECT_FALSE(launcher->IsWindowVisible());
  robot.advance(1000);
  EXPECT_TRUE(powerLog().empty());
}

TEST_F(MediaPlayerKeysTest, TheFolderOfAnEntryOpensInTheFileManager) {
  openWithThree();
  view().GetItem(1)->OpenContainingFolder();
  std::vector<std::string> explored;
  for (const auto& entry : plat::EventLog::events(machine()).read())
    if (entry.category == "shell-explore") explored.push_back(entry.text);
  EXPECT_EQ(explored, std::vector<std::string>{"C:\\Videos\\"});
}

}  // namespace
