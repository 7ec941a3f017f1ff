// The channel window as the TV window's channel button opens it: in the TV window's place,
// its controls where the skin and the window put them in both layouts, the live picture
// in its small video area, its labels, its buttons by run state, its keys, and the ways
// back to the TV window and the launcher and out of the program.
#include "windows/ChannelWindowTest.h"

#include "core/CDisplayMode.h"
#include "core/data/CAppSettings.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinComboBox.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStatic.h"
#include "skin/CVideoStaticEx.h"
#include "skin/SkinValues.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <machine/VideoSurfaces.h>
#include <robot/Screenshot.h>

namespace {

class ChannelWindowLayoutTest : public test::ChannelWindowTest {
 protected:
  CTVDlg& tv() { return *launcher->GetTVDlg(); }
  std::string rectOf(HWND hwnd) {
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    return test::Text(rect);
  }
  std::string rectOf(CWnd* wnd) { return rectOf(wnd->GetSafeHwnd()); }
  // The channel window is gone once the message that closed it is over.
  bool channelWindowGone() {
    robot.pumpUntilIdle();
    return g_pChannelDlg == nullptr && robot.findWindow("#32770", "Orvane Media_ChannelDlg") == nullptr;
  }
  std::size_t pictures(HWND owner) { return machine().service<plat::VideoSurfaces>().ownedBy(owner).size(); }
  // The launcher, the program's main window, told to close: the program ends.
  bool programEnded() {
    robot.pumpUntilIdle();
    return s_closes > 0;
  }
  void SetUp() override {
    openChannels();
    s_closes = 0;
    s_launcherProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(launcherWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountCloses)));
  }
  static LRESULT CALLBACK CountCloses(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) ++s_closes;
    return CallWindowProcA(s_launcherProc, hwnd, message, wParam, lParam);
  }
  static inline int s_closes = 0;
  static inline WNDPROC s_launcherProc = nullptr;
  // A run state as the controller reports it: posted to the launcher, which passes it on.
  void runState(int state) {
    PostMessageA(launcherWindow(), UM_RUNSTATE_CHANGED, static_cast<WPARAM>(state), 0);
    robot.pumpUntilIdle();
  }
  std::vector<std::string> enabledButtons() {
    std::vector<std::string> names;
    for (int i = 0; i < channels().GetSkinButtonCount(); ++i)
      if (channels().GetSkinButton(i)->IsEnabled()) names.emplace_back(channels().GetSkinButton(i)->GetName());
    return names;
  }
};

TEST_F(ChannelWindowLayoutTest, OpensInTheTVWindowsPlaceWithTheLivePictureInItsVideoArea) {
  EXPECT_EQ(g_pDisplayMode->GetMode(), 125);
  EXPECT_FALSE(tv().IsWindowVisible());
  EXPECT_FALSE(tv().IsActive());
  ASSERT_TRUE(channels().IsWindowVisible());
  EXPECT_EQ(robot.findWindow("#32770", "Orvane Media_ChannelDlg"), channels().GetSafeHwnd());
  EXPECT_EQ(GetParent(channels().GetSafeHwnd()), tv().GetSafeHwnd()) << "owned by the TV window";
  EXPECT_EQ(rectOf(&channels()), "0,0,1024,768");
  EXPECT_EQ(rectOf(channels().GetChannelList()), "148,132,831,457");
  EXPECT_EQ(rectOf(channels().GetVideoArea()), "18,548,317,752");
  EXPECT_EQ(rectOf(channels().GetFineTuneSlider()), "480,667,930,679");
  EXPECT_EQ(rectOf(channels().GetProgressSlider()), "480,630,930,642");
  EXPECT_EQ(channels().GetChannelList()->GetColumnWidth(4), 127);
  EXPECT_FALSE(channels().GetVideoArea()->IsFullScreenAllowed());
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  // The picture runs on in the window's own video area.
  EXPECT_EQ(pictures(channels().GetVideoArea()->GetSafeHwnd()), 1u);
  EXPECT_EQ(pictures(tv().GetVideoArea()->GetSafeHwnd()), 0u);
}

TEST_F(ChannelWindowLayoutTest, ButtonsLabelsRadiosAndTheCountryBoxComeFromTheSkin) {
  ASSERT_EQ(channels().GetSkinButtonCount(), 19);
  for (int i = 0; i < 19; ++i) EXPECT_EQ(channels().GetSkinButton(i)->GetCommandId(), 5800 + i);
  EXPECT_EQ(label("Country_Static"), "United States");
  EXPECT_EQ(label("CountryCode_Static"), "1");
  EXPECT_EQ(label("Source_Static"), "Cable");
  EXPECT_EQ(label("Produce_Static"), "0");
  EXPECT_EQ(label("Slider_Static"), "0");
  EXPECT_EQ(GetDlgCtrlID(channels().FindLabel("Country_Static")->GetSafeHwnd()), 5700);
  EXPECT_EQ(GetDlgCtrlID(channels().FindLabel("Slider_Static")->GetSafeHwnd()), 5704);
  // Region mode, as a fresh machine starts: the country's name shown, its box hidden.
  EXPECT_TRUE(channels().GetRegionRadio()->GetCheck());
  EXPECT_FALSE(channels().GetListRadio()->GetCheck());
  EXPECT_EQ(rectOf(channels().GetRegionRadio()), "148,90,268,122");
  EXPECT_EQ(rectOf(channels().GetListRadio()), "276,90,396,122");
  EXPECT_FALSE(enabled("CountryLeft_Button"));
  EXPECT_FALSE(enabled("CountryRight_Button"));
  CSkinComboBox& combo = *channels().GetCountryCombo();
  EXPECT_FALSE(combo.IsWindowVisible());
  EXPECT_TRUE(channels().FindLabel("Country_Static")->IsWindowVisible());
  CRect box;
  combo.GetWindowRect(&box);
  EXPECT_EQ(box.TopLeft(), CPoint(448, 91)) << "over the country label, widened";
  EXPECT_EQ(box.right, 644);
  EXPECT_EQ(combo.GetItemHeight(-1), 26);
  CStringArray names;
  g_pAppController->CopyCountryNames(names);
  ASSERT_EQ(combo.GetCount(), names.GetSize());
  CString chosen;
  combo.GetItemText(combo.GetCurSel(), chosen);
  EXPECT_EQ(chosen, "United States");
  EXPECT_EQ(channels().GetFineTuneSlider()->GetMin(), -16);
  EXPECT_EQ(channels().GetFineTuneSlider()->GetMax(), 16);
  EXPECT_EQ(channels().GetProgressSlider()->GetMax(), 100);
}

TEST_F(ChannelWindowLayoutTest, RestoredTheFirstElevenButtonsKeepTheFullScreenRule) {
  press("NORMAL_BUTTON");
  ASSERT_EQ(g_isMaximized, 0);
  CRect client;
  channels().GetClientRect(&client);
  ASSERT_LT(client.Width(), 1024);
  const int w = client.Width(), h = client.Height();
  auto place = [&](int index) {
    CRect rect;
    channels().GetSkinButton(index)->GetWindowRect(&rect);
    channels().ScreenToClient(&rect);
    return test::Text(rect);
  };
  RECT design{};
  channels().GetSkinButton(10)->GetSkinRect(design);  // UP_BUTTON, key 11
  EXPECT_EQ(place(10), test::Text(ScaleDesignRect(design, w, h)));
  channels().GetSkinButton(11)->GetSkinRect(design);  // DOWN_BUTTON, key 12: the 800 x 600 space
  EXPECT_EQ(place(11), test::Text(CRect(design.left * w / 800, design.top * h / 600, design.right * w / 800,
                                        design.bottom * h / 600)));
  // The radios at their scaled corner, in their own pixel size.
  CRect radio;
  channels().GetRegionRadio()->GetWindowRect(&radio);
  channels().ScreenToClient(&radio);
  EXPECT_EQ(test::Text(radio), test::Text(CRect(148 * w / 1024, 90 * h / 768, 148 * w / 1024 + 120, 90 * h / 768 + 32)));
  CRect list;
  channels().GetChannelList()->GetWindowRect(&list);
  channels().ScreenToClient(&list);
  EXPECT_EQ(test::Text(list), test::Text(ScaleDesignRect(RECT{148, 132, 831, 457}, w, h)));
  EXPECT_EQ(channels().GetCountryCombo()->GetItemHeight(-1), 768 * 21 / 768);
  press("NORMAL_BUTTON");
  EXPECT_EQ(g_isMaximized, 1);
  EXPECT_EQ(rectOf(&channels()), "0,0,1024,768");
}

TEST_F(ChannelWindowLayoutTest, ReturnBringsTheTVWindowBackWhichClosesTheChannelWindow) {
  press("RETURN_BUTTON");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_TRUE(tv().IsWindowVisible());
  EXPECT_TRUE(tv().IsActive());
  EXPECT_TRUE(channelWindowGone());
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(pictures(tv().GetVideoArea()->GetSafeHwnd()), 1u) << "the picture went back to the TV window";

  // Backspace, with the window in front, and remote key 70 do the same.
  clickButton(tv(), "CHANNEL_BUTTON");
  ASSERT_NE(g_pChannelDlg, nullptr);
  channels().SetFocus();
  robot.key(VK_BACK);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_TRUE(channelWindowGone());
  clickButton(tv(), "CHANNEL_BUTTON");
  ASSERT_NE(g_pChannelDlg, nullptr);
  remoteKey(70);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_TRUE(channelWindowGone());
}

TEST_F(ChannelWindowLayoutTest, HomeGoesToTheLauncherAndStopsThePicture) {
  press("MAIN_BUTTON");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_FALSE(tv().IsWindowVisible());
  EXPECT_TRUE(channelWindowGone());
  // The launcher's TV button brings the TV window back with its picture.
  clickButton(*launcher, "TV_BUTTON");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
}

TEST_F(ChannelWindowLayoutTest, CloseTearsThePictureDownAndEndsTheProgram) {
  press("CLOSE_BUTTON");
  EXPECT_TRUE(g_pAppController->IsGraphMissing());
  EXPECT_TRUE(programEnded());
  // As the program's end does: the launcher goes, and with it the TV and channel windows.
  closeLauncher();
  EXPECT_EQ(g_pChannelDlg, nullptr);
}

TEST_F(ChannelWindowLayoutTest, RemoteKeyTwentyClosesWhateverItsFlagSays) {
  remoteKey(20, 1);
  EXPECT_TRUE(programEnded());
  EXPECT_TRUE(powerLog().empty()) << "a key any program may send does not shut the computer down";
}

TEST_F(ChannelWindowLayoutTest, HelpMinimiseAndTheKeysThatDoNothing) {
  press("HELP_BUTTON");
  channels().SetFocus();
  robot.key('H');
  robot.key(VK_F1);
  EXPECT_EQ(helpRequests().size(), 3u);
  robot.key(VK_ESCAPE);
  robot.key(VK_RETURN);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 125);
  EXPECT_TRUE(channels().IsWindowVisible());
  press("MINISIZE_BUTTON");
  EXPECT_TRUE(launcher->IsIconic());
}

TEST_F(ChannelWindowLayoutTest, ButtonsFollowTheRunStateTheTVWindowPassesOn) {
  runState(11);
  EXPECT_EQ(enabledButtons(),
            (std::vector<std::string>{"HELP_BUTTON", "MINISIZE_BUTTON", "NORMAL_BUTTON", "CLOSE_BUTTON", "RETURN_BUTTON"}));
  EXPECT_TRUE(tv().FindSkinButton("CHANNEL_BUTTON")->IsEnabled()) << "the TV window only passes it on";
  runState(2);
  EXPECT_EQ(enabledButtons().size(), 19u);
  runState(13);
  EXPECT_EQ(enabledButtons().size(), 5u);
  runState(4);  // no change
  EXPECT_EQ(enabledButtons().size(), 5u);
  // A disabled button does nothing, from a key or the remote either.
  channels().SetFocus();
  robot.key(VK_BACK);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110) << "Back stays enabled on an external input";
}

TEST_F(ChannelWindowLayoutTest, WhileScanningTheCloseCommandOfTheSystemIsDropped) {
  runState(6);
  EXPECT_EQ(enabledButtons(),
            (std::vector<std::string>{"HELP_BUTTON", "MINISIZE_BUTTON", "NORMAL_BUTTON", "AUTOSCAN_BUTTON"}));
  EXPECT_FALSE(channels().GetRegionRadio()->IsWindowEnabled());
  EXPECT_FALSE(channels().GetListRadio()->IsWindowEnabled());
  channels().SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  robot.pumpUntilIdle();
  EXPECT_FALSE(programEnded());
  remoteKey(70);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 125) << "Back is disabled while scanning";
  runState(2);
  channels().SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(programEnded());
}

// The window as a user sees it after a scan, one name renamed longer than its column, for
// a person to look at: build folder, tests/screenshots/channel_window.png, and with the
// countries' box open, channel_window_countries.png.
TEST_F(ChannelWindowLayoutTest, APictureOfTheWindowAfterAScan) {
  press("LEFT_BUTTON");
  ASSERT_TRUE(scanToEnd());
  // A name longer than its column.
  robot.doubleClick(cell(1, 3));
  ASSERT_TRUE(channels().GetChannelList()->IsEditing());
  SendMessageA(channels().GetChannelList()->GetInPlaceEdit().GetSafeHwnd(), EM_SETSEL, 0, -1);
  robot.type("Northfield Evening News and Weather");
  robot.key(VK_RETURN);
  selectRow(2);
  channels().PostMessage(UM_SLIDER_SET, CChannelSkinDlg::kFineTuneSliderId, 4);
  channels().GetFineTuneSlider()->SetPos(4);
  ASSERT_TRUE(untilAPictureShows());
  robot.advance(500);
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(plat::Screenshot::saveScreen(folder / "channel_window.png"));
  // The live picture in its area, the list's rows where the window put them.
  EXPECT_NE(plat::Screenshot::screenPixel(160, 640), plat::Screenshot::screenPixel(10, 640));
  EXPECT_EQ(rowNumbers().size(), 5u);
  // The countries' box over the country label, dropped over the list.
  robot.click(channels().GetListRadio()->GetSafeHwnd());
  CSkinComboBox& combo = *channels().GetCountryCombo();
  POINT arrow{combo.GetArrowRect().CenterPoint().x, combo.GetArrowRect().CenterPoint().y};
  ClientToScreen(combo.GetSafeHwnd(), &arrow);
  robot.click(arrow);
  ASSERT_TRUE(combo.GetDroppedState());
  ASSERT_TRUE(plat::Screenshot::saveScreen(folder / "channel_window_countries.png"));
  robot.key(VK_ESCAPE);
  EXPECT_FALSE(combo.GetDroppedState());
}

}  // namespace
