// The TV window where a fault would go unseen by a user for long: the remote keys that
// close, record, retune, take snapshots and go full screen, the preview after a stand-by,
// and the close and minimise buttons.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "core/data/CChannelList.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/DeviceUtilities.h"
#include "skin/CSkinButton.h"
#include "skin/CTaskbarNotifier.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/WindowMessages.h"

#include <support/MachineWindows.h>

#include <machine/TvStickControl.h>
#include <win32/shell/power.h>

namespace {

class TVWindowFaults : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }
  CTVDlg& tv() { return *launcher->GetTVDlg(); }
  // The TV window is gone and the launcher has closed: the program ends.
  bool programEnded() { return launcher->GetTVDlg() == nullptr && !launcher->IsWindowVisible(); }
  // The last write to the stick's tuner, empty when none.
  std::vector<std::uint8_t> lastTuning() {
    std::vector<std::uint8_t> data;
    for (const auto& write : machine().service<plat::TvStickControl>().writes())
      if (write.kind == plat::TvStickControl::Write::Kind::I2C && write.address == 0xC0) data = write.data;
    return data;
  }
  std::size_t writes() { return machine().service<plat::TvStickControl>().writes().size(); }
  void powerEvent(WPARAM event) {
    SendMessageA(tv().GetSafeHwnd(), WM_POWERBROADCAST, event, 0);
    robot.pumpUntilIdle();
  }
  // The PC's system as the registry and the version calls tell it.
  void runOn(int major, int minor, const char* product) {
    machine().ini().setValue("Windows", "MajorVersion", std::to_string(major));
    machine().ini().setValue("Windows", "MinorVersion", std::to_string(minor));
    test::SetProductName(product);
  }
  // Whether the resume `event` reopens the preview that a stand-by took away.
  bool reopensThePreview(WPARAM event) {
    g_pAppController->DestroyCaptureGraph();
    powerEvent(event);
    return !g_pAppController->IsGraphMissing();
  }
};

// Key 20 closes the program only while the picture is live; the shut-down flag it may
// carry from another program is not taken.
TEST_F(TVWindowFaults, RemoteKey20ClosesTheProgramOnlyWhilePreviewing) {
  openTV();
  g_pAppController->SetIdle();  // the picture stopped
  ASSERT_FALSE(g_pAppController->IsPreviewing());
  remoteKey(20);
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
  EXPECT_FALSE(programEnded());

  g_pAppController->OpenPreview();
  ASSERT_TRUE(g_pAppController->IsPreviewing());
  remoteKey(20, 1);
  EXPECT_TRUE(programEnded());
  robot.advance(1000);
  EXPECT_TRUE(powerLog().empty());
}

// Key 26 records through the bar's own command and key 23 stops it, the file named in
// the notice; neither does anything out of its state.
TEST_F(TVWindowFaults, RemoteKeys26And23RecordAndStopThroughTheBar) {
  RegisterFilterModule("Filter\\Branchel.ax");
  openTV();
  robot.advance(1000);
  remoteKey(23);  // nothing is being recorded
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  remoteKey(26);
  robot.advance(1000);
  ASSERT_EQ(g_pAppController->GetRunState(), 3);
  remoteKey(26);  // already recording
  EXPECT_EQ(g_pAppController->GetRunState(), 3);
  robot.advance(1000);
  remoteKey(23);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_TRUE(std::filesystem::exists(programFile("Videos\\cap00.mpg")));
  EXPECT_EQ(g_pTaskbarNotifier->GetText(), WrapNoticeText(programPath("Videos\\cap00.mpg").c_str()));
}

// Key 28 tunes the channel on screen again, and key 30 takes a snapshot.
TEST_F(TVWindowFaults, RemoteKeys28RetunesAnd30TakesASnapshot) {
  openTV();
  const int channel = g_pTunedChannelRecord->ChannelNumber;
  const auto tuned = lastTuning();
  ASSERT_FALSE(tuned.empty());
  const std::size_t before = writes();
  remoteKey(28);
  EXPECT_GT(writes(), before);
  EXPECT_EQ(lastTuning(), tuned);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, channel);

  ASSERT_TRUE(untilAPictureShows());
  robot.advance(1000);
  remoteKey(30);
  EXPECT_TRUE(std::filesystem::exists(programFile("Picture\\cap00.bmp")));
  EXPECT_EQ(g_pTaskbarNotifier->GetText(), WrapNoticeText(programPath("Picture\\cap00.bmp").c_str()));
}

// Key 74, the last the window takes, toggles full screen; keys above it do nothing.
TEST_F(TVWindowFaults, RemoteKey74TogglesFullScreenAndKeysAboveItAreIgnored) {
  openTV();
  remoteKey(74);
  EXPECT_TRUE(tv().IsFullScreen());
  remoteKey(75);
  remoteKey(95);
  EXPECT_TRUE(tv().IsFullScreen());
  remoteKey(74);
  EXPECT_FALSE(tv().IsFullScreen());
}

// After a stand-by the preview is opened again, on the resume notice the system sends:
// Vista, known by its product name, sends the automatic one, the others the user's.
TEST_F(TVWindowFaults, APreviewIsReopenedOnTheResumeNoticeOfItsSystem) {
  openTV();
  EXPECT_FALSE(reopensThePreview(PBT_APMRESUMEAUTOMATIC));
  EXPECT_TRUE(reopensThePreview(PBT_APMRESUMESUSPEND));
  EXPECT_TRUE(reopensThePreview(PBT_APMRESUMECRITICAL));
  EXPECT_EQ(g_pAppController->GetRunState(), 2);

  runOn(6, 0, "Windows Vista (TM) Home Premium");
  EXPECT_FALSE(reopensThePreview(PBT_APMRESUMESUSPEND));
  EXPECT_TRUE(reopensThePreview(PBT_APMRESUMEAUTOMATIC));

  // The server of the same version is no Vista by its name.
  runOn(6, 0, "Windows Server (R) 2008 Standard");
  EXPECT_FALSE(reopensThePreview(PBT_APMRESUMEAUTOMATIC));
  EXPECT_TRUE(reopensThePreview(PBT_APMRESUMESUSPEND));
}

// Only the window in front reopens the preview: back at the launcher nothing is opened.
TEST_F(TVWindowFaults, AResumeBehindTheLauncherOpensNoPreview) {
  openTV();
  clickButton(tv(), "RETURN_BUTTON");
  ASSERT_EQ(g_pDisplayMode->GetMode(), 105);
  EXPECT_FALSE(reopensThePreview(PBT_APMRESUMESUSPEND));
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
}

TEST_F(TVWindowFaults, TheMinimiseButtonMinimisesTheLauncherAndCloseEndsTheProgram) {
  openTV();
  clickButton(tv(), "MINISIZE_BUTTON");
  EXPECT_TRUE(launcher->IsIconic());
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
  // The TV window, owned by the launcher, goes with it and comes back with it.
  EXPECT_FALSE(tv().IsWindowVisible());
  launcher->ShowWindow(SW_RESTORE);
  robot.pumpUntilIdle();
  ASSERT_TRUE(tv().IsWindowVisible());
  clickButton(tv(), "CLOSE_BUTTON");
  EXPECT_TRUE(programEnded());
}

// While recording the close button is disabled, and the system's close is refused too.
TEST_F(TVWindowFaults, WhileTheCloseButtonIsDisabledTheSystemCloseIsRefused) {
  openTV();
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 3, 0);
  robot.pumpUntilIdle();
  ASSERT_FALSE(tv().FindSkinButton("CLOSE_BUTTON")->IsEnabled());
  SendMessageA(tv().GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  robot.pumpUntilIdle();
  EXPECT_NE(launcher->GetTVDlg(), nullptr);
  SendMessageA(tv().GetSafeHwnd(), UM_RUNSTATE_CHANGED, 2, 0);
  robot.pumpUntilIdle();
  SendMessageA(tv().GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(programEnded());
}

}  // namespace
