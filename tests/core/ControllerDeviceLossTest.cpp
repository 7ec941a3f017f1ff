// A capture device that goes while the program uses it: with none left the program closes,
// keeping what was recorded in the video history; with another one left the picture comes
// back from it, and the media player keeps the screen with the loss remembered.
#include "RecordingTest.h"

#include "core/CRunState.h"

#include <cstring>

#include <win32/user.h>

namespace {

std::vector<WPARAM> g_tvTimers;

LRESULT CALLBACK TvProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    g_tvTimers.push_back(wParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class ControllerDeviceLossTest : public test::RecordingTest {
 protected:
  ~ControllerDeviceLossTest() override {
    if (IsWindow(tv)) DestroyWindow(tv);
  }
  void loseAllDevices() {
    settings().CaptureDeviceNames.RemoveAll();
    controller->OnDevicesChanged();
  }
  // The device in use was another one, which has gone; the TV stick stays.
  void loseDeviceInUse() {
    std::strcpy(settings().CaptureDeviceName, "Other TV Device");
    controller->OnDevicesChanged();
  }
  int count(WPARAM timer) const {
    int fired = 0;
    for (WPARAM id : launcher->timers) fired += id == timer;
    return fired;
  }
  void openTvWindowWithTimer(UINT_PTR timer) {
    g_tvTimers.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = TvProc;
    wc.lpszClassName = "DeviceLossTestTv";
    RegisterClassA(&wc);
    tv = CreateWindowExA(0, "DeviceLossTestTv", "Orvane Media_TVDlg", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                         nullptr);
    ASSERT_NE(tv, nullptr);
    SetTimer(tv, timer, 2000, nullptr);
  }

  HWND tv = nullptr;
};

TEST_F(ControllerDeviceLossTest, WithNoDeviceLeftThePreviewGoesAndTheProgramCloses) {
  ASSERT_NE(preview(), 0);
  loseAllDevices();
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetRunState(), 0);
  pump();
  EXPECT_EQ(launcher->systemCloses, 1);
}

TEST_F(ControllerDeviceLossTest, WithNoDeviceLeftAScheduledRecordingKeepsItsFileAndEndsWithItsAction) {
  CScheduleItem recording = item(2, 60, 8, 1, 2);  // once, record, then standby
  schedule().Add(&recording);
  run(1000);
  ASSERT_EQ(controller->GetRunState(), 3);
  run(1000);
  loseAllDevices();
  const std::string file = std::string(settings().VideoFolder) + "cap00.mpg";
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file});
  EXPECT_EQ(std::string(controller->GetStatusText()), file);
  EXPECT_EQ(schedule().RecordRun(), 0);
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetRunState(), 0);
  const int seconds = count(CAppController::kScheduleSecondTimer);
  run(11000, 1000);
  EXPECT_EQ(launcher->systemCloses, 1);
  EXPECT_EQ(count(CAppController::kScheduleSecondTimer), seconds) << "the run's seconds end";
  EXPECT_EQ(count(CScheduleList::kStandbyTimer), 1);
}

TEST_F(ControllerDeviceLossTest, WithNoDeviceLeftAManualRecordingKeepsItsFileInTheHistory) {
  ASSERT_NE(preview(), 0);
  controller->RequestManualRecording();
  ASSERT_EQ(controller->GetRunState(), 3);
  run(1000);
  loseAllDevices();
  const std::string file = std::string(settings().VideoFolder) + "cap00.mpg";
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file}) << "the media player finds it";
  EXPECT_EQ(std::string(controller->GetStatusText()), file);
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetRunState(), 0);
  pump();
  EXPECT_EQ(launcher->systemCloses, 1);
  deleteController();
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file}) << "listed once";
}

TEST_F(ControllerDeviceLossTest, WithNoDeviceLeftTheMediaPlayerKeepsTheScreen) {
  ASSERT_NE(preview(), 0);
  controller->EnterMediaMode();
  loseAllDevices();
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetRunState(), 1);
  pump();
  EXPECT_EQ(launcher->systemCloses, 0);
}

TEST_F(ControllerDeviceLossTest, WhenTheDeviceInUseGoesAManualRecordingStopsAndThePictureComesBack) {
  ASSERT_NE(preview(), 0);
  controller->RequestManualRecording();
  ASSERT_EQ(controller->GetRunState(), 3);
  run(400);
  loseDeviceInUse();
  const std::string file = std::string(settings().VideoFolder) + "cap00.mpg";
  EXPECT_EQ(historyVideos(), std::vector<std::string>{file});
  EXPECT_EQ(std::string(controller->GetStatusText()), file);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_TRUE(pictureMoves(3));
  pump();
  EXPECT_EQ(launcher->systemCloses, 0);
}

TEST_F(ControllerDeviceLossTest, WhenTheDeviceInUseGoesTheScanEndsOnLiveTv) {
  ASSERT_NE(preview(), 0);
  controller->GetRunStateHolder()->SetState(CRunState::kChannelScan);
  ScanRunning = 1;
  loseDeviceInUse();
  EXPECT_EQ(ScanRunning, 0);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_TRUE(pictureMoves(3));
}

TEST_F(ControllerDeviceLossTest, WhenTheDeviceInUseGoesTheTypedNumberIsDropped) {
  ASSERT_NE(preview(), 0);
  openTvWindowWithTimer(250);
  controller->GetRunStateHolder()->SetState(10);
  loseDeviceInUse();
  EXPECT_EQ(controller->GetRunState(), 2);
  run(3000, 500);
  EXPECT_TRUE(g_tvTimers.empty()) << "the digit timer was killed";
}

TEST_F(ControllerDeviceLossTest, WhenTheDeviceInUseGoesTheMediaPlayerRemembersTheLoss) {
  ASSERT_NE(preview(), 0);
  controller->EnterMediaMode();
  loseDeviceInUse();
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->IsDeviceLost(), 1);
  EXPECT_EQ(controller->GetRunState(), 1);
}

TEST_F(ControllerDeviceLossTest, NothingHappensWhileTheDeviceInUseIsStillThere) {
  ASSERT_NE(preview(), 0);
  settings().CaptureDeviceNames.Add("Other TV Device");
  controller->OnDevicesChanged();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(controller->IsDeviceLost(), 0);
  EXPECT_TRUE(pictureMoves(3));
}

}  // namespace
