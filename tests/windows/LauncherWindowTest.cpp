// The skinned launcher: full screen from its skin, its buttons and keys, remote keys by
// display mode, the timers it owns and the power requests it makes.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <machine/EventLog.h>
#include <robot/Screenshot.h>
#include <win32/shell/power.h>

#include <fstream>

namespace {

class LauncherWindowTest : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }
  int hovered() const {
    for (int i = 0; i < launcher->GetSkinButtonCount(); ++i)
      if (launcher->GetSkinButton(i)->GetHover()) return i;
    return -1;
  }
  // The launcher with the animation player of the program's "Filter" folder at
  // (480, 160)-(960, 624) of its skin; the player's window.
  HWND openLauncherWithAnimationPlayer() {
    std::filesystem::create_directories(programFile("Filter"));
    std::filesystem::copy_file(test::TestMachine::builtProgramFolder() / "Filter" / "swflash.ocx",
                               programFile("Filter\\swflash.ocx"));
    std::ofstream(programFile("Skin\\Normal\\skin.ini"), std::ios::app)
        << "[Main-NewSkinStatic]\nbmp=tv.swf,film.swf,pic.swf,video.swf,web.swf,set.swf,480,160,960,624,16,23,31\n";
    openLauncher();
    return GetDlgItem(launcherWindow(), 1023);
  }
};

TEST_F(LauncherWindowTest, OpensFullScreenWithItsSkinButtonsAtTheirDesignPlaces) {
  openLauncher();
  CRect window;
  launcher->GetWindowRect(&window);
  EXPECT_EQ(test::Text(window), "0,0,1024,768");
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_isMaximized, 1);
  ASSERT_EQ(launcher->GetSkinButtonCount(), 10);
  CSkinButton* tv = launcher->FindSkinButton("TV_BUTTON");
  ASSERT_NE(tv, nullptr);
  CRect rc;
  tv->GetWindowRect(&rc);
  EXPECT_EQ(test::Text(rc), "64,160,416,224");
  EXPECT_EQ(tv->GetCommandId(), 5004);
  // The first restore gives 800/1024 x 600/768 of the screen, centred.
  ASSERT_NE(g_sharedPlacement, nullptr);
  EXPECT_EQ(test::Text(g_sharedPlacement->rcNormalPosition), "100,100,900,700");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
}

TEST_F(LauncherWindowTest, MaxButtonRestoresToTheSharedPlacementAndBack) {
  openLauncher();
  clickButton(*launcher, "MAX_BUTTON");
  CRect window;
  launcher->GetWindowRect(&window);
  EXPECT_EQ(test::Text(window), "100,100,900,700");
  EXPECT_EQ(g_isMaximized, 0);
  // Restored, the fifth button on is laid out in 800 x 600 units of the 800 x 600 client.
  CRect tv;
  launcher->FindSkinButton("TV_BUTTON")->GetWindowRect(&tv);
  launcher->ScreenToClient(&tv);
  EXPECT_EQ(test::Text(tv), "50,125,325,175");
  clickButton(*launcher, "MAX_BUTTON");
  launcher->GetWindowRect(&window);
  EXPECT_EQ(test::Text(window), "0,0,1024,768");
}

TEST_F(LauncherWindowTest, CtrlTOpensTheTVWindowAndTAloneDoesNothing) {
  openLauncher();
  robot.key('T');
  EXPECT_EQ(launcher->GetTVDlg(), nullptr);
  robot.press(VK_CONTROL);
  robot.key('T');
  robot.release(VK_CONTROL);
  robot.pumpUntilIdle();
  ASSERT_NE(launcher->GetTVDlg(), nullptr);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_TRUE(launcher->GetTVDlg()->IsWindowVisible());
  EXPECT_EQ(FindWindowA("#32770", "Orvane Media_TVDlg"), launcher->GetTVDlg()->GetSafeHwnd());
}

TEST_F(LauncherWindowTest, RemoteNavigationWrapsAmongTheNavigableButtonsAndKey21PressesTheMarkedOne) {
  openLauncher();
  remoteKey(21);  // nothing marked: nothing pressed
  EXPECT_EQ(launcher->GetTVDlg(), nullptr);
  remoteKey(68);
  EXPECT_EQ(hovered(), 4);
  remoteKey(31);  // from index 4 back to the last
  EXPECT_EQ(hovered(), 9);
  remoteKey(68);  // from the last on to index 4
  EXPECT_EQ(hovered(), 4);
  remoteKey(55);  // no meaning in the launcher
  EXPECT_EQ(hovered(), 4);
  remoteKey(21);
  ASSERT_NE(launcher->GetTVDlg(), nullptr);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
}

TEST_F(LauncherWindowTest, ADoubleClickInTheCaptionStripRestoresAndSwallowsTheNextButtonAction) {
  openLauncher();
  robot.doubleClick(POINT{600, 30});
  robot.pumpUntilIdle();
  EXPECT_EQ(g_isMaximized, 0);
  clickButton(*launcher, "TV_BUTTON");
  EXPECT_EQ(launcher->GetTVDlg(), nullptr);
  clickButton(*launcher, "TV_BUTTON");
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
}

TEST_F(LauncherWindowTest, ADoubleClickBelowTheCaptionStripOnlyArmsTheGuard) {
  openLauncher();
  robot.doubleClick(POINT{600, 700});
  robot.pumpUntilIdle();
  EXPECT_EQ(g_isMaximized, 1);
}

TEST_F(LauncherWindowTest, RemoteKey20ClosesTheProgramWhateverItsFlagSays) {
  openLauncher();
  remoteKey(20, 1);
  EXPECT_FALSE(launcher->IsWindowVisible());  // the dialog ended
  EXPECT_TRUE(powerLog().empty());
}

TEST_F(LauncherWindowTest, ASuspendQueryIsRefused) {
  openLauncher();
  EXPECT_EQ(SendMessageA(launcherWindow(), WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), BROADCAST_QUERY_DENY);
  EXPECT_EQ(SendMessageA(launcherWindow(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0), 0);
}

TEST_F(LauncherWindowTest, KeepsTheComputerAwakeEveryThirtySeconds) {
  openLauncher();
  robot.advance(29999);
  EXPECT_TRUE(powerLog().empty());
  robot.advance(1);
  EXPECT_EQ(powerLog(), (std::vector<std::string>{"execution-state 0x00000003"}));
  robot.advance(30000);
  EXPECT_EQ(powerLog().size(), 2u);
}

TEST_F(LauncherWindowTest, TimerThreeShutsTheComputerDownAfterSavingTheFiles) {
  openLauncher();
  std::filesystem::remove(linuxPath(programPath("ZRQData.dat")));
  launcher->SetTimer(3, 10000, nullptr);
  robot.advance(10000);
  EXPECT_EQ(g_pAppController, nullptr);
  EXPECT_TRUE(exists(programPath("ZRQData.dat")));
  EXPECT_EQ(powerLog(), (std::vector<std::string>{"shutdown flags 13, power off, forced"}));
  robot.advance(10000);  // once
  EXPECT_EQ(powerLog().size(), 1u);
}

TEST_F(LauncherWindowTest, TimerFourStandsTheComputerBy) {
  openLauncher();
  launcher->SetTimer(4, 10000, nullptr);
  robot.advance(10000);
  EXPECT_EQ(powerLog(), (std::vector<std::string>{"power-request suspend, forced", "standby suspended"}));
  EXPECT_NE(g_pAppController, nullptr);
}

TEST_F(LauncherWindowTest, WithoutItsSkinFolderTheLauncherStillOpensAndTakesKeys) {
  std::filesystem::remove_all(programFile("Skin"));
  openLauncher();
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(launcher->GetSkinButtonCount(), 0);
  remoteKey(68);
  robot.press(VK_CONTROL);
  robot.key('T');
  robot.release(VK_CONTROL);
  robot.pumpUntilIdle();
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
}

TEST_F(LauncherWindowTest, MissingPicturesLeaveWorkingButtonsAndLongValuesAreCut) {
  std::filesystem::remove(programFile("Skin\\Normal\\TV_BUTTON.bmp"));
  std::filesystem::remove(programFile("Skin\\Normal\\bk_max.bmp"));
  const std::string longName(2000, 'X');
  writeIni("Skin\\Normal\\skin.ini", "[Main-SystemButtons]\n1=" + longName + "," + longName + ".bmp,0,0,10,10," + longName +
                                         "\n2=TV_BUTTON,TV_BUTTON.bmp,64,160,416,224,0\n");
  openLauncher();
  EXPECT_FALSE(launcher->HasBackground());
  ASSERT_EQ(launcher->GetSkinButtonCount(), 2);
  EXPECT_EQ(launcher->GetSkinButton(0)->GetName().GetLength(), 2000);
  clickButton(*launcher, "TV_BUTTON");
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
}

}  // namespace

namespace {

// Only the clip player's frame captures are the program's; other "Cap" pictures stay.
TEST_F(LauncherWindowTest, ClosingDeletesOnlyTheProgramsOwnFrameCaptures) {
  const auto temp = testMachine.root() / "C" / "Temp";
  std::filesystem::create_directories(temp / "cap7_8.bmp.d");
  for (const char* name : {"cap12_340.bmp", "Cap1_2.BMP", "Capture.bmp", "cap1_x.bmp", "cap3_4.bmp.txt"})
    std::ofstream(temp / name) << "x";
  openLauncher();
  closeLauncher();
  EXPECT_FALSE(std::filesystem::exists(temp / "cap12_340.bmp"));
  EXPECT_FALSE(std::filesystem::exists(temp / "Cap1_2.BMP"));
  EXPECT_TRUE(std::filesystem::exists(temp / "Capture.bmp"));
  EXPECT_TRUE(std::filesystem::exists(temp / "cap1_x.bmp"));
  EXPECT_TRUE(std::filesystem::exists(temp / "cap3_4.bmp.txt"));
}

TEST_F(LauncherWindowTest, RemoteKeysForWindowsNotOpenAreDropped) {
  openLauncher();
  for (int mode : {115, 120, 135, 145, 155, 165, 175, 185, 195}) {
    g_pDisplayMode->SetMode(mode);
    remoteKey(21);
    remoteKey(68);
  }
  g_pDisplayMode->SetMode(105);
  EXPECT_EQ(hovered(), -1);
  EXPECT_EQ(launcher->GetTVDlg(), nullptr);
}

TEST_F(LauncherWindowTest, ARemovedDeviceStopsWhatPlaysAndTheTVButtonComesBackWithIt) {
  openTV();
  robot.advance(500);
  ASSERT_EQ(g_pAppController->GetRunState(), 2);
  robot.plugTvStick(false);
  robot.advance(500);
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
  CSkinButton* tvButton = launcher->FindSkinButton("TV_BUTTON");
  tvButton->SetDisabled(TRUE);
  robot.plugTvStick(true);
  robot.advance(500);
  SendMessageA(launcherWindow(), UM_DEVICES_CHANGED, 0, 0);
  EXPECT_TRUE(tvButton->IsEnabled());
}

}  // namespace

namespace {

// The animation player of the program's "Filter" folder, hosted where the skin says, with
// the movie of the button under the mouse.
TEST_F(LauncherWindowTest, TheAnimationPlayerShowsTheHoveredButtonsMovie) {
  const HWND player = openLauncherWithAnimationPlayer();
  ASSERT_NE(player, nullptr);
  CRect rc;
  GetWindowRect(player, &rc);
  EXPECT_EQ(test::Text(rc), "480,160,960,624");
  const auto calls = [this] {
    std::vector<std::string> out;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.category == "AnimationPlayer") out.push_back(entry.text);
    return out;
  };
  const std::string folder = programPath("Skin\\Normal\\");
  EXPECT_EQ(calls(), (std::vector<std::string>{"Stop", "LoadMovie " + folder + "tv.swf", "Play"}));
  EXPECT_EQ(plat::Screenshot::windowPixel(player, 5, 5), RGB(16, 23, 31));
  SendMessageA(launcherWindow(), UM_HOVER_HINT, 5006, 0);
  EXPECT_EQ(calls().at(4), "LoadMovie " + folder + "pic.swf");
  SendMessageA(launcherWindow(), UM_HOVER_HINT, 5008, 0);
  EXPECT_EQ(calls().at(7), "LoadMovie " + folder + "set.swf");
  // The web button's movie: the maker's address holds "talvik".
  SendMessageA(launcherWindow(), UM_HOVER_HINT, 5009, 0);
  EXPECT_EQ(calls().at(10), "LoadMovie " + folder + "web.swf");
  const std::size_t before = calls().size();
  SendMessageA(launcherWindow(), UM_HOVER_HINT, 5003, 0);
  EXPECT_EQ(calls().size(), before);
  clickButton(*launcher, "MAX_BUTTON");
  GetWindowRect(player, &rc);
  EXPECT_EQ(test::Text(rc), "475,225,850,587") << "laid out in the restored window";
}

}  // namespace

namespace {

// The launcher shown again by message takes the remote keys again: its display mode
// comes back with it.
TEST_F(LauncherWindowTest, ShowMainWith110ClosesTheTVWindowAndTheLauncherTakesTheKeys) {
  openTV();
  SendMessageA(launcherWindow(), UM_SHOW_MAIN, 110, 0);
  robot.pumpUntilIdle();
  EXPECT_EQ(launcher->GetTVDlg(), nullptr);
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  remoteKey(68);
  EXPECT_EQ(hovered(), 4);
}

}  // namespace

namespace {

// The messages the animation player's window gets, in order.
std::vector<UINT> g_playerMessages;
WNDPROC g_playerProc = nullptr;

LRESULT CALLBACK RecordingPlayerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT || message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_RBUTTONUP)
    g_playerMessages.push_back(message);
  return CallWindowProcA(g_playerProc, hwnd, message, wParam, lParam);
}

class AnimationPlayerHostTest : public LauncherWindowTest {};

// The player's own menu never opens on the launcher: a right press never reaches it. A
// left press does, once the player has been repainted.
TEST_F(AnimationPlayerHostTest, TheLauncherKeepsRightPressesFromThePlayerAndRepaintsItBeforeALeftOne) {
  const HWND player = openLauncherWithAnimationPlayer();
  ASSERT_NE(player, nullptr);
  g_playerMessages.clear();
  g_playerProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(player, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingPlayerProc)));
  robot.pumpUntilIdle();
  g_playerMessages.clear();

  robot.rightClick(POINT{700, 400});
  robot.pumpUntilIdle();
  EXPECT_EQ(g_playerMessages, std::vector<UINT>{WM_RBUTTONUP});
  g_playerMessages.clear();
  robot.click(POINT{700, 400});
  robot.pumpUntilIdle();
  ASSERT_EQ(g_playerMessages.size(), 2u);
  EXPECT_EQ(g_playerMessages[0], static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(g_playerMessages[1], static_cast<UINT>(WM_LBUTTONDOWN));
  SetWindowLongPtrA(player, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_playerProc));
}

}  // namespace
