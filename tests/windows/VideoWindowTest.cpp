// The free-standing video window, opened from the TV window as a user opens it and played
// by the robot: the live picture above its bar, its keys and the remote's keys, its menu
// (captions, checks, aspect, always on top, input and standard), the aspect lock while it
// is sized, its full screen with the pointer hiding, numbered snapshots, its bar's buttons
// on the screen after sizes, and the way back.
#include "windows/WindowsTest.h"

#include "core/data/CChannelList.h"
#include "core/CDisplayMode.h"
#include "core/CMediaFileItem.h"
#include "core/MediaListFile.h"
#include "graphs/CCaptureGraph.h"
#include "skin/CTaskbarNotifier.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/CVideoWindow.h"
#include "windows/main/WindowMessages.h"

#include <machine/VideoSurfaces.h>
#include <robot/Screenshot.h>
#include <win32/thread.h>

#include <cstdlib>
#include <string>

namespace {

class VideoWindowTest : public test::WindowsTest {
 protected:
  void SetUp() override {
    writeSkins();
    const auto options = std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy(test::TestMachine::builtProgramFolder() / "Skin" / "SingleTV",
                          testMachine.programFolder() / "Skin" / "SingleTV", options);
  }

  CTVDlg& tv() { return *launcher->GetTVDlg(); }
  CVideoWindow& open() {
    openTV();
    EXPECT_TRUE(untilAPictureShows());
    clickButton(tv(), "SINGLE_BUTTON");
    CVideoWindow* window = tv().GetFreeVideoWindow();
    EXPECT_NE(window, nullptr);
    return *window;
  }
  HWND hwnd() { return tv().GetFreeVideoWindow() ? tv().GetFreeVideoWindow()->GetSafeHwnd() : nullptr; }
  int tuned() const { return g_pTunedChannelRecord->ChannelNumber; }
  void tuneChannelFive() {
    g_pChannelList->SetCurrentChannel(5, GetActiveChannelListIndex());
    g_pAppController->RetuneCurrentChannel();
  }
  // The window the live picture is drawn into, and where.
  HWND liveWindow(RECT* rect = nullptr) {
    HWND owner = nullptr;
    for (const auto& surface : machine().service<plat::VideoSurfaces>().all()) {
      if (!surface->placement().visible) continue;
      owner = surface->placement().owner;
      if (rect) *rect = surface->placement().rect;
    }
    return owner;
  }
  RECT client() {
    RECT rect{};
    GetClientRect(hwnd(), &rect);
    return rect;
  }
  RECT windowRect() {
    RECT rect{};
    GetWindowRect(hwnd(), &rect);
    return rect;
  }
  POINT middle() {
    const RECT r = client();
    POINT point{r.right / 2, (r.bottom - CVideoWindow::kBarHeight) / 2};
    ClientToScreen(hwnd(), &point);
    return point;
  }
  // Opens the context menu with a right click, lets `look` see it, and chooses `id` (0:
  // nothing), from the sub-menu at `position` of the popup when it lies in one.
  void fromMenu(UINT id, int position = -1, const std::function<void(HMENU)>& look = {}) {
    HMENU menu = tv().GetFreeVideoWindow()->GetMenu();
    robot.duringModal([=](plat::Robot& user) {
      if (look) look(menu);
      if (position >= 0) {
        user.moveTo(user.menuItem(position));
      } else if (id) {
        EXPECT_TRUE(user.chooseMenuCommand(id)) << id;
      }
    });
    if (position >= 0) robot.duringModal([=](plat::Robot& user) { EXPECT_TRUE(user.chooseMenuCommand(id)) << id; });
    robot.rightClick(middle());
    robot.pumpUntilIdle();
  }
  static bool checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  static bool grayed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
  std::vector<std::string> pictureHistory() {
    std::vector<std::string> files;
    CPtrArray items;
    if (!LoadMediaList(programPath("histroyPicture.lis").c_str(), items)) return files;
    for (int i = 0; i < items.GetSize(); ++i) {
      auto* item = static_cast<CMediaFileItem*>(items[i]);
      files.emplace_back(item->GetImagePath());
      delete item;
    }
    return files;
  }
};

TEST_F(VideoWindowTest, TheTVWindowOpensItWithThePictureAboveItsBarAndBackspaceGoesBack) {
  CVideoWindow& window = open();
  HWND video = window.GetSafeHwnd();
  EXPECT_EQ(robot.findWindow("Norlet Plus", "Orvane Meida"), video);
  EXPECT_TRUE(IsWindowVisible(video));
  EXPECT_FALSE(tv().IsWindowVisible());
  EXPECT_FALSE(tv().IsActive());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 205);
  EXPECT_EQ(GetFocus(), video);
  EXPECT_EQ(GetWindow(video, GW_OWNER), tv().GetSafeHwnd());
  EXPECT_TRUE(GetWindowLongA(video, GWL_EXSTYLE) & WS_EX_TOPMOST) << "on top, as the settings say";
  const RECT outer = windowRect();
  EXPECT_NEAR((outer.left + outer.right) / 2, 512, 1) << "centred on the screen";
  EXPECT_NEAR((outer.top + outer.bottom) / 2, 384, 1);
  EXPECT_EQ(window.GetSkin().GetButtonCount(), 7);
  RECT picture{};
  EXPECT_EQ(liveWindow(&picture), video);
  EXPECT_EQ(picture.right, client().right);
  EXPECT_EQ(picture.bottom, client().bottom - CVideoWindow::kBarHeight) << "the bar keeps its 28 pixels";

  robot.key(VK_BACK);
  EXPECT_TRUE(tv().IsWindowVisible());
  EXPECT_TRUE(tv().IsActive());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_EQ(tv().GetFreeVideoWindow(), nullptr);
  EXPECT_FALSE(IsWindow(video));
  EXPECT_EQ(liveWindow(), tv().GetVideoArea()->GetSafeHwnd()) << "the TV window has the picture back";
  robot.advance(100);
  EXPECT_TRUE(tv().GetControlBar()->IsWindowVisible()) << "and its bar";

  // A second window works as the first did: its pointer hider is its own.
  CVideoWindow& again = open();
  robot.doubleClick(middle());
  EXPECT_TRUE(again.IsFullScreen());
  robot.moveTo(POINT{300, 300});
  robot.advance(100);
  remoteKey(70);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_EQ(tv().GetFreeVideoWindow(), nullptr);
}

TEST_F(VideoWindowTest, TheFramesReturnAndChannelButtonsAct) {
  CVideoWindow& window = open();
  tuneChannelFive();
  const CSkinWindow& skin = window.GetSkin();
  CSkinButton* up = nullptr;
  CSkinButton* back = nullptr;
  for (int i = 0; i < skin.GetButtonCount(); ++i) {
    if (skin.GetButton(i)->GetName() == "PRE_BUTTON") up = skin.GetButton(i);
    if (skin.GetButton(i)->GetName() == "RETURN_BUTTON") back = skin.GetButton(i);
  }
  ASSERT_TRUE(up && back);
  robot.click(up->GetSafeHwnd());
  EXPECT_EQ(tuned(), 6) << "the bar's \"previous\" is channel up, as everywhere";
  robot.click(back->GetSafeHwnd());
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_TRUE(tv().IsWindowVisible());
  EXPECT_EQ(tv().GetFreeVideoWindow(), nullptr);
}

TEST_F(VideoWindowTest, RemoteKeysComeThroughTheLauncherAndTheTVWindow) {
  open();
  tuneChannelFive();
  remoteKey(18);
  EXPECT_EQ(tuned(), 6);
  remoteKey(19);
  remoteKey(19);
  EXPECT_EQ(tuned(), 4);
  remoteKey(75);
  EXPECT_EQ(tuned(), 4);
  remoteKey(12);
  EXPECT_EQ(g_pAppController->IsMuted(), 1);
  remoteKey(12);
  EXPECT_EQ(g_pAppController->IsMuted(), 0);
  const int volume = CAppController::GetVolume();
  remoteKey(16);
  EXPECT_EQ(CAppController::GetVolume(), volume + 5);
  remoteKey(17);
  EXPECT_EQ(CAppController::GetVolume(), volume);
  remoteKey(1);
  remoteKey(2);
  EXPECT_EQ(g_pAppController->GetRunState(), 10);
  remoteKey(10);
  EXPECT_EQ(tuned(), 12);
  remoteKey(14);
  EXPECT_EQ(g_pAppController->GetRunState(), 11);
  RECT picture{};
  liveWindow(&picture);
  EXPECT_EQ(picture.bottom, client().bottom - CVideoWindow::kSwitchBarHeight);
  remoteKey(24);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  remoteKey(74);
  EXPECT_TRUE(tv().GetFreeVideoWindow()->IsFullScreen());
  remoteKey(74);
  EXPECT_FALSE(tv().GetFreeVideoWindow()->IsFullScreen());
  // Key 20 closes the program, whatever flag comes with it.
  EXPECT_EQ(askedOfMainWindow([&] { remoteKey(20, 1); }), std::vector<WPARAM>{SC_CLOSE});
}

TEST_F(VideoWindowTest, KeysStepChannelsAndSnapshotsAreNumberedAndRemembered) {
  open();
  tuneChannelFive();
  robot.advance(500);
  EXPECT_FALSE(tv().GetControlBar()->IsWindowVisible()) << "the TV window's bar stays hidden";
  EXPECT_EQ(GetFocus(), hwnd());
  robot.key(VK_PRIOR);
  EXPECT_EQ(tuned(), 6);
  robot.key(VK_NEXT);
  EXPECT_EQ(tuned(), 5);
  robot.key('1');
  robot.key('2');
  EXPECT_EQ(g_pAppController->GetRunState(), 9);
  robot.advance(2100);
  EXPECT_EQ(tuned(), 12) << "the TV window's digit timer ended the entry";
  robot.key(VK_F8);
  EXPECT_EQ(g_pAppController->IsMuted(), 1);
  robot.key(VK_F8);
  const int volume = CAppController::GetVolume();
  robot.key(VK_F9);
  EXPECT_EQ(CAppController::GetVolume(), volume - 5);
  robot.key(VK_F10);
  EXPECT_EQ(CAppController::GetVolume(), volume);

  robot.advance(500);
  robot.key(VK_F5);
  ASSERT_TRUE(untilAPictureShows());
  robot.advance(500);
  remoteKey(30);
  EXPECT_TRUE(std::filesystem::exists(programFile("Picture\\cap00.bmp")));
  EXPECT_TRUE(std::filesystem::exists(programFile("Picture\\cap01.bmp")));
  EXPECT_EQ(pictureHistory(), (std::vector<std::string>{programPath("Picture\\cap00.bmp"), programPath("Picture\\cap01.bmp")}));
  ASSERT_NE(g_pTaskbarNotifier, nullptr);
  EXPECT_EQ(g_pTaskbarNotifier->GetText(), WrapNoticeText(programPath("Picture\\cap01.bmp").c_str()));
}

TEST_F(VideoWindowTest, TheMenuShowsTheStateAndSetsAspectTopmostInputAndStandard) {
  open();
  std::string first, input;
  bool tunerChecked = false, freeChecked = false, topmostChecked = false, standardsGrayed = false;
  fromMenu(CVideoWindow::kAspect16x9, 5, [&](HMENU menu) {
    HMENU popup = GetSubMenu(menu, 0);
    char text[64] = {};
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    first = text;
    GetMenuStringA(popup, 4, text, sizeof text, MF_BYPOSITION);
    input = text;
    tunerChecked = checked(menu, CVideoWindow::kInputTuner);
    freeChecked = checked(menu, CVideoWindow::kAspectFree);
    topmostChecked = checked(menu, CVideoWindow::kTopmost);
    standardsGrayed = grayed(menu, 32796);
  });
  EXPECT_EQ(first, "Channel Up");
  EXPECT_EQ(input, "Input");
  EXPECT_TRUE(tunerChecked);
  EXPECT_TRUE(freeChecked);
  EXPECT_TRUE(topmostChecked);
  EXPECT_TRUE(standardsGrayed) << "the standards are for the Composite input";
  EXPECT_EQ(g_pAppSettings->VideoWindowAspect, 1);
  EXPECT_EQ(client().bottom, client().right * 9 / 16);

  fromMenu(CVideoWindow::kTopmost);
  EXPECT_FALSE(GetWindowLongA(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(g_pAppSettings->VideoWindowTopmost, 0);

  fromMenu(CVideoWindow::kInputComposite, 4);
  EXPECT_EQ(g_pAppController->GetRunState(), 11);
  bool channelsGrayed = false;
  fromMenu(32796, 7, [&](HMENU menu) {
    channelsGrayed = grayed(menu, CVideoWindow::kChannelUp) && grayed(menu, CVideoWindow::kRetune);
    standardsGrayed = grayed(menu, 32796);
  });
  EXPECT_TRUE(channelsGrayed) << "no channels on the Composite input";
  EXPECT_FALSE(standardsGrayed);
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 2) << "PAL";

  fromMenu(CVideoWindow::kAspect4x3, 5);
  EXPECT_EQ(client().bottom, client().right * 3 / 4);
  fromMenu(CVideoWindow::kAspectFree, 5);
  EXPECT_EQ(g_pAppSettings->VideoWindowAspect, 3);
  fromMenu(CVideoWindow::kInputTuner, 4);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  fromMenu(CVideoWindow::kChannelUp);
  EXPECT_EQ(askedOfMainWindow([&] {
              SendMessageA(hwnd(), WM_COMMAND, CVideoWindow::kCloseProgram, 0);
              SendMessageA(hwnd(), UM_FRAME_CLOSE, 0, 0);
            }),
            (std::vector<WPARAM>{SC_CLOSE, SC_CLOSE}));
}

TEST_F(VideoWindowTest, DraggingAnEdgeKeepsTheChosenAspect) {
  open();
  g_pAppSettings->VideoWindowAspect = 1;
  SetWindowPos(hwnd(), nullptr, 100, 100, 480, 270, SWP_NOZORDER);
  robot.pumpUntilIdle();
  RECT outer = windowRect();
  ASSERT_EQ(outer.right - outer.left, 480);
  const int y = (outer.top + outer.bottom) / 2;
  robot.drag(POINT{outer.right - 2, y}, POINT{outer.right - 2 + 160, y});
  outer = windowRect();
  EXPECT_EQ(outer.right - outer.left, 640);
  EXPECT_EQ(outer.bottom - outer.top, 360) << "16:9 on the window's rectangle";

  // The other edges and shapes, as the lock computes them.
  RECT r{0, 0, 400, 100};
  CVideoWindow::LockAspect(2, WMSZ_BOTTOMRIGHT, r);
  EXPECT_EQ(r.bottom, 300);
  r = {0, 0, 100, 300};
  CVideoWindow::LockAspect(2, WMSZ_BOTTOM, r);
  EXPECT_EQ(r.right, 400);
  r = {0, 100, 320, 500};
  CVideoWindow::LockAspect(1, WMSZ_TOPLEFT, r);
  EXPECT_EQ(r.top, 500 - 180);
  r = {0, 0, 333, 111};
  CVideoWindow::LockAspect(3, WMSZ_RIGHT, r);
  EXPECT_EQ(r.bottom, 111) << "free keeps any shape";
}

TEST_F(VideoWindowTest, FullScreenCoversTheScreenHidesAStillPointerAndAClickOutStaysOut) {
  CVideoWindow& window = open();
  const RECT before = windowRect();
  robot.doubleClick(middle());
  ASSERT_TRUE(window.IsFullScreen());
  POINT origin{0, 0};
  ClientToScreen(hwnd(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(client().right, 1024);
  EXPECT_EQ(client().bottom, 768);
  RECT picture{};
  liveWindow(&picture);
  EXPECT_EQ(picture.bottom, 768) << "no bar in full screen";

  robot.moveTo(POINT{400, 300});
  robot.advance(1000);
  EXPECT_FALSE(window.GetCursorHider().IsHidden());
  robot.advance(1100);
  EXPECT_TRUE(window.GetCursorHider().IsHidden()) << "still for two seconds";
  robot.moveTo(POINT{420, 320});
  EXPECT_FALSE(window.GetCursorHider().IsHidden());

  robot.doubleClick(POINT{420, 320});
  EXPECT_FALSE(window.IsFullScreen());
  EXPECT_EQ(windowRect().left, before.left);
  EXPECT_EQ(windowRect().bottom, before.bottom);
  SendMessageA(hwnd(), UM_FRAME_MAXIMIZE, 0, 0);
  EXPECT_FALSE(window.IsFullScreen()) << "the double click's own release is no new request";
  SendMessageA(hwnd(), UM_FRAME_MAXIMIZE, 0, 0);
  EXPECT_TRUE(window.IsFullScreen());
  robot.key(VK_ESCAPE);
  EXPECT_FALSE(window.IsFullScreen());
  robot.press(VK_MENU);
  robot.key(VK_RETURN);
  robot.release(VK_MENU);
  robot.pumpUntilIdle();
  EXPECT_TRUE(window.IsFullScreen());
}

TEST_F(VideoWindowTest, ItsBarsButtonsAreDrawnAfterASizeAndAfterFullScreen) {
  CVideoWindow& window = open();
  const CSkinWindow& skin = window.GetSkin();
  ASSERT_GT(skin.GetButtonCount(), 0);
  const auto allDrawn = [&] {
    bool drawn = true;
    for (int i = 0; i < skin.GetButtonCount(); ++i) drawn = showsAsDrawn(skin.GetButton(i)->GetSafeHwnd()) && drawn;
    return drawn;
  };
  EXPECT_TRUE(allDrawn());
  SetWindowPos(hwnd(), nullptr, 100, 100, 640, 420, SWP_NOZORDER);
  EXPECT_TRUE(allDrawn()) << "sized";
  robot.doubleClick(middle());
  ASSERT_TRUE(window.IsFullScreen());
  robot.key(VK_ESCAPE);
  ASSERT_FALSE(window.IsFullScreen());
  EXPECT_TRUE(allDrawn()) << "back from full screen";
}

// Nothing in the program closes it this way yet: the test calls it as the TV window's
// way back would. The launcher may let the window go while it is told, so the window is
// not looked at afterwards.
TEST_F(VideoWindowTest, ClosingTowardsTheTVWindowStopsThePictureAndBringsTheLauncherBack) {
  CVideoWindow& window = open();
  robot.doubleClick(middle());
  ASSERT_TRUE(window.IsFullScreen());
  robot.moveTo(POINT{400, 300});
  robot.advance(2100);
  const auto pointerShown = [] {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING);
  };
  ASSERT_FALSE(pointerShown());
  static std::vector<WPARAM> refreshes;
  static HWND watched;
  refreshes.clear();
  watched = launcherWindow();
  HHOOK hook = SetWindowsHookExA(
      WH_CALLWNDPROC,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent->hwnd == watched && sent->message == UM_REFRESH_LAYOUT) refreshes.push_back(sent->wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
      },
      nullptr, GetCurrentThreadId());
  window.CloseTowardsTV();
  robot.pumpUntilIdle();
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(g_pAppController->IsPreviewing());
  EXPECT_EQ(g_pAppController->GetRunState(), 0) << "idle";
  EXPECT_TRUE(pointerShown()) << "in full screen, the pointer shows again";
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(refreshes, std::vector<WPARAM>{205});
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
}

TEST_F(VideoWindowTest, ClosedItIsOnlyHiddenAndTheTVWindowShowsTheSameOneAgain) {
  open();
  HWND first = hwnd();
  PostMessageA(first, WM_CLOSE, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(IsWindow(first));
  EXPECT_FALSE(IsWindowVisible(first));
  tv().ShowWindow(SW_SHOW);
  robot.pumpUntilIdle();
  clickButton(tv(), "SINGLE_BUTTON");
  EXPECT_EQ(hwnd(), first);
  EXPECT_TRUE(IsWindowVisible(first)) << "not left hidden with nothing on screen";
  EXPECT_EQ(liveWindow(), first);
}

TEST_F(VideoWindowTest, WithoutItsSkinItStillShowsThePictureAndGoesBack) {
  std::filesystem::remove_all(testMachine.programFolder() / "Skin" / "SingleTV");
  CVideoWindow& window = open();
  EXPECT_EQ(window.GetSkin().GetButtonCount(), 0) << "unskinned";
  EXPECT_EQ(window.GetMenu(), nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd()));
  EXPECT_EQ(liveWindow(), hwnd());
  robot.rightClick(middle());  // no menu to show: nothing
  robot.key(VK_BACK);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  EXPECT_EQ(tv().GetFreeVideoWindow(), nullptr);
}

TEST_F(VideoWindowTest, ItLooksLikeTheRestOfTheProduct) {
  useBuiltSkins();
  open();
  // Channel 2 on the first station's carrier, so the picture is a station, not snow.
  const int list = GetActiveChannelListIndex();
  ChannelRecord record{};
  ASSERT_EQ(g_pChannelList->GetChannel(2, list, &record), 1);
  record.Frequency = 55.25f;
  g_pChannelList->UpdateChannel(2, list, &record);
  g_pChannelList->SetCurrentChannel(2, list);
  g_pAppController->RetuneCurrentChannel();
  // A few of the new channel's pictures, the streaming threads settled after each.
  for (int frame = 0; frame < 10; ++frame) robot.advance(40);
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "video_window.png"));
  fromMenu(0, -1, [&](HMENU) { EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "video_window_menu.png")); });
}

}  // namespace
