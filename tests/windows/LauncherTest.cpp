// The launcher (dialog 102) as the program's main window: opening it starts the
// controller, whose schedule timer 500 then runs on it on the manual clock; closing it
// shuts the controller down and the timer with it.
#include "core/CoreTest.h"

#include "core/CDeviceList.h"
#include "core/CDisplayMode.h"
#include "windows/main/CMainDlg.h"

#include <mfc/afxwin.h>
#include <robot/Robot.h>

#include <vector>

namespace {

// The launcher, with the timers it receives written down.
class SpyLauncher : public CMainDlg {
 public:
  std::vector<UINT_PTR> timers;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) { timers.push_back(nIDEvent); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SpyLauncher, CMainDlg)
  ON_WM_TIMER()
END_MESSAGE_MAP()

class LauncherTest : public test::ControllerTest {
 protected:
  CWinApp app;
  plat::Robot robot;
};

TEST_F(LauncherTest, TheScheduleTimerRunsOnTheLauncherFromOpeningToClosing) {
  SpyLauncher launcher;
  app.m_pMainWnd = &launcher;
  ASSERT_TRUE(launcher.Create(CMainDlg::IDD));
  ASSERT_NE(g_pAppController, nullptr);
  EXPECT_NE(g_pAppSettings, nullptr);
  EXPECT_TRUE(exists(programPath("ZRQData.dat")));

  robot.pumpUntilIdle();
  robot.advance(999);
  EXPECT_TRUE(launcher.timers.empty());
  robot.advance(1);
  EXPECT_EQ(launcher.timers, (std::vector<UINT_PTR>{500}));
  robot.advance(3000);
  EXPECT_EQ(launcher.timers.size(), 4u);

  launcher.DestroyWindow();
  app.m_pMainWnd = nullptr;
  EXPECT_EQ(g_pAppController, nullptr);
  EXPECT_EQ(g_pAppSettings, nullptr);
  robot.advance(5000);
  EXPECT_EQ(launcher.timers.size(), 4u);
}

TEST_F(LauncherTest, TheDisplayModeLivesFromOpeningToClosingAndStartsAtTheLauncher) {
  CMainDlg launcher;
  app.m_pMainWnd = &launcher;
  EXPECT_EQ(g_pDisplayMode, nullptr);
  ASSERT_TRUE(launcher.Create(CMainDlg::IDD));
  ASSERT_NE(g_pDisplayMode, nullptr);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 105);
  g_pDisplayMode->SetMode(110);  // as the TV window does when it opens
  launcher.DestroyWindow();
  app.m_pMainWnd = nullptr;
  EXPECT_EQ(g_pDisplayMode, nullptr);
}

TEST_F(LauncherTest, AFailedSaveAtCloseStillStopsTheScheduleTimer) {
  SpyLauncher launcher;
  app.m_pMainWnd = &launcher;
  ASSERT_TRUE(launcher.Create(CMainDlg::IDD));
  std::filesystem::remove(linuxPath(programPath("ZRQData.dat")));
  std::filesystem::create_directories(linuxPath(programPath("ZRQData.dat")));  // cannot be written
  HWND hwnd = launcher.GetSafeHwnd();
  EXPECT_EQ(g_pAppController->Shutdown(), 0);  // as the close does, while the window still exists
  robot.advance(3000);
  EXPECT_TRUE(launcher.timers.empty());
  EXPECT_TRUE(IsWindow(hwnd));
  launcher.DestroyWindow();
  app.m_pMainWnd = nullptr;
}

TEST_F(LauncherTest, DeviceChangesAreToldToTheLauncher) {
  CMainDlg launcher;
  app.m_pMainWnd = &launcher;
  ASSERT_TRUE(launcher.Create(CMainDlg::IDD));
  robot.pumpUntilIdle();
  DeviceChanged = 1;
  g_pAppController->OnNotify(80, 0, 0);
  DeviceChanged = 0;
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, launcher.GetSafeHwnd(), CAppController::UM_DEVICES_CHANGED,
                           CAppController::UM_DEVICES_CHANGED, PM_REMOVE));
  EXPECT_EQ(message.wParam, 1u);
  launcher.DestroyWindow();
  app.m_pMainWnd = nullptr;
}

TEST_F(LauncherTest, TheLauncherOpensEvenWhenStartUpFails) {
  std::filesystem::create_directories(linuxPath(programPath("ZRQData.dat")));  // settings cannot be written
  CMainDlg launcher;
  app.m_pMainWnd = &launcher;
  ASSERT_TRUE(launcher.Create(CMainDlg::IDD));
  EXPECT_TRUE(IsWindowVisible(launcher.GetSafeHwnd()));
  EXPECT_NE(g_pAppController, nullptr);
  launcher.DestroyWindow();
  app.m_pMainWnd = nullptr;
  EXPECT_EQ(g_pAppSettings, nullptr);
}

}  // namespace
