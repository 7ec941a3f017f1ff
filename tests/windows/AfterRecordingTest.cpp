// A planned run, started by the launcher's schedule tick, ends with its after-recording
// action: the launcher stands the computer by or shuts it down ten seconds later when no
// scheduler program is there to do it, or the program closes. The power log shows each.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "core/CScheduleItem.h"
#include "core/CScheduleList.h"
#include "graphs/DeviceUtilities.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"

#include <mfc/CTime.h>

namespace {

constexpr int kOnce = 8;
constexpr int kView = 0;
constexpr int kRecord = 1;

class AfterRecordingTest : public test::WindowsTest {
 protected:
  void SetUp() override {
    writeSkins();
    RegisterFilterModule("Filter\\Branchel.ax");
    openLauncher();
  }
  void plan(int mode, int action) {
    CScheduleItem item;
    item.start = static_cast<std::int32_t>(CTime::GetCurrentTime().GetTime() + 2);
    item.duration = 3;
    item.recurrence = kOnce;
    item.channel1 = 1;
    item.channel2 = 1;
    item.mode = mode;
    item.action = action;
    ASSERT_GE(g_pAppController->GetScheduleList()->Add(&item), 0);
  }
  // Through the item's start, its three seconds and its end.
  void runItem() {
    for (int second = 0; second < 8; ++second) robot.advance(1000);
  }
};

TEST_F(AfterRecordingTest, StandByTenSecondsAfterTheRecording) {
  plan(kRecord, 2);
  robot.advance(1000);
  ASSERT_NE(launcher->GetTVDlg(), nullptr) << "the TV window opens for the item";
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110);
  runItem();
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_TRUE(powerLog().empty());
  robot.advance(10000);
  EXPECT_EQ(powerLog(), (std::vector<std::string>{"power-request suspend, forced", "standby suspended"}));
  EXPECT_TRUE(std::filesystem::exists(programFile("Videos\\cap00.mpg")));
}

TEST_F(AfterRecordingTest, ShutDownTenSecondsAfterTheRecording) {
  plan(kRecord, 3);
  runItem();
  robot.advance(10000);
  EXPECT_EQ(powerLog(),
            (std::vector<std::string>{"shutdown flags 13, power off, forced"}));
  EXPECT_EQ(g_pAppController, nullptr) << "the controller went first, saving its files";
}

TEST_F(AfterRecordingTest, CloseEndsTheProgramAfterAView) {
  plan(kView, 1);
  runItem();
  EXPECT_FALSE(launcher->IsWindowVisible()) << "the launcher's dialog ended";
  EXPECT_TRUE(powerLog().empty());
}

TEST_F(AfterRecordingTest, NothingAfterARunWithoutAction) {
  plan(kView, 0);
  runItem();
  robot.advance(10000);
  EXPECT_TRUE(powerLog().empty());
  EXPECT_TRUE(launcher->GetTVDlg()->IsWindowVisible());
}

}  // namespace
