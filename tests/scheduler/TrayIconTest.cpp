// The tray icon, the scheduler program's only face: shown with its tip at start, added
// again when the shell restarts, removed by "Exit" (for good) and when the program ends;
// a double click starts the main program. The dialog itself is never seen.
#include "SchedulerTest.h"

#include <win32/user.h>

namespace {

using test::SchedulerTest;

class TrayIconTest : public SchedulerTest {};

TEST_F(TrayIconTest, TheIconIsShownWithItsTipAndCallbackAndTheDialogStaysHidden) {
  open();
  const auto icons = robot.trayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].tip, "Calvendor");
  EXPECT_EQ(icons[0].id, CSchedulerDlg::kTrayIconId);
  EXPECT_EQ(icons[0].callbackMessage, 1124u);
  EXPECT_NE(icons[0].icon, 0u);
  EXPECT_EQ(icons[0].window, reinterpret_cast<std::uintptr_t>(dlg->GetSafeHwnd()));
  EXPECT_FALSE(IsWindowVisible(dlg->GetSafeHwnd()));
  EXPECT_EQ(FindWindowA("#32770", "TALVIK Norlet Schedule"), dlg->GetSafeHwnd());

  close();
  EXPECT_TRUE(robot.trayIcons().empty());
}

TEST_F(TrayIconTest, TheIconComesBackWhenTheShellRestartsUnlessExitRemovedIt) {
  open();
  robot.restartShell();
  ASSERT_EQ(robot.trayIcons().size(), 1u);
  EXPECT_EQ(robot.trayIcons()[0].tip, "Calvendor");

  dlg->SendMessage(WM_COMMAND, CSchedulerDlg::ID_TRAY_EXIT, 0);
  EXPECT_TRUE(robot.trayIcons().empty());
  EXPECT_TRUE(IsWindow(dlg->GetSafeHwnd()));  // the program runs on without it
  robot.restartShell();
  EXPECT_TRUE(robot.trayIcons().empty());
}

TEST_F(TrayIconTest, ADoubleClickStartsTheMainProgramAndOtherIdsAreIgnored) {
  open();
  const auto icon = robot.trayIcons().at(0);
  ASSERT_TRUE(robot.clickTrayIcon(icon, WM_LBUTTONDBLCLK));
  EXPECT_EQ(programStarts("win-exec"), (std::vector<std::string>{programPath("Orvane Media.exe")}));
  // Started without asking whether it runs.
  openMainStandIn();
  robot.clickTrayIcon(icon, WM_LBUTTONDBLCLK);
  EXPECT_EQ(programStarts("win-exec").size(), 2u);
  EXPECT_EQ(dlg->TrayIcon().OnTrayNotification(7, WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(dlg->TrayIcon().OnTrayNotification(CSchedulerDlg::kTrayIconId, WM_MOUSEMOVE), 0);
}

// A tip of 64 bytes or more fills the field with 63 and its terminator.
TEST_F(TrayIconTest, ALongTipIsCutToFitItsField) {
  open();
  const std::string tip(70, 'x');
  dlg->TrayIcon().UpdateIcon(reinterpret_cast<HICON>(dlg->TrayIcon().Data().hIcon), tip.c_str());
  EXPECT_EQ(robot.trayIcons().at(0).tip, std::string(63, 'x'));
}

}  // namespace
