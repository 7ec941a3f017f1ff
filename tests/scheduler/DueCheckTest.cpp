// The schedule as the scheduler program keeps it: read at start and on command 459 from
// the file the main program writes, and checked every 20 seconds for an item due 40
// seconds ahead, which starts the main program with "ant" unless it is running.
#include "SchedulerTest.h"

#include "core/CScheduleList.h"

#include <fstream>

namespace {

using test::SchedulerTest;

constexpr int kDaily = 7;
constexpr int kOnce = 8;
constexpr int kFriday = 5;

class DueCheckTest : public SchedulerTest {
 protected:
  std::string antStart() { return programPath("Orvane Media.exe") + " ant"; }
  std::int64_t now() { return machine().clock().unixSeconds(); }
};

TEST_F(DueCheckTest, AnItemComingDueStartsTheMainProgramFortySecondsAheadOnce) {
  writeSchedule({record(localTime(2024, 3, 1, 12, 1), kOnce)});
  open();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 1);
  robot.advance(19999);  // no check at start
  EXPECT_TRUE(programStarts().empty());
  robot.advance(1);  // 12:00:20 looks at 12:01:00
  EXPECT_EQ(programStarts(), (std::vector<std::string>{antStart()}));
  // The window the main program opens stops any further start.
  openMainStandIn();
  robot.advance(60000);
  EXPECT_EQ(programStarts().size(), 1u);
}

TEST_F(DueCheckTest, TheStartedMainProgramIsARealProcessOfTheProgramFolder) {
  writeSchedule({record(localTime(2024, 3, 1, 12, 1), kOnce)});
  open();
  robot.advance(20000);
  const auto noted = testMachine.root() / "started.txt";
  // The started program runs on real time: wait for its line (the file may stand empty a
  // moment before it is written), giving up after a generous while.
  std::string line;
  for (int i = 0; i < 2000 && line.empty(); ++i) {
    std::getline(std::ifstream(noted), line);
    if (line.empty()) usleep(5000);
  }
  EXPECT_EQ(line, "started ant");
}

TEST_F(DueCheckTest, NothingStartsWhileTheMainProgramRunsOrNothingIsDue) {
  openMainStandIn();
  writeSchedule({record(localTime(2024, 3, 1, 12, 1), kOnce)});
  open();
  robot.advance(120000);
  EXPECT_TRUE(programStarts().empty());
}

// A weekly item is due for 11 seconds of its minute, less than the check period: a check
// covers every second since the one before, so no item falls between two checks.
TEST_F(DueCheckTest, AWeeklyItemWhoseDueWindowFallsBetweenTwoChecksStillStartsTheProgram) {
  writeSchedule({record(localTime(2024, 2, 2, 12, 2), kFriday)});
  robot.advance(15000);  // checks at 12:00:35, :55, 12:01:15 and 12:01:35
  open();
  advanceTo(localTime(2024, 3, 1, 12, 1, 34));
  EXPECT_TRUE(programStarts().empty());
  robot.advance(1000);
  EXPECT_EQ(programStarts().size(), 1u);
}

// The due rule is the schedule list's: a daily item is due on every day from its first,
// also where the day of the month is lower than its first day's; a once item at 00:00
// is found by the check before midnight on the last day of a month.
TEST_F(DueCheckTest, DailyAndOnceItemsAreFoundAcrossMonthEndsAndMidnight) {
  writeSchedule({record(localTime(2024, 3, 20, 12, 0), kDaily)});
  advanceTo(localTime(2024, 4, 5, 11, 59, 0));
  open();
  robot.advance(40000);
  EXPECT_EQ(programStarts().size(), 1u);

  writeSchedule({record(localTime(2024, 5, 1, 0, 0), kOnce)});
  dlg->SendMessage(WM_COMMAND, CSchedulerDlg::IDC_RELOAD_SCHEDULE, 0);
  // Days later, without running every poll of the remote control in between.
  machine().clock().advance(static_cast<std::uint64_t>(localTime(2024, 4, 30, 23, 58, 30) - now()) * 1000);
  robot.pumpUntilIdle();
  const std::size_t before = programStarts().size();
  robot.advance(60000);
  EXPECT_EQ(programStarts().size(), before + 1);
}

TEST_F(DueCheckTest, Command459ReplacesTheListBeforeTheNextCheck) {
  writeSchedule({record(localTime(2024, 3, 1, 15, 0), kOnce)});
  open();
  robot.advance(20000);
  EXPECT_TRUE(programStarts().empty());
  writeSchedule({record(localTime(2024, 3, 1, 12, 1), kOnce), record(localTime(2024, 3, 1, 15, 0), kOnce)});
  dlg->PostMessage(WM_COMMAND, CSchedulerDlg::IDC_RELOAD_SCHEDULE, 0);
  robot.pumpUntilIdle();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 2);
  robot.advance(20000);
  EXPECT_EQ(programStarts().size(), 1u);
}

// A missing file keeps the list the program has; a file cut inside a record gives its
// whole records and is left as it is; a record of values no rule knows loads and is
// never due.
TEST_F(DueCheckTest, AMissingFileKeepsTheListAndACutFileGivesItsWholeRecords) {
  writeSchedule({record(localTime(2024, 3, 1, 12, 1), kOnce), record(localTime(2024, 3, 1, 15, 0), kOnce)});
  open();
  const auto file = testMachine.programFolder() / "schedulefile.she";
  const auto reload = [&] { dlg->SendMessage(WM_COMMAND, CSchedulerDlg::IDC_RELOAD_SCHEDULE, 0); };
  ASSERT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 2);

  std::filesystem::resize_file(file, 40);
  reload();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 1);
  EXPECT_EQ(std::filesystem::file_size(file), 40u);

  std::filesystem::remove(file);
  reload();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 1);
  robot.advance(20000);
  EXPECT_EQ(programStarts().size(), 1u);

  writeSchedule({record(localTime(2024, 3, 1, 12, 2), 11)});
  reload();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 1);
  robot.advance(60000);
  EXPECT_EQ(programStarts().size(), 1u);

  writeSchedule({});
  reload();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 0);
}

}  // namespace

namespace {

// A tick of the due check held off (a busy or sleeping PC) still covers the seconds it
// skipped, back to the check before, as long as the main program could still run what
// came due there; and it starts the main program once.
class LateDueCheckFaults : public DueCheckTest {
 protected:
  // A once item at 12:02, checks from 12:00:35 every 20 s; the one after 12:01:15 (which
  // looked at 12:01:55) is held off until `lateUntil`.
  void holdTheTickOffUntil(std::int64_t lateUntil) {
    writeSchedule({record(localTime(2024, 3, 1, 12, 2), kOnce)});
    robot.advance(15000);
    open();
    advanceTo(localTime(2024, 3, 1, 12, 1, 15));
    ASSERT_TRUE(programStarts().empty());
    machine().clock().advance(static_cast<std::uint64_t>(lateUntil - now()) * 1000);
    robot.pumpUntilIdle();
  }
};

TEST_F(LateDueCheckFaults, AnItemDueInTheSkippedSecondsStartsTheMainProgramOnce) {
  holdTheTickOffUntil(localTime(2024, 3, 1, 12, 1, 45));  // ten seconds late: looks at 12:02:25
  EXPECT_EQ(programStarts(), (std::vector<std::string>{antStart()}));
  robot.advance(120000);
  EXPECT_EQ(programStarts().size(), 1u);
}

// Past a whole period: the main program started at 12:02:20 still finds the item due.
TEST_F(LateDueCheckFaults, ATickHeldOffPastAPeriodStillStartsItWhileTheItemIsDue) {
  holdTheTickOffUntil(localTime(2024, 3, 1, 12, 2, 20));
  EXPECT_EQ(programStarts(), (std::vector<std::string>{antStart()}));
  robot.advance(60000);
  EXPECT_EQ(programStarts().size(), 1u);
}

// A second later the item's time is over: starting the main program would be for nothing.
TEST_F(LateDueCheckFaults, AnItemWhoseTimeIsOverWhenTheTickComesStartsNothing) {
  holdTheTickOffUntil(localTime(2024, 3, 1, 12, 2, 21));
  robot.advance(60000);
  EXPECT_TRUE(programStarts().empty());
}

}  // namespace
