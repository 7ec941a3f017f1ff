// The TV window: the live picture in its video area, its buttons by run state, the bar's
// commands, keys and remote keys, snapshots, full screen with the docked bar, and the way
// back to the launcher.
#include "windows/WindowsTest.h"

#include "core/data/CChannelList.h"
#include "core/CDisplayMode.h"
#include "core/CMediaFileItem.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/DeviceUtilities.h"
#include "core/MediaListFile.h"
#include "skin/CShapeButton.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CTaskbarNotifier.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/CVideoWindow.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <machine/EventLog.h>
#include <vendor/language/Language.h>


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
  // Tunes channel 5 of the active list, so that both neighbours are a step away.
  int middleChannel() {
    const int list = GetActiveChannelListIndex();
    g_pChannelList->SetCurrentChannel(5, list);
    g_pAppController->RetuneCurrentChannel();
    return g_pTunedChannelRecord->ChannelNumber;
  }
  int tuned() const { return g_pTunedChannelRecord->ChannelNumber; }
  // Wakes the bar with the pointer, as a user does, and clicks one of its buttons.
  void clickBarButton(const char* name) {
    robot.moveTo(POINT{500, 300});
    robot.advance(100);
    robot.click(tv().GetControlBar()->FindButton(name)->GetSafeHwnd());
    robot.pumpUntilIdle();
  }
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
}

TEST_F(TVWindowTest, ButtonsFollowTheRunStateAndTheBarIsToldIt) {
  openTV();
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(enabled("RETURN_BUTTON"));
  EXPECT_TRUE(enabled("RECORDTV_BUTTON"));
  EXPECT_FALSE(enabled("FULLSCREEN_BUTTON"));
  EXPECT_FALSE(enabled("CHANNEL_BUTTON"));
  CControlBarDlg& bar = *tv().GetControlBar();
  EXPECT_FALSE(bar.FindButton("NEXT_CHANNELS")->IsButtonEnabled());
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 3, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(enabled("FULLSCREEN_BUTTON"));
  EXPECT_FALSE(enabled("CHANNEL_BUTTON"));
  EXPECT_FALSE(enabled("RETURN_BUTTON"));
  EXPECT_TRUE(bar.FindButton("STOP_MOVIE")->IsButtonEnabled());
  EXPECT_FALSE(bar.FindButton("RECORD_MOVIE")->IsButtonEnabled());
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 11, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(enabled("RETURN_BUTTON"));
  EXPECT_FALSE(enabled("TVWALL_BUTTON"));
  EXPECT_FALSE(bar.FindButton("NEXT_CHANNELS")->IsButtonEnabled());
  EXPECT_TRUE(bar.FindButton("RECORD_MOVIE")->IsButtonEnabled());
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 6, 0);  // unchanged
  robot.pumpUntilIdle();
  EXPECT_TRUE(enabled("RETURN_BUTTON"));
}

TEST_F(TVWindowTest, ADisabledButtonDoesNothingFromAKeyEither) {
  openTV();
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 3, 0);  // as while recording
  robot.pumpUntilIdle();
  robot.key(VK_BACK);
  EXPECT_TRUE(tv().IsWindowVisible());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
}

TEST_F(TVWindowTest, BarCommandsChangeChannelAndVolume) {
  openTV();
  const int five = middleChannel();
  ASSERT_EQ(five, 5);
  barCommand("PRE_CHANNELS");
  EXPECT_EQ(tuned(), 6) << "as Page Up and remote key 18: channel up";
  barCommand("NEXT_CHANNELS");
  barCommand("NEXT_CHANNELS");
  EXPECT_EQ(tuned(), 4) << "as Page Down and remote key 19: channel down";
  const int volume = CAppController::GetVolume();
  barCommand("ADD_SND");
  EXPECT_EQ(CAppController::GetVolume(), volume + 5);
  EXPECT_EQ(tv().GetControlBar()->GetVolumeSlider()->GetPos(), volume + 5);
  barCommand("SUB_SND");
  EXPECT_EQ(CAppController::GetVolume(), volume);
  EXPECT_EQ(GetFocus(), tv().GetSafeHwnd());
}

TEST_F(TVWindowTest, KeysStepChannelsAndVolume) {
  openTV();
  ASSERT_EQ(middleChannel(), 5);
  robot.key(VK_PRIOR);
  EXPECT_EQ(tuned(), 6);
  robot.key(VK_NEXT);
  robot.key(VK_NEXT);
  EXPECT_EQ(tuned(), 4);
  const int volume = CAppController::GetVolume();
  robot.key(VK_F10);
  EXPECT_EQ(CAppController::GetVolume(), volume + 5);
  robot.key(VK_F9);
  EXPECT_EQ(CAppController::GetVolume(), volume);
}

TEST_F(TVWindowTest, TheBarsChannelButtonsTheKeysAndTheRemoteStepByOneRule) {
  openTV();
  ASSERT_EQ(middleChannel(), 5);
  // Up: the bar's "previous" button, Page Up, remote key 18.
  clickBarButton("PRE_CHANNELS");
  EXPECT_EQ(tuned(), 6);
  robot.key(VK_PRIOR);
  EXPECT_EQ(tuned(), 7);
  remoteKey(18);
  EXPECT_EQ(tuned(), 8);
  // Down: the bar's "next" button, Page Down, remote key 19.
  clickBarButton("NEXT_CHANNELS");
  EXPECT_EQ(tuned(), 7);
  robot.key(VK_NEXT);
  EXPECT_EQ(tuned(), 6);
  remoteKey(19);
  EXPECT_EQ(tuned(), 5);
}

TEST_F(TVWindowTest, RemoteKeyTenTunesTheTypedNumberAtOnceAndNeverShowsANought) {
  openTV();
  ASSERT_EQ(middleChannel(), 5);
  remoteKey(10);
  EXPECT_EQ(tuned(), 5) << "nothing typed: the channel in view again";
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  remoteKey(1);
  remoteKey(2);
  ASSERT_EQ(g_pAppController->GetRunState(), 10);
  remoteKey(10);
  EXPECT_EQ(tuned(), 12) << "without waiting for the entry's two seconds";
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  robot.advance(2500);
  EXPECT_EQ(tuned(), 12);
}

TEST_F(TVWindowTest, RemoteKeysReachTheTVWindowOnlyWhileItIsActive) {
  openTV();
  const int first = g_pTunedChannelRecord->ChannelNumber;
  remoteKey(18);
  const int up = g_pTunedChannelRecord->ChannelNumber;
  EXPECT_GT(up, first);
  remoteKey(19);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, first);
  remoteKey(70);  // back to the launcher
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_FALSE(tv().IsActive());
  remoteKey(18);  // the launcher's own mode: not for the TV window
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, first);
}

TEST_F(TVWindowTest, ASnapshotIsWrittenRememberedAndShown) {
  openTV();
  ASSERT_TRUE(untilAPictureShows());
  robot.advance(1000);
  robot.key(VK_F5);
  const auto picture = programFile("Picture\\cap00.bmp");
  ASSERT_TRUE(std::filesystem::exists(picture));
  CPtrArray items;
  ASSERT_TRUE(LoadMediaList(programPath("histroyPicture.lis").c_str(), items));
  EXPECT_EQ(items.GetSize(), 1);
  for (int i = 0; i < items.GetSize(); ++i) delete static_cast<CMediaFileItem*>(items[i]);
  EXPECT_NE(g_pTaskbarNotifier, nullptr);
  EXPECT_EQ(g_pTaskbarNotifier->GetText(), WrapNoticeText(programPath("Picture\\cap00.bmp").c_str()));
}

TEST_F(TVWindowTest, NoticeTextIsWrappedEveryTwentyCharacters) {
  EXPECT_EQ(WrapNoticeText(CString(std::string(45, 'a').c_str())),
            CString((std::string(20, 'a') + "\n" + std::string(20, 'a') + "\n" + std::string(5, 'a')).c_str()));
  EXPECT_EQ(WrapNoticeText("short"), "short");
  EXPECT_EQ(WrapNoticeText(CString(std::string(20, 'b').c_str())), CString((std::string(20, 'b') + "\n").c_str()));
}

TEST_F(TVWindowTest, FullScreenDocksTheBarAlongThePictureAndHidesItAfterThreeSeconds) {
  openTV();
  CControlBarDlg& bar = *tv().GetControlBar();
  robot.key(VK_RETURN);  // Enter with nothing marked: nothing
  robot.press(VK_MENU);
  robot.key(VK_RETURN);
  robot.release(VK_MENU);
  robot.pumpUntilIdle();
  ASSERT_TRUE(tv().IsFullScreen());
  CRect video;
  tv().GetVideoArea()->GetWindowRect(&video);
  EXPECT_EQ(test::Text(video), "0,0,1024,768");
  EXPECT_FALSE(tv().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());
  robot.moveTo(POINT{500, 300});
  robot.advance(100);
  EXPECT_TRUE(bar.IsShown());
  CRect shown;
  bar.GetWindowRect(&shown);
  EXPECT_EQ(shown.bottom, 768);
  EXPECT_GT(shown.Height(), 0);
  robot.advance(3000);
  EXPECT_FALSE(bar.IsShown());
  CRect hidden;
  bar.GetWindowRect(&hidden);
  EXPECT_EQ(hidden.Height(), 0);
  robot.moveTo(POINT{520, 320});
  robot.advance(100);
  EXPECT_TRUE(bar.IsShown());
  robot.key(VK_ESCAPE);
  EXPECT_FALSE(tv().IsFullScreen());
  EXPECT_TRUE(tv().FindSkinButton("RETURN_BUTTON")->IsWindowVisible());
  EXPECT_TRUE(IsWindow(tv().GetSafeHwnd()));
}

// Maximised, the pointer over the window itself (not a button or the picture) wakes the
// bar and arms its hiding; in a restored window a bar that stands shown is left alone, so
// the hiding armed before runs on, and a hidden one is woken.
TEST_F(TVWindowTest, ThePointerWakesTheBarWhereItHidesOrWhenItIsHidden) {
  openTV();
  CControlBarDlg& bar = *tv().GetControlBar();
  const auto onWindow = [&](int x, int y) {
    CRect window;
    tv().GetWindowRect(&window);
    const POINT point{window.left + x, window.top + y};
    EXPECT_EQ(WindowFromPoint(point), tv().GetSafeHwnd()) << "a point of the window's own";
    robot.moveTo(point);
    robot.advance(100);
  };
  onWindow(150, 700);
  ASSERT_TRUE(bar.IsShown());
  onWindow(160, 705);
  EXPECT_TRUE(bar.IsHideTimerArmed()) << "maximised";

  clickButton(tv(), "NORMAL_BUTTON");
  ASSERT_TRUE(bar.IsShown());
  onWindow(100, 500);
  EXPECT_TRUE(bar.IsHideTimerArmed()) << "restored and shown: the move leaves the bar";
  robot.advance(3000);
  EXPECT_FALSE(bar.IsShown()) << "the hiding armed before ran on";
  onWindow(110, 510);
  EXPECT_TRUE(bar.IsShown()) << "restored and hidden: woken";
}

TEST_F(TVWindowTest, ReturnGoesBackToTheLauncherAndTheTVButtonComesBackToTheSamePlace) {
  openTV();
  clickButton(tv(), "NORMAL_BUTTON");  // restored to the shared placement
  CRect restored;
  tv().GetWindowRect(&restored);
  EXPECT_EQ(test::Text(restored), "100,100,900,700");
  clickButton(tv(), "RETURN_BUTTON");
  EXPECT_FALSE(tv().IsWindowVisible());
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
  CRect back;
  launcher->GetWindowRect(&back);
  EXPECT_EQ(test::Text(back), "100,100,900,700");
  clickButton(*launcher, "TV_BUTTON");
  EXPECT_TRUE(tv().IsWindowVisible());
  tv().GetWindowRect(&back);
  EXPECT_EQ(test::Text(back), "100,100,900,700");
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
}

// The free-standing video window goes back to the launcher as it closes: it shows the
// launcher, tells it 205 and then sets the launcher's mode; the TV window deletes it.
TEST_F(TVWindowTest, TheLauncherToldOfTheVideoWindowsCloseHasTheTVWindowDeleteIt) {
  openTV();
  clickButton(tv(), "SINGLE_BUTTON");
  ASSERT_NE(tv().GetFreeVideoWindow(), nullptr);
  ASSERT_EQ(g_pDisplayMode->GetMode(), 205);
  const HWND video = tv().GetFreeVideoWindow()->GetSafeHwnd();
  launcher->ShowWindow(SW_SHOW);
  SendMessageA(launcherWindow(), UM_REFRESH_LAYOUT, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(IsWindow(video)) << "from another window: the video window stays";

  SendMessageA(launcherWindow(), UM_REFRESH_LAYOUT, 205, 0);
  EXPECT_FALSE(IsWindowVisible(video));
  g_pDisplayMode->SetMode(105);
  robot.pumpUntilIdle();
  EXPECT_EQ(tv().GetFreeVideoWindow(), nullptr);
  EXPECT_FALSE(IsWindow(video));
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_NE(launcher->GetTVDlg(), nullptr) << "the TV window stays";
}

TEST_F(TVWindowTest, HelpIsOpenedByHAndF1) {
  openTV();
  robot.key('H');
  robot.key(VK_F1);
  EXPECT_EQ(helpRequests(), (std::vector<std::string>(2, programPath("help\\help.chm") + " 0")));
}

}  // namespace

namespace {

// The overlay's texts, from its call log.
std::vector<std::string> OverlayTexts(plat::Machine& machine) {
  std::vector<std::string> shown;
  for (const auto& entry : plat::EventLog::events(machine).read()) {
    const auto call = entry.text.find(" SetContent(\"");
    if (entry.category == "QXM_OverlayFilter" && call != std::string::npos)
      shown.push_back(entry.text.substr(call + 13, entry.text.rfind('"') - call - 13));
  }
  return shown;
}

TEST_F(TVWindowTest, WhileRecordingTheVolumeDisplayMakesWayForTheStatusAfterSixSeconds) {
  RegisterFilterModule("Filter\\Branchel.ax");
  openTV();
  robot.advance(1000);
  robot.press(VK_CONTROL);
  robot.key('R');
  robot.release(VK_CONTROL);
  robot.advance(1000);
  ASSERT_EQ(g_pAppController->GetRunState(), 3);
  robot.key(VK_F10);
  EXPECT_EQ(OverlayTexts(machine()).back().rfind("Volume", 0), 0u);
  robot.advance(5999);
  const std::size_t before = OverlayTexts(machine()).size();
  robot.advance(1);
  const auto after = OverlayTexts(machine());
  ASSERT_EQ(after.size(), before + 1);
  EXPECT_EQ(after.back(), GetOtherInfo(1));
  robot.advance(6000);
  EXPECT_EQ(OverlayTexts(machine()).size(), before + 1) << "once";
  robot.press(VK_CONTROL);
  robot.key('S');
  robot.release(VK_CONTROL);
  robot.pumpUntilIdle();
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(g_pTaskbarNotifier->GetText(), WrapNoticeText(programPath("Videos\\cap00.mpg").c_str()));
}

}  // namespace

namespace {

// On live TV the marks go round buttons 6, 7, 9 and 10; on an external input between 6
// and 10 only; Enter presses the marked one.
TEST_F(TVWindowTest, KeyNavigationFollowsTheInput) {
  openTV();
  const auto marked = [this] {
    for (int i = 0; i < tv().GetSkinButtonCount(); ++i)
      if (tv().GetSkinButton(i)->GetHover()) return i;
    return -1;
  };
  robot.key(VK_DOWN);
  EXPECT_EQ(marked(), 7);
  robot.key(VK_DOWN);
  EXPECT_EQ(marked(), 9);
  robot.key(VK_DOWN);
  EXPECT_EQ(marked(), 10);
  robot.key(VK_DOWN);
  EXPECT_EQ(marked(), 6);
  robot.key(VK_UP);
  EXPECT_EQ(marked(), 10);
  remoteKey(14);  // Composite
  ASSERT_EQ(g_pAppController->GetRunState(), 11);
  SendMessageA(tv().GetSafeHwnd(), UM_HOVER_HINT, 0, 0);
  robot.key(VK_DOWN);
  EXPECT_EQ(marked(), 10);
  robot.key(VK_DOWN);
  EXPECT_EQ(marked(), 6);
  robot.key(VK_UP);
  EXPECT_EQ(marked(), 10);
  remoteKey(24);  // back to the tuner
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  // Index 5 is full screen: Enter on a mark there toggles it.
  SendMessageA(tv().GetSafeHwnd(), UM_HOVER_HINT, 0, 0);
  tv().GetSkinButton(5)->SetHover(TRUE);
  robot.key(VK_RETURN);
  EXPECT_TRUE(tv().IsFullScreen());
  EXPECT_EQ(marked(), -1);
}

}  // namespace

namespace {

// Without its skin and the bar's, the TV window still opens with the live picture; the
// bar's missing skin is told once.
TEST_F(TVWindowTest, WithoutItsSkinsTheTVWindowStillShowsThePicture) {
  std::filesystem::remove_all(programFile("Skin\\TV"));
  std::filesystem::remove_all(programFile("skins"));
  robot.answerNextMessageBox(IDOK);
  openTV();
  robot.advance(500);
  EXPECT_EQ(tv().GetSkinButtonCount(), 0);
  EXPECT_FALSE(tv().HasBackground());
  EXPECT_TRUE(tv().IsWindowVisible());
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(robot.messageBoxes().size(), 1u);
  const int first = g_pTunedChannelRecord->ChannelNumber;
  robot.key(VK_PRIOR);
  EXPECT_GT(g_pTunedChannelRecord->ChannelNumber, first);
}

}  // namespace
