// The hardware window: the four selectors with their labels and arrows, each choice
// carried out on the live graph by the controller (the device, the standard of the
// external inputs, the sound device, the input), the arrows each state allows, and the
// window's own ways of leaving.
#include "windows/setup/SettingsWindowsTest.h"

#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStatic.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"

#include <dshow/axextend.h>
#include <dshow/strmif.h>
#include <machine/CaptureCard.h>

namespace {

using Input = plat::TvStickCapture::Input;

class HardwareWindowTest : public test::SettingsWindowsTest {
 protected:
  CHardwareDlg& page() { return *g_hardwarePage; }
  std::string shown(const char* name) { return label(page(), name); }
  BOOL usable(const char* name) { return enabled(page(), name); }
  // A button's command as its click sends it, whatever state the button is in.
  void command(const char* name) {
    SendMessageA(page().GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(page().FindSkinButton(name)->GetCommandId()), 0);
    robot.pumpUntilIdle();
  }
};

TEST_F(HardwareWindowTest, OpensWithTheLivePicturesChoicesAndOnlyTheArrowsThatCanAct) {
  openLauncher();
  chooseAStation();
  openHardware();
  EXPECT_EQ(mode(), 175);
  EXPECT_TRUE(pictureIn(page().GetVideoArea())) << "the running preview is handed over";
  EXPECT_EQ(shown("VideoEquipment_Static"), "USB TV Device");
  EXPECT_EQ(shown("VideoPAL_Static"), "") << "no standard to choose on the tuner";
  EXPECT_EQ(shown("AudioEquipment_Static"), CAppController::GetMixerLineName());
  EXPECT_EQ(shown("AudioInputSource_Static"), "TV") << "the tuner, as the arrows name it";
  EXPECT_FALSE(usable("VideoEquipmentLeft_Button")) << "one capture device";
  EXPECT_FALSE(usable("VideoEquipmentRight_Button"));
  EXPECT_FALSE(usable("VideoPALLeft_Button"));
  EXPECT_FALSE(usable("AudioEquipmentRight_Button")) << "one audio device";
  EXPECT_TRUE(usable("AudioInputSourceLeft_Button"));
  EXPECT_TRUE(usable("AudioInputSourceRight_Button"));
  ASSERT_TRUE(untilAPictureShows());
  screenshot(page(), "hardware");
}

TEST_F(HardwareWindowTest, TheInputSourceGoesToCompositeWithItsStandardAndBack) {
  robot.showOnComposite("Bars");
  openHardware();
  clickButton(page(), "AudioInputSourceRight_Button");
  EXPECT_EQ(shown("AudioInputSource_Static"), "Composite");
  EXPECT_EQ(shown("VideoPAL_Static"), "PAL") << "the standard the live graph found on the bars";
  EXPECT_EQ(stick().input(), Input::Composite);
  EXPECT_EQ(g_pAppController->GetRunState(), 11);
  EXPECT_TRUE(usable("VideoPALLeft_Button"));
  EXPECT_TRUE(usable("VideoPALRight_Button"));
  screenshot(page(), "hardware_composite");

  clickButton(page(), "AudioInputSourceLeft_Button");
  EXPECT_EQ(shown("AudioInputSource_Static"), "TV");
  EXPECT_EQ(shown("VideoPAL_Static"), "");
  EXPECT_EQ(stick().input(), Input::Tuner);
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_FALSE(usable("VideoPALRight_Button"));
}

// From S-Video only the right arrow goes back to the tuner.
TEST_F(HardwareWindowTest, FromSVideoOnlyNextGoesToTheTuner) {
  openHardware();
  g_pAppController->SelectSVideo();
  robot.pumpUntilIdle();
  ASSERT_EQ(g_pAppController->GetRunState(), 13);
  command("AudioInputSourceLeft_Button");
  EXPECT_EQ(g_pAppController->GetRunState(), 13);
  EXPECT_EQ(stick().input(), Input::SVideo);
  command("AudioInputSourceRight_Button");
  EXPECT_EQ(shown("AudioInputSource_Static"), "TV");
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(stick().input(), Input::Tuner);
}

TEST_F(HardwareWindowTest, TheStandardStepsRoundItsFourNamesOnTheDecoder) {
  robot.showOnComposite("Bars");
  openHardware();
  command("VideoPALRight_Button");
  EXPECT_EQ(shown("VideoPAL_Static"), "") << "refused on the tuner, whatever the arrow's state";
  clickButton(page(), "AudioInputSourceRight_Button");
  ASSERT_EQ(shown("VideoPAL_Static"), "PAL");
  const struct {
    const char* button;
    const char* name;
    long decoder;
  } steps[] = {{"VideoPALRight_Button", "SECAM", AnalogVideo_SECAM_B},
               {"VideoPALRight_Button", "NTSC(n3.58)", AnalogVideo_NTSC_M},
               {"VideoPALRight_Button", "NTSC(n4.33)", AnalogVideo_NTSC_433},
               {"VideoPALLeft_Button", "NTSC(n3.58)", AnalogVideo_NTSC_M},
               {"VideoPALLeft_Button", "SECAM", AnalogVideo_SECAM_B}};
  for (const auto& step : steps) {
    clickButton(page(), step.button);
    EXPECT_EQ(shown("VideoPAL_Static"), step.name);
    EXPECT_EQ(stick().decoderStandard(), step.decoder) << step.name;
  }
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 3);
  EXPECT_EQ(stick().input(), Input::Composite);
}

TEST_F(HardwareWindowTest, TheSoundDeviceStepsOnlyWithTwoAndSwitchesTheGraphsSound) {
  openHardware();
  const std::string device = CAppController::GetMixerLineName();
  command("AudioEquipmentRight_Button");
  EXPECT_EQ(shown("AudioEquipment_Static"), device) << "one device: nothing to step to";

  // A second name for the same card (names are matched by their part): the graph takes
  // the sound from the device it names.
  CStringArray& devices = g_pAppSettings->AudioDeviceNames;
  devices.Add("Volume Control");
  g_pAppSettings->CaptureAudioLineNames.RemoveAll();
  command("AudioEquipmentRight_Button");
  EXPECT_EQ(shown("AudioEquipment_Static"), "Volume Control");
  EXPECT_STREQ(g_pAppSettings->AudioDeviceName, "Volume Control");
  EXPECT_GT(g_pAppSettings->CaptureAudioLineNames.GetSize(), 0) << "the graph opened the sound device again";
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  command("AudioEquipmentRight_Button");
  EXPECT_EQ(shown("AudioEquipment_Static"), device) << "round to the first";

  g_pAppController->StopPreview();
  command("AudioEquipmentLeft_Button");
  EXPECT_EQ(shown("AudioEquipment_Static"), device) << "not without a live picture";
}

// Opening the page while nothing is shown starts the picture in its own area; without a
// device that can show one, only the window's own buttons are left.
TEST_F(HardwareWindowTest, OpenedIdleThePageStartsThePictureOrLeavesOnlyTheWindowButtons) {
  openHubFromLauncher();
  g_pAppController->StopPreview();
  ASSERT_TRUE(g_pAppController->IsIdle());
  openHardware();
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_EQ(g_pAppController->GetVideoWindow(), page().GetVideoArea()->GetSafeHwnd());
  robot.key(VK_BACK);

  g_pAppController->StopPreview();
  robot.plugTvStick(false);
  robot.pumpUntilIdle();
  openHardware();
  EXPECT_TRUE(g_pAppController->IsIdle());
  for (const char* name : {"RETURN_BUTTON", "CLOSE_BUTTON", "NORMAL_BUTTON", "HELP_BUTTON", "MINISIZE_BUTTON"})
    EXPECT_TRUE(usable(name)) << name;
  for (const char* name : {"MAIN_BUTTON", "AudioInputSourceRight_Button", "VideoEquipmentLeft_Button"})
    EXPECT_FALSE(usable(name)) << name;
  EXPECT_EQ(shown("VideoEquipment_Static"), "");
  EXPECT_EQ(shown("AudioInputSource_Static"), "") << "no live picture, no input";
}

TEST_F(HardwareWindowTest, BackspaceGoesBackWhicheverControlHasTheFocus) {
  openHardware();
  page().FindSkinButton("AudioInputSourceRight_Button")->SetFocus();
  robot.key(VK_RETURN);
  EXPECT_EQ(mode(), 175) << "Enter goes to the arrow, not to the dialog manager";
  robot.key(VK_ESCAPE);
  EXPECT_EQ(mode(), 175);
  page().FindSkinButton("AudioInputSourceRight_Button")->SetFocus();
  robot.key(VK_BACK);
  EXPECT_EQ(mode(), 120);
  EXPECT_EQ(g_hardwarePage, nullptr);
  EXPECT_TRUE(hub().IsWindowVisible());
}

// A PC with a PCI TV card beside the stick.
class HardwareTwoDevicesTest : public HardwareWindowTest {
 protected:
  HardwareTwoDevicesTest() { machine().ini().setValue("CaptureCard", "Present", "1"); }
  plat::CaptureCard& card() { return machine().service<plat::CaptureCard>(); }
};

// The new live graph is the card's: it is given the picture values of the settings.
TEST_F(HardwareTwoDevicesTest, TheDeviceArrowsRebuildThePictureOnTheOtherDevice) {
  openHardware();
  ASSERT_EQ(CAppController::GetCaptureDeviceCount(), 2);
  EXPECT_TRUE(usable("VideoEquipmentRight_Button"));
  g_pAppSettings->Brightness = 100;
  const long cardBefore = card().procAmp(0);
  clickButton(page(), "VideoEquipmentRight_Button");
  EXPECT_EQ(shown("VideoEquipment_Static"), card().friendlyName());
  EXPECT_EQ(std::string(g_pAppSettings->CaptureDeviceName), card().friendlyName());
  EXPECT_TRUE(g_pAppController->IsPreviewing());
  EXPECT_EQ(g_pAppController->GetVideoWindow(), page().GetVideoArea()->GetSafeHwnd());
  EXPECT_NE(card().procAmp(0), cardBefore);
  EXPECT_EQ(card().procAmp(0), card().procAmpRange(0).max);
  clickButton(page(), "VideoEquipmentLeft_Button");
  EXPECT_EQ(shown("VideoEquipment_Static"), "USB TV Device") << "round the list";

  SendMessageA(launcherWindow(), UM_DEVICES_CHANGED, 1, 0);
  EXPECT_TRUE(IsWindowEnabled(page().FindSkinButton("VideoEquipmentLeft_Button")->GetSafeHwnd()))
      << "two devices still: the arrows stay";
}

}  // namespace
