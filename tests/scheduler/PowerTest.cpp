// Stand-by and shut-down 10 seconds after the main program asks, the wake-up timer armed
// 120 seconds before the next item when the PC suspends, and the display turned on when
// the timer has woken it; all on the simulated PC, whose power.log records each step.
#include "SchedulerTest.h"

#include <machine/PowerState.h>
#include <win32/error.h>
#include <win32/shell.h>
#include <win32/user.h>

#include <algorithm>

namespace {

using test::SchedulerTest;

constexpr int kOnce = 8;
constexpr int kDaily = 7;

class PowerTest : public SchedulerTest {
 protected:
  void command(WPARAM id) {
    dlg->PostMessage(WM_COMMAND, id, 0);
    robot.pumpUntilIdle();
  }
  int count(const std::string& category) {
    const auto categories = powerCategories();
    return static_cast<int>(std::count(categories.begin(), categories.end(), category));
  }
  std::vector<std::string> texts(const std::string& category) {
    std::vector<std::string> found;
    for (const auto& entry : powerLog()) {
      if (entry.category == category) found.push_back(entry.text);
    }
    return found;
  }
};

TEST_F(PowerTest, StandbyComesTenSecondsAfterTheRequestAndSuspendsThePc) {
  writeSchedule({record(localTime(2024, 3, 2, 8, 0), kOnce)});
  open();
  command(CSchedulerDlg::IDC_STANDBY_AFTER_RECORD);
  robot.advance(9999);
  EXPECT_EQ(count("standby"), 0);
  robot.advance(1);
  EXPECT_EQ(count("standby"), 1);
  EXPECT_TRUE(machine().service<plat::PowerState>().isSuspended());
  // The suspend notice reached the dialog before: the PC wakes 120 s before 08:00.
  EXPECT_EQ(texts("wake-timer"), (std::vector<std::string>{"armed for 2024-03-02 07:58:00"}));
  robot.advance(30000);
  EXPECT_EQ(count("standby"), 1);  // fired once
}

TEST_F(PowerTest, ASecondShutdownRequestRestartsTheTenSecondsAndThePcGoesOffOnce) {
  open();
  const HWND main = openMainStandIn();
  command(CSchedulerDlg::IDC_SHUTDOWN_AFTER_RECORD);
  robot.advance(6000);
  command(CSchedulerDlg::IDC_SHUTDOWN_AFTER_RECORD);
  robot.advance(9999);
  EXPECT_EQ(count("shutdown"), 0);
  robot.advance(1);
  ASSERT_EQ(count("shutdown"), 1);
  EXPECT_NE(texts("shutdown")[0].find("power off"), std::string::npos);
  // The main program was asked to close first.
  ASSERT_EQ(s_received.size(), 1u);
  EXPECT_EQ(s_received[0].message, static_cast<UINT>(WM_CLOSE));
  robot.advance(20000);
  EXPECT_EQ(count("shutdown"), 1);
  EXPECT_TRUE(robot.messageBoxes().empty());
  DestroyWindow(main);
}

TEST_F(PowerTest, WithoutAScheduledItemInThirtyDaysNoWakeUpIsArmed) {
  writeSchedule({record(localTime(2024, 3, 31, 12, 0), kOnce), record(localTime(2024, 2, 1, 8, 0), kOnce)});
  open();
  SendMessageA(dlg->GetSafeHwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(count("wake-timer"), 0);
  EXPECT_FALSE(machine().service<plat::PowerState>().wakeTime());

  // Just inside the 30 days it is.
  writeSchedule({record(localTime(2024, 3, 31, 11, 59), kOnce)});
  command(CSchedulerDlg::IDC_RELOAD_SCHEDULE);
  SendMessageA(dlg->GetSafeHwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(texts("wake-timer"), (std::vector<std::string>{"armed for 2024-03-31 11:57:00"}));
}

// Suspended, the PC runs no timers; the armed time wakes it, the display is turned on and
// the timer's handle is closed, so no old wake-up time survives into the next sleep.
TEST_F(PowerTest, TheArmedTimerWakesThePcWhichTurnsTheDisplayOn) {
  writeSchedule({record(localTime(2024, 3, 1, 12, 30), kDaily)});
  open();
  command(CSchedulerDlg::IDC_STANDBY_AFTER_RECORD);
  robot.advance(10000);
  ASSERT_TRUE(machine().service<plat::PowerState>().isSuspended());
  ASSERT_EQ(texts("wake-timer"), (std::vector<std::string>{"armed for 2024-03-01 12:28:00"}));

  advanceTo(localTime(2024, 3, 1, 12, 27, 59));
  EXPECT_TRUE(machine().service<plat::PowerState>().isSuspended());
  EXPECT_TRUE(programStarts().empty());  // no due check while asleep
  robot.advance(1000);
  EXPECT_FALSE(machine().service<plat::PowerState>().isSuspended());
  EXPECT_EQ(texts("wake"), (std::vector<std::string>{"wake-up timer"}));
  EXPECT_EQ(machine().clock().unixSeconds(), localTime(2024, 3, 1, 12, 28));
  EXPECT_EQ(texts("execution-state"), (std::vector<std::string>{"0x00000002", "0x00000002"}));
  EXPECT_EQ(programStarts("keybd_event").size(), 2u);
  EXPECT_EQ(texts("wake-timer").back(), "cancelled 2024-03-01 12:28:00");

  // Awake again, the checks run: the main program starts before the item.
  robot.advance(120000);
  EXPECT_EQ(programStarts().size(), 1u);
}

TEST_F(PowerTest, StandbyAndShutdownNeedTheShutdownPrivilege) {
  EXPECT_FALSE(SetSystemPowerState(TRUE, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
  EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0));
  EXPECT_TRUE(powerLog().empty());
}

}  // namespace
