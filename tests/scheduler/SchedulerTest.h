// Fixtures for the scheduler program's tests: its hidden dialog on a fresh machine, a
// stand-in for the main program's window that writes down what reaches it, a main program
// in the program folder that only notes how it was started, and readers of the machine's
// logs.
#pragma once

#include "core/ScheduleRecord.h"
#include "scheduler/CSchedulerDlg.h"

#include <machine/EventLog.h>
#include <robot/Robot.h>
#include <support/TestMachine.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class SchedulerTest : public MachineTest {
 protected:
  SchedulerTest();
  ~SchedulerTest() override;

  // Opens the hidden dialog as the program does (its initialisation reads the schedule).
  CSchedulerDlg& open();
  void close();

  // Local times on the machine (UTC offset 0 unless machine.ini says otherwise).
  static std::int32_t localTime(int year, int month, int day, int hour, int minute, int second = 0);
  static ScheduleRecord record(std::int32_t start, int recurrence, int duration = 60);
  void writeSchedule(const std::vector<ScheduleRecord>& records);
  std::string programPath(const std::string& name);

  // Moves the machine clock to `unixSeconds`, firing every timer on the way.
  void advanceTo(std::int64_t unixSeconds);

  // A window titled "Orvane Media" (dialog class) that records the messages it gets.
  HWND openMainStandIn();
  std::vector<Received> remoteKeys() const;

  // "Orvane Media" in the program folder as a small script that notes its arguments
  // (installed for every test).
  void installNotingMainProgram();
  // The program starts the shell was asked for ("shell-execute" / "win-exec" entries).
  std::vector<std::string> programStarts(const char* category = "shell-execute");
  std::vector<plat::EventLog::Entry> powerLog();
  std::vector<std::string> powerCategories();

  CWinApp app;
  plat::Robot robot;
  std::unique_ptr<CSchedulerDlg> dlg;

 public:
  // What the main program's stand-in received.
  static std::vector<Received> s_received;
};

}  // namespace test
