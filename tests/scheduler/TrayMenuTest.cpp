// The tray menu: the owner-drawn menu a right click on the tray icon opens at the
// pointer, with "Start" as its default item, "Remote Shutdown" checked while it is on and
// "Exit", which removes the icon.
#include "SchedulerTest.h"

#include "scheduler/SchedulerTexts.h"

#include <robot/Screenshot.h>
#include <support/ReadableText.h>
#include <win32/codepage.h>
#include <win32/user.h>

#include <string>

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

// Traditional Chinese in Big5: on the default machine they read as the words they are,
// ideographs only, not as other characters or failed conversions; so does the program's
// own box for a second start.
bool ReadsAsChineseWords(const std::string& ansi) {
  wchar_t wide[64] = {};
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 64);
  if (length <= 1 || !test::Unreadable(ansi).empty()) return false;
  for (int i = 0; i + 1 < length; ++i) {
    const bool ideograph = wide[i] >= 0x4E00 && wide[i] <= 0x9FFF;
    if (!ideograph && wide[i] != L' ' && wide[i] != L'!') return false;
  }
  return true;
}

TEST_F(TrayMenuTest, OnTheDefaultMachineTheMenuAndTheBoxReadAsTheirChineseWords) {
  open();
  rightClickIcon([](plat::Robot& user, HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char item[64] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), item, sizeof item, MF_BYPOSITION);
      EXPECT_TRUE(ReadsAsChineseWords(item)) << "item " << i << ": \"" << item << "\"";
    }
    plat::Screenshot::saveScreen(std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "tray_menu_default_machine.png");
    user.key(VK_ESCAPE);
  });
  EXPECT_TRUE(ReadsAsChineseWords(SchedulerTexts::Lookup(SchedulerTexts::kAlreadyRunning)));
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
