// A schedule file whose end was cut inside a record still plans every whole record in the
// scheduler program: the part record is left out, nothing else is lost.
#include "SchedulerTest.h"

#include "core/CScheduleList.h"

#include <filesystem>

namespace {

constexpr int kOnce = 8;

class ScheduleTailTest : public test::SchedulerTest {};

TEST_F(ScheduleTailTest, AFileCutInsideItsSecondRecordStillStartsTheMainProgramForTheFirst) {
  const auto file = testMachine.programFolder() / "schedulefile.she";
  const auto writeCut = [&](std::uintmax_t size) {
    writeSchedule({record(localTime(2024, 3, 1, 12, 1), kOnce), record(localTime(2024, 3, 1, 15, 0), kOnce)});
    std::filesystem::resize_file(file, size);
  };
  writeCut(71);
  open();
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 1);
  writeCut(37);
  dlg->SendMessage(WM_COMMAND, CSchedulerDlg::IDC_RELOAD_SCHEDULE, 0);
  EXPECT_EQ(CSchedulerDlg::ScheduleList().GetCount(), 1);
  robot.advance(20000);  // 12:00:20 looks at 12:01:00
  EXPECT_EQ(programStarts(), (std::vector<std::string>{programPath("Orvane Media.exe") + " ant"}));
}

}  // namespace
