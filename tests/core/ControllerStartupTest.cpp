// The controller's start-up on a fresh and on a used machine: the settings file, the
// country taken from the region (or kept), the name lists, the channel file, the capture
// device check, the volume, and a second start-up that creates nothing twice.
#include "CoreTest.h"

#include "core/data/CChannelList.h"

#include <machine/TvStickControl.h>
#include <vendor/chanloret/Chanloret.h>
#include <win32/registry.h>
#include <winmm/SoundSystem.h>
#include <winmm/mmsystem.h>

namespace {

using test::Bytes;
using test::intAt;
using test::putInt;
using test::putText;

class ControllerStartupTest : public test::ControllerTest {
 protected:
  std::string settingsPath() { return programPath("ZRQData.dat"); }
  std::string channelPath() { return programPath("ZRQChannels.chl"); }

  // A settings file of an earlier run, with another country and capture device.
  void writeSettings(int country, int followRegion, const std::string& captureDevice = "USB TV Device") {
    Bytes bytes = test::defaultSettingsBytes(programPath(""));
    putInt(bytes, 8, followRegion);
    putInt(bytes, 52, country);
    std::memset(bytes.data() + 728, 0, 40);
    putText(bytes, 728, captureDevice);
    writeBytes(settingsPath(), bytes);
  }
  // A channel file of one antenna channel.
  Bytes writeOneChannelFile() {
    Bytes bytes(16 + 84, 0);
    putInt(bytes, 0, 5);
    putInt(bytes, 8, 1);
    putText(bytes, 16 + 4, "PAL_I");
    putText(bytes, 16 + 14, "My Channel");
    float mhz = 471.25f;
    std::memcpy(bytes.data() + 16 + 76, &mhz, 4);
    putInt(bytes, 16 + 80, 5);
    writeBytes(channelPath(), bytes);
    return bytes;
  }
  void removeRegionCountry() {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegDeleteValueA(key, "iCountry");
    RegCloseKey(key);
  }
  static int planCount(const FrequencyTable* table, int plan) {
    return plan == 1 ? table->LastChannel1 - table->FirstChannel1 + 1 : table->LastChannel2 - table->FirstChannel2 + 1;
  }
};

TEST_F(ControllerStartupTest, AFreshMachineGetsTheDefaultsAndTheCountrysChannels) {
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(readBytes(settingsPath()), test::defaultSettingsBytes(programPath("")));
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath(programPath("Videos"))));
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath(programPath("Picture"))));

  ASSERT_NE(g_pAppSettings, nullptr);
  EXPECT_EQ(g_pAppSettings->CountryCode, 1);
  EXPECT_EQ(std::string(g_pAppSettings->ProgramFolder), programPath(""));
  ASSERT_GT(g_pAppSettings->CountryNames.GetSize(), 10);
  EXPECT_STREQ(g_pAppSettings->CountryNames.GetAt(controller->GetCountryIndex()), "United States");
  ASSERT_EQ(g_pAppSettings->AvStandardNames.GetSize(), 4);
  EXPECT_STREQ(g_pAppSettings->AvStandardNames.GetAt(3), "SECAM");

  // The channel file holds the United States' two plans, the current channels 1.
  const FrequencyTable* table = getFrequencyTableFromCountryCode(1);
  ASSERT_NE(table, nullptr);
  Bytes channels = readBytes(channelPath());
  ASSERT_GE(channels.size(), 16u);
  EXPECT_EQ(intAt(channels, 0), 1);
  EXPECT_EQ(intAt(channels, 8), planCount(table, 1));
  EXPECT_EQ(intAt(channels, 12), planCount(table, 2));
  EXPECT_EQ(channels.size(), 16u + 84u * (planCount(table, 1) + planCount(table, 2)));
  ASSERT_NE(g_pChannelList, nullptr);
  EXPECT_EQ(g_pChannelList->GetChannelCount(2), planCount(table, 2));

  ASSERT_NE(g_pTunedChannelRecord, nullptr);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 0);
  EXPECT_EQ(g_pDeviceControl, nullptr);  // opened only by a preview
}

TEST_F(ControllerStartupTest, TheStoredVolumeIsAppliedToTheMixer) {
  ASSERT_EQ(startUp(), 1);
  plat::SoundSystem& sound = plat::SoundSystem::current();
  DWORD control = *sound.findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_VOLUME);
  EXPECT_EQ(sound.controlValues(0, control), (std::vector<DWORD>{1 + 655 * 50, 1 + 655 * 50}));
}

TEST_F(ControllerStartupTest, ASecondStartUpCreatesNothingTwice) {
  ASSERT_EQ(startUp(), 1);
  CAppSettings* settings = g_pAppSettings;
  CChannelList* channels = g_pChannelList;
  ChannelRecord* tuned = g_pTunedChannelRecord;
  settings->Volume = 10;  // would be reset by a reload
  ASSERT_EQ(controller->Startup(), 1);
  EXPECT_EQ(g_pAppSettings, settings);
  EXPECT_EQ(g_pChannelList, channels);
  EXPECT_EQ(g_pTunedChannelRecord, tuned);
  EXPECT_EQ(g_pAppSettings->Volume, 10);
}

TEST_F(ControllerStartupTest, ACountryTakenFromTheRegionRebuildsTheChannelFile) {
  writeSettings(44, 1);
  writeOneChannelFile();
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(g_pAppSettings->CountryCode, 1);
  const FrequencyTable* table = getFrequencyTableFromCountryCode(1);
  Bytes channels = readBytes(channelPath());
  EXPECT_EQ(intAt(channels, 8), planCount(table, 1));
  EXPECT_EQ(g_pChannelList->GetChannelCount(1), planCount(table, 1));
}

TEST_F(ControllerStartupTest, WithoutARegionTheStoredCountryAndItsChannelsStay) {
  removeRegionCountry();
  writeSettings(44, 1);
  Bytes file = writeOneChannelFile();
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(g_pAppSettings->CountryCode, 44);
  EXPECT_EQ(readBytes(channelPath()), file);
  EXPECT_EQ(g_pChannelList->GetChannelCount(1), 1);
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 5);
}

TEST_F(ControllerStartupTest, WithoutFollowingTheRegionTheStoredCountryStays) {
  writeSettings(44, 0);
  Bytes file = writeOneChannelFile();
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(g_pAppSettings->CountryCode, 44);
  EXPECT_EQ(readBytes(channelPath()), file);
}

TEST_F(ControllerStartupTest, AnUnreadableChannelFileIsReplacedByTheCountrysPlans) {
  writeSettings(1, 1);
  writeBytes(channelPath(), Bytes(7, 0xEE));
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(g_pChannelList->GetChannelCount(1), planCount(getFrequencyTableFromCountryCode(1), 1));
}

TEST_F(ControllerStartupTest, GarbageSettingsStillStartAndAreRepaired) {
  Bytes garbage(768);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(0x80 + i * 7);
  std::memcpy(garbage.data() + 728, "USB TV Device", 14);
  writeBytes(settingsPath(), garbage);
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 0);
  EXPECT_EQ(g_pAppSettings->VideoInput, 2);
  EXPECT_EQ(std::string(g_pAppSettings->VideoFolder), programPath("Videos\\"));
}

TEST_F(ControllerStartupTest, ACaptureDeviceOtherThanTheStickNeedsADevicePresent) {
  writeSettings(1, 1, "Other Camera");
  plat::Machine::current().service<plat::TvStickControl>().setPlugged(false);
  EXPECT_EQ(startUp(), 0);
  // What was made so far stays; nothing after the settings was made.
  ASSERT_NE(g_pAppSettings, nullptr);
  EXPECT_STREQ(g_pAppSettings->CaptureDeviceName, "Other Camera");
  EXPECT_EQ(g_pChannelList, nullptr);
}

TEST_F(ControllerStartupTest, ThePluggedStickIsTakenForAnotherStoredCaptureDevice) {
  writeSettings(1, 1, "Other Camera");
  ASSERT_EQ(startUp(), 1);
  ASSERT_EQ(g_pAppSettings->CaptureDeviceNames.GetSize(), 1);
  EXPECT_STREQ(g_pAppSettings->CaptureDeviceNames.GetAt(0), "USB TV Device");
  EXPECT_STREQ(g_pAppSettings->CaptureDeviceName, "USB TV Device");
}

TEST_F(ControllerStartupTest, AStoredNameHoldingTheSticksNameNeedsNoDeviceCheck) {
  writeSettings(1, 1, "My USB TV Device 2");
  machine().service<plat::TvStickControl>().setPlugged(false);
  ASSERT_EQ(startUp(), 1);
  EXPECT_EQ(g_pAppSettings->CaptureDeviceNames.GetSize(), 0);
  EXPECT_STREQ(g_pAppSettings->CaptureDeviceName, "My USB TV Device 2");
}

TEST_F(ControllerStartupTest, ASettingsFileThatCannotBeWrittenFailsStartUp) {
  std::filesystem::create_directories(linuxPath(settingsPath()));  // a folder in the file's place
  EXPECT_EQ(startUp(), 0);
  EXPECT_NE(g_pAppSettings, nullptr);
  EXPECT_EQ(g_pChannelList, nullptr);
}

}  // namespace
