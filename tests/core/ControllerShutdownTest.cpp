// The controller's shut-down: both files saved, the device reset, everything released and
// the timers gone, also when a save fails, without losing what is on disk.
#include "CoreTest.h"

#include "core/CDeviceList.h"
#include "core/data/CChannelList.h"

#include <machine/TvStickControl.h>
#include <vendor/qxmdll/QXUSBControl.h>

namespace {

using test::Bytes;
using test::intAt;

class ControllerShutdownTest : public test::ControllerTest {
 protected:
  std::string settingsPath() { return programPath("ZRQData.dat"); }
  std::string channelPath() { return programPath("ZRQChannels.chl"); }
  plat::TvStickControl& stick() { return machine().service<plat::TvStickControl>(); }

  void expectEverythingReleased() {
    EXPECT_EQ(g_pAppSettings, nullptr);
    EXPECT_EQ(g_pChannelList, nullptr);
    EXPECT_EQ(g_pDeviceControl, nullptr);
    EXPECT_EQ(g_pTunedChannelRecord, nullptr);
    EXPECT_EQ(g_pCurrentChannelRecord, nullptr);
    EXPECT_EQ(g_pPreviousChannelRecord, nullptr);
    EXPECT_EQ(CDeviceList::Instance(), nullptr);
  }
  // The register writes the stick saw, as (register, value).
  std::vector<std::pair<int, int>> registerWrites() {
    std::vector<std::pair<int, int>> writes;
    for (const auto& write : stick().writes()) {
      if (write.kind == plat::TvStickControl::Write::Kind::Register) writes.emplace_back(write.address, write.value);
    }
    return writes;
  }
};

TEST_F(ControllerShutdownTest, SavesBothFilesAndReleasesEverything) {
  ASSERT_EQ(startUp(), 1);
  g_pAppSettings->Volume = 33;
  g_pChannelList->SetCurrentChannel(7, 2);
  ASSERT_EQ(controller->Shutdown(), 1);
  expectEverythingReleased();
  EXPECT_EQ(intAt(readBytes(settingsPath()), 76), 33);
  EXPECT_EQ(intAt(readBytes(channelPath()), 4), 7);
}

TEST_F(ControllerShutdownTest, DeletingTheControllerShutsDown) {
  ASSERT_EQ(startUp(), 1);
  g_pAppSettings->Brightness = 77;
  deleteController();
  expectEverythingReleased();
  EXPECT_EQ(intAt(readBytes(settingsPath()), 24), 77);
}

TEST_F(ControllerShutdownTest, SettingsDeletedWhileRunningAreSavedAsTheyAre) {
  ASSERT_EQ(startUp(), 1);
  g_pAppSettings->Hue = 12;
  std::filesystem::remove(linuxPath(settingsPath()));
  ASSERT_EQ(controller->Shutdown(), 1);
  EXPECT_EQ(intAt(readBytes(settingsPath()), 32), 12);
}

TEST_F(ControllerShutdownTest, APluggedStickIsResetAndClosed) {
  ASSERT_EQ(startUp(), 1);
  CAppController::OpenDeviceControl();
  ASSERT_NE(g_pDeviceControl, nullptr);
  ASSERT_EQ(g_pDeviceControl->SetRegData(0xC16F, 255), 0);
  ASSERT_EQ(controller->Shutdown(), 1);
  auto writes = registerWrites();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0], std::make_pair(0xC16F, 0));    // on opening
  EXPECT_EQ(writes[1], std::make_pair(0xC16F, 255));
  EXPECT_EQ(writes[2], std::make_pair(0xC16F, 0));    // on shutting down
  expectEverythingReleased();
}

TEST_F(ControllerShutdownTest, AnUnpluggedStickIsNeverTouched) {
  stick().setPlugged(false);
  ASSERT_EQ(startUp(), 1);
  CAppController::OpenDeviceControl();
  EXPECT_EQ(g_pDeviceControl, nullptr);
  ASSERT_EQ(controller->Shutdown(), 1);
  EXPECT_TRUE(stick().writes().empty());
  expectEverythingReleased();
}

TEST_F(ControllerShutdownTest, AFailedSaveIsReportedButEverythingIsReleasedAndNothingOnDiskLost) {
  ASSERT_EQ(startUp(), 1);
  CAppController::OpenDeviceControl();
  // Folders in the files' places: neither file can be written, and what is there stays.
  std::filesystem::remove(linuxPath(settingsPath()));
  std::filesystem::remove(linuxPath(channelPath()));
  std::filesystem::create_directories(linuxPath(settingsPath()));
  std::filesystem::create_directories(linuxPath(channelPath()));
  EXPECT_EQ(controller->Shutdown(), 0);
  expectEverythingReleased();
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath(settingsPath())));
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath(channelPath())));
  EXPECT_EQ(registerWrites().back(), std::make_pair(0xC16F, 0));
}

TEST_F(ControllerShutdownTest, AProgramFolderThatHasGoneFailsTheSavesAndStillReleases) {
  ASSERT_EQ(startUp(), 1);
  std::filesystem::remove_all(testMachine.programFolder());
  EXPECT_EQ(controller->Shutdown(), 0);
  expectEverythingReleased();
  EXPECT_FALSE(std::filesystem::exists(testMachine.programFolder()));
}

TEST_F(ControllerShutdownTest, ShuttingDownTwiceIsHarmless) {
  ASSERT_EQ(startUp(), 1);
  ASSERT_EQ(controller->Shutdown(), 1);
  EXPECT_EQ(controller->Shutdown(), 1);
  expectEverythingReleased();
}

}  // namespace
