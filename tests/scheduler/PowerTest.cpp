// Stand-by and shut-down 10 seconds after the main program asks, the wake-up timer armed
// 120 seconds before the next item when the PC suspends, and the display turned on when
// the timer has woken it; all on the simulated PC, whose power.log records each step.
#include "SchedulerTest.h"

#include <machine/ClockFollowers.h>
#include <machine/PowerState.h>
#include <win32/error.h>
#include <win32/kernel/ProcessObject.h>
#include <win32/kernel/WaitHub.h>
#include <win32/shell.h>
#include <win32/user.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iomanip>
#include <sstream>
#include <thread>

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

namespace {

// The main program as a real process that takes `endingMs` of the clock to end once told
// to close. While the scheduler waits for it, a second thread of the test moves the
// clock, to the main program's end or to the scheduler's limit, whichever comes first, and
// then lets the scheduler see it.
class ShutdownWaitFaults : public PowerTest {
 protected:
  static constexpr std::uint64_t kLimitMs = CSchedulerDlg::kCloseWaitMs;

  ~ShutdownWaitFaults() override {
    if (m_main > 0) {
      kill(m_main, SIGKILL);
      waitpid(m_main, nullptr, 0);
    }
  }

  void startMainProgram(unsigned endingMs) {
    ASSERT_TRUE(machine().shareClock());
    std::string program = SLOW_ENDING_MAIN_PROGRAM;
    std::string ms = std::to_string(endingMs);
    std::string root = "ORVANE_MACHINE=" + testMachine.root().string();
    char* argv[] = {program.data(), ms.data(), nullptr};
    char* envp[] = {root.data(), nullptr};
    ASSERT_EQ(posix_spawn(&m_main, program.c_str(), nullptr, nullptr, argv, envp), 0);
    machine().service<plat::ClockFollowers>().expectStart(m_main);
    ASSERT_TRUE(untilReal([] { return FindWindowA("#32770", "Orvane Media") != nullptr; }));
  }

  // Asks for the shut-down and lets its ten seconds pass, the clock moved by a second hand
  // while the scheduler waits.
  void shutDown() {
    ASSERT_EQ(plat::WaitHub::instance().blockedCount(), 0u);
    command(CSchedulerDlg::IDC_SHUTDOWN_AFTER_RECORD);
    m_closedAt = machine().clock().unixMs() + CSchedulerDlg::kPowerDelayMs;
    std::thread hand([this] { moveTheClockWhileTheSchedulerWaits(); });
    robot.advance(10000);
    hand.join();
  }

  // Times since the close (ms) of the power-off and of the main program's end; -1 when
  // there was none.
  std::int64_t msAfterClose(const std::vector<plat::EventLog::Entry>& entries, const std::string& category) {
    for (const auto& entry : entries)
      if (entry.category == category) return clockMs(entry.time) - m_closedAt;
    return -1;
  }
  bool mainProgramRuns() const { return plat::ProcessObject::isRunning(m_main); }

 private:
  // Bounded real waits: the main program is another process, the scheduler waits on kernel objects.
  static bool untilReal(const std::function<bool()>& done) {
    for (int i = 0; i < 20000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
  }
  static bool schedulerWaits() { return plat::WaitHub::instance().blockedCount() > 0; }

  void moveTheClockWhileTheSchedulerWaits() {
    // A scheduler that does not wait powers off at once.
    if (!untilReal([this] { return schedulerWaits() || msAfterClose(powerLog(), "shutdown") != -1; }) ||
        !schedulerWaits())
      return;
    plat::Clock& clock = machine().clock();
    plat::Robot hand(false);
    while (schedulerWaits()) {
      const auto moved = static_cast<std::uint64_t>(clock.unixMs() - m_closedAt);
      // The end, or the limit, has come: the scheduler is to see it before time moves on.
      if (msAfterClose(plat::EventLog::events(machine()).read(), "main-program") >= 0)
        untilReal([this] { return !mainProgramRuns(); });
      if ((!mainProgramRuns() || moved >= kLimitMs) && untilReal([] { return !schedulerWaits(); })) break;
      hand.advanceStep(moved < kLimitMs ? kLimitMs - moved : 1000);
    }
  }
  static std::int64_t clockMs(const std::string& stamp) {
    std::tm local{};
    std::istringstream in(stamp);
    in >> std::get_time(&local, "%Y-%m-%d %H:%M:%S");
    return plat::Machine::current().clock().fromLocal(local) * 1000 + std::stoi(stamp.substr(20, 3));
  }

  pid_t m_main = 0;
  std::int64_t m_closedAt = 0;
};

// Told to close, the main program writes its files for five seconds: the PC goes off
// when it has ended, not before.
TEST_F(ShutdownWaitFaults, ThePcGoesOffOnlyOnceTheMainProgramHasEnded) {
  open();
  ASSERT_NO_FATAL_FAILURE(startMainProgram(5000));
  shutDown();
  EXPECT_EQ(msAfterClose(plat::EventLog::events(machine()).read(), "main-program"), 5000);
  EXPECT_EQ(msAfterClose(powerLog(), "shutdown"), 5000);
  EXPECT_FALSE(mainProgramRuns());
}

// A main program that hangs is waited for thirty seconds, and then the PC goes off.
TEST_F(ShutdownWaitFaults, AMainProgramThatDoesNotEndIsWaitedForThirtySeconds) {
  open();
  ASSERT_NO_FATAL_FAILURE(startMainProgram(45000));
  shutDown();
  EXPECT_EQ(msAfterClose(powerLog(), "shutdown"), static_cast<std::int64_t>(kLimitMs));
  EXPECT_EQ(msAfterClose(plat::EventLog::events(machine()).read(), "main-program"), -1);
  EXPECT_TRUE(mainProgramRuns());
}

}  // namespace
