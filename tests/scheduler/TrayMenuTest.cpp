// The tray menu: the owner-drawn menu a right click on the tray icon opens at the
// pointer, with "Start" as its default item, "Remote Shutdown" checked while it is on and
// "Exit", which removes the icon.
#include "SchedulerTest.h"

#include <robot/Screenshot.h>
#include <win32/user.h>

namespace {

using test::SchedulerTest;

class TrayMenuTest : public SchedulerTest {
 protected:
  // Opens the menu with a right click on the icon; `inMenu` runs while it is open.
  void rightClickIcon(std::function<void(plat::Robot&, HMENU)> inMenu) {
    robot.duringModal([inMenu](plat::Robot& user) {
      HWND window = user.openMenu();
      ASSERT_NE(window, nullptr);
      inMenu(user, reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0)));
    });
    ASSERT_TRUE(robot.clickTrayIcon(robot.trayIcons().at(0), WM_RBUTTONUP));
    robot.pumpUntilIdle();
  }
};

TEST_F(TrayMenuTest, TheMenuOpensOwnerDrawnWithStartAsDefaultAndTogglesRemoteShutdown) {
  // The captions are traditional Chinese: the machine the program is made for.
  machine().ini().setValue("Windows", "AnsiCodePage", "950");
  open();
  rightClickIcon([](plat::Robot& user, HMENU menu) {
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(GetMenuItemID(menu, 0), CSchedulerDlg::ID_TRAY_START);
    EXPECT_EQ(GetMenuItemID(menu, 1), CSchedulerDlg::ID_TRAY_REMOTE_SHUTDOWN);
    EXPECT_EQ(GetMenuItemID(menu, 2), CSchedulerDlg::ID_TRAY_EXIT);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(GetMenuState(menu, i, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
    EXPECT_FALSE(GetMenuState(menu, CSchedulerDlg::ID_TRAY_REMOTE_SHUTDOWN, MF_BYCOMMAND) & MF_CHECKED);
    // Near the notification area at the bottom right, inside the screen.
    RECT rect{};
    GetWindowRect(user.openMenu(), &rect);
    EXPECT_GT(rect.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_LE(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    plat::Screenshot::saveScreen(std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "tray_menu.png");
    EXPECT_TRUE(user.chooseMenuCommand(CSchedulerDlg::ID_TRAY_REMOTE_SHUTDOWN));
  });
  EXPECT_TRUE(dlg->RemoteShutdown());

  rightClickIcon([](plat::Robot& user, HMENU menu) {
    EXPECT_TRUE(GetMenuState(menu, CSchedulerDlg::ID_TRAY_REMOTE_SHUTDOWN, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(user.chooseMenuCommand(CSchedulerDlg::ID_TRAY_REMOTE_SHUTDOWN));
  });
  EXPECT_FALSE(dlg->RemoteShutdown());
}

TEST_F(TrayMenuTest, StartOpensTheClosedMainProgramAndExitRemovesTheIcon) {
  open();
  rightClickIcon([](plat::Robot& user, HMENU) { user.chooseMenuCommand(CSchedulerDlg::ID_TRAY_START); });
  EXPECT_EQ(programStarts(), (std::vector<std::string>{programPath("Orvane Media.exe") + " "}));
  openMainStandIn();
  rightClickIcon([](plat::Robot& user, HMENU) { user.chooseMenuCommand(CSchedulerDlg::ID_TRAY_START); });
  EXPECT_EQ(programStarts().size(), 1u);

  rightClickIcon([](plat::Robot& user, HMENU) { user.chooseMenuCommand(CSchedulerDlg::ID_TRAY_EXIT); });
  EXPECT_TRUE(robot.trayIcons().empty());
  EXPECT_TRUE(IsWindow(dlg->GetSafeHwnd()));
}

}  // namespace
