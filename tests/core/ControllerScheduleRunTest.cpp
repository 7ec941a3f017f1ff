// Scheduled runs driven by the launcher's timers on the manual clock: an item falls due,
// records or shows its channel for its duration and ends with the input it interrupted and
// its after-recording action; items are not run twice, nor while the program is busy or
// the record plan window is open, nor without the free space.
#include "RecordingTest.h"

#include "MpegFileProbe.h"

#include "core/CRunState.h"
#include "core/data/CChannelList.h"

#include <com/hresult.h>
#include <mfc/CTime.h>
#include <win32/module.h>
#include <win32/user.h>

#include <filesystem>

namespace {

using rectest::MpegFileProbe;

constexpr int kDaily = 7;
constexpr int kOnce = 8;
constexpr int kView = 0;
constexpr int kRecord = 1;

std::vector<WPARAM> g_schedulerCommands;
std::vector<WPARAM> g_planNotices;
WNDPROC g_dialogProc = nullptr;

LRESULT CALLBACK SchedulerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    g_schedulerCommands.push_back(wParam);
    return 0;
  }
  return CallWindowProcA(g_dialogProc, window, message, wParam, lParam);
}

LRESULT CALLBACK PlanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CScheduleList::UM_SCHEDULE_CHANGED) g_planNotices.push_back(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

class ControllerScheduleRunTest : public test::RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    g_schedulerCommands.clear();
    g_planNotices.clear();
  }
  ~ControllerScheduleRunTest() override {
    for (HWND window : windows) DestroyWindow(window);
  }

  int count(WPARAM timer) const {
    int fired = 0;
    for (WPARAM id : launcher->timers) fired += id == timer;
    return fired;
  }
  // A window titled as the scheduler program's that writes down the commands it gets.
  void openScheduler() {
    HWND window = CreateWindowExA(0, WC_DIALOG, "TALVIK Norlet Schedule", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SchedulerProc)));
    windows.push_back(window);
  }
  void openPlanWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlanProc;
    wc.lpszClassName = "ScheduleRunTestPlan";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "ScheduleRunTestPlan", "Orvane Media_RecordDlg", 0, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    windows.push_back(window);
  }
  void add(const CScheduleItem& item) { schedule().Add(&item); }
  static void unregisterFanout() {
    HMODULE fanout = LoadLibraryA("Filter\\Branchel.ax");
    ASSERT_NE(fanout, nullptr);
    auto unregister = reinterpret_cast<HRESULT (*)()>(GetProcAddress(fanout, "DllUnregisterServer"));
    ASSERT_NE(unregister, nullptr);
    ASSERT_EQ(unregister(), S_OK);
    FreeLibrary(fanout);
  }
  test::Bytes scheduleFile() { return readBytes(programPath("schedulefile.she")); }

  std::vector<HWND> windows;
};

TEST_F(ControllerScheduleRunTest, ARecordingItemFallsDueRecordsForItsDurationThenAsksForStandby) {
  add(item(2, 3, kOnce, kRecord, 2));
  run(1000);
  EXPECT_EQ(launcher->tvOpenings, 1) << "the TV window opens for the item";
  ASSERT_EQ(controller->GetRunState(), 3);
  EXPECT_EQ(schedule().RecordRun(), 1);
  EXPECT_EQ(schedule().GetCount(), 0) << "a once item leaves the list when it starts";
  EXPECT_EQ(controller->GetRunStateHolder()->GetSubState(), 16);

  run(3000);
  EXPECT_EQ(controller->GetRunState(), 3) << "three seconds counted, still recording";
  EXPECT_EQ(schedule().Elapsed(), 3);
  run(1000);
  EXPECT_EQ(controller->GetRunState(), 2) << "the live picture it interrupted is back";
  EXPECT_EQ(schedule().RecordRun(), 0);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), 4);
  run(2000);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), 4) << "the second timer ended with the run";

  const std::string file = std::string(settings().VideoFolder) + "cap00.mpg";
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file});
  const MpegFileProbe probe((recordFolder() / "cap00.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mpeg1video");
  EXPECT_GT(probe.video().seconds, 3.0);
  EXPECT_LT(probe.video().seconds, 4.5);
  EXPECT_TRUE(scheduleFile().empty()) << "the list saved without the item";

  // Without the scheduler program the launcher's standby timer does it, ten seconds on.
  EXPECT_EQ(count(CScheduleList::kStandbyTimer), 0);
  run(10000, 1000);
  EXPECT_EQ(count(CScheduleList::kStandbyTimer), 1);
}

TEST_F(ControllerScheduleRunTest, AViewItemShowsItsChannelThenRestoresTheInputAndTellsTheScheduler) {
  openScheduler();
  settings().VideoInput = 3;
  ASSERT_NE(preview(), 0);
  ASSERT_EQ(controller->GetRunState(), 11);
  CScheduleItem view = item(2, 2, kDaily, kView, 3);
  view.channel1 = 2;
  add(view);
  run(1000);
  EXPECT_EQ(launcher->tvOpenings, 0) << "a picture runs already";
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(settings().VideoInput, 1);
  EXPECT_EQ(schedule().ViewRun(), 1);
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 2);
  EXPECT_FALSE(controller->IsRecording());

  g_schedulerCommands.clear();
  run(3000);
  EXPECT_EQ(controller->GetRunState(), 11) << "back on Composite";
  EXPECT_EQ(settings().VideoInput, 3);
  EXPECT_EQ(schedule().ViewRun(), 0);
  EXPECT_EQ(scheduleFile().size(), sizeof(ScheduleRecord)) << "the daily item stays";
  ASSERT_GE(g_schedulerCommands.size(), 2u);
  EXPECT_EQ(g_schedulerCommands[g_schedulerCommands.size() - 2], CScheduleList::IDC_RELOAD_SCHEDULE);
  EXPECT_EQ(g_schedulerCommands.back(), CScheduleList::IDC_SHUTDOWN_AFTER_RECORD);
  EXPECT_EQ(count(CScheduleList::kShutdownTimer), 0);
}

TEST_F(ControllerScheduleRunTest, CloseComesAfterTheFileWasSavedAndTheReloadPosted) {
  openScheduler();
  ASSERT_NE(preview(), 0);
  add(item(2, 1, kDaily, kView, 1));
  bool savedFirst = false;
  launcher->onClose = [&] {
    savedFirst = scheduleFile().size() == sizeof(ScheduleRecord) && !g_schedulerCommands.empty() &&
                 g_schedulerCommands.back() == CScheduleList::IDC_RELOAD_SCHEDULE;
  };
  run(4000);
  EXPECT_EQ(launcher->closeRequests, 1);
  EXPECT_TRUE(savedFirst);
}

TEST_F(ControllerScheduleRunTest, AnHourLongItemEndsAfterItsLastSecondAndAWholeDayAtOnce) {
  ASSERT_NE(preview(), 0);
  add(item(2, 3600, kOnce, kView, 0));
  run(1000);
  ASSERT_EQ(schedule().ViewRun(), 1);
  for (int second = 0; second < 3600; ++second) controller->OnScheduleSecond();
  EXPECT_EQ(schedule().ViewRun(), 1);
  EXPECT_EQ(schedule().Elapsed(), 3600);
  controller->OnScheduleSecond();
  EXPECT_EQ(schedule().ViewRun(), 0);
  EXPECT_EQ(schedule().Elapsed(), 0);

  add(item(2, 86400, kDaily, kView, 0));
  run(1000);
  ASSERT_EQ(schedule().ViewRun(), 1);
  controller->OnScheduleSecond();
  EXPECT_EQ(schedule().ViewRun(), 0) << "whole days are dropped from the duration";
}

TEST_F(ControllerScheduleRunTest, ADailyItemRunsOnceInItsDueSeconds) {
  openScheduler();
  ASSERT_NE(preview(), 0);
  // Due in seconds 0 to 20 of the next minute; the run ends within them.
  const int ahead = 60 - CTime::GetCurrentTime().GetSecond();
  add(item(ahead, 2, kDaily, kView, 0));
  run((ahead + 25) * 1000, 1000);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), 3) << "two seconds counted, ended at the third";
  EXPECT_EQ(schedule().ViewRun(), 0);
  EXPECT_EQ(schedule().GetCount(), 1);
  // The scheduler program reloads once when the run starts and once when it ends.
  EXPECT_EQ(g_schedulerCommands, std::vector<WPARAM>(2, CScheduleList::IDC_RELOAD_SCHEDULE));
}

TEST_F(ControllerScheduleRunTest, AnItemStartingSoonOpensTheTvWindowAhead) {
  // Due at 12:01:00, found twenty seconds earlier.
  add(item(60, 5, kOnce, kView, 0));
  run(39000, 1000);
  EXPECT_EQ(launcher->tvOpenings, 0);
  run(1000, 1000);
  EXPECT_EQ(launcher->tvOpenings, 1);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(schedule().ViewRun(), 0) << "it runs only when due";
  run(20000, 1000);
  EXPECT_EQ(schedule().ViewRun(), 1);
  EXPECT_EQ(launcher->tvOpenings, 1);
}

TEST_F(ControllerScheduleRunTest, WhileRecordingADueOnceItemIsDeletedAndThePlanWindowToldItsIndex) {
  openPlanWindow();
  ASSERT_NE(preview(), 0);
  controller->RequestManualRecording();
  ASSERT_EQ(controller->GetRunState(), 3);
  add(item(600, 5, kOnce, kView, 0));
  add(item(2, 5, kOnce, kView, 0));
  add(item(2, 5, kDaily, kView, 0));
  run(2000);
  EXPECT_EQ(controller->GetRunState(), 3) << "the manual recording goes on";
  EXPECT_EQ(schedule().ViewRun(), 0);
  ASSERT_EQ(schedule().GetCount(), 2) << "only the due once item goes";
  EXPECT_EQ(schedule().GetAt(0)->start - schedule().GetAt(1)->start, 598) << "the later once item stays";
  EXPECT_EQ(schedule().GetAt(1)->recurrence, kDaily);
  EXPECT_EQ(g_planNotices, std::vector<WPARAM>{1});
}

TEST_F(ControllerScheduleRunTest, WhileThePlanWindowIsOpenNothingRunsAndOnceItemsGo) {
  ASSERT_NE(preview(), 0);
  controller->SetPlanWindowOpen(1);
  add(item(2, 5, kOnce, kView, 0));
  run(1000);
  EXPECT_EQ(schedule().GetCount(), 0);
  EXPECT_EQ(schedule().ViewRun(), 0);
  add(item(2, 5, kDaily, kView, 0));
  run(1000);
  EXPECT_EQ(schedule().GetCount(), 1);
  EXPECT_EQ(schedule().ViewRun(), 0);

  controller->SetPlanWindowOpen(0);
  run(1000);
  EXPECT_EQ(schedule().ViewRun(), 1) << "the plan window closed within the due seconds";
}

TEST_F(ControllerScheduleRunTest, ARecordingItemShortOfSpaceIsDeletedEvenWhenItRepeats) {
  ASSERT_NE(preview(), 0);
  setFreeMB(99);
  add(item(2, 60, kDaily, kRecord, 2));
  run(1000);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(schedule().GetCount(), 0);
  EXPECT_EQ(schedule().RecordRun(), 0);
  EXPECT_TRUE(schedule().IsIdle());
  run(3000);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), 0);
  EXPECT_FALSE(std::filesystem::exists(recordFolder() / "cap00.mpg"));
}

TEST_F(ControllerScheduleRunTest, ARecordGraphThatCannotBeBuiltEndsTheItemWithItsAction) {
  ASSERT_NE(preview(), 0);
  unregisterFanout();
  add(item(2, 60, kOnce, kRecord, 2));
  run(1000);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_FALSE(controller->IsGraphMissing());
  EXPECT_EQ(schedule().RecordRun(), 0);
  EXPECT_EQ(schedule().GetCount(), 0);
  run(11000, 1000);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), 0);
  EXPECT_EQ(count(CScheduleList::kStandbyTimer), 1);
}

TEST_F(ControllerScheduleRunTest, TheStopKeyEndsAScheduledRecordingAndTheViewEndsOnlyAView) {
  add(item(2, 60, kOnce, kRecord, 0));
  run(1000);
  ASSERT_EQ(controller->GetRunState(), 3);
  controller->EndScheduledView();
  EXPECT_EQ(controller->GetRunState(), 3) << "not a view";
  controller->StopRecordingRequest();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(schedule().RecordRun(), 0);
  run(2000);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), 0);
  EXPECT_EQ(historyVideos().size(), 1u);

  add(item(2, 60, kDaily, kView, 0));
  run(1000);
  ASSERT_EQ(schedule().ViewRun(), 1);
  controller->EndScheduledView();
  EXPECT_EQ(schedule().ViewRun(), 0);
}

}  // namespace
