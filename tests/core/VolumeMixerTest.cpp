// The volume mixer on the machine's sound card, and the mixer source names the settings'
// defaults take.
#include "CoreTest.h"

#include "core/CAppController.h"
#include "core/CVolumeMixer.h"

#include <win32/user.h>
#include <winmm/SoundSystem.h>
#include <winmm/mmsystem.h>

namespace {

using test::Bytes;
using test::textAt;

class VolumeMixerTest : public test::SettingsTest {
 protected:
  plat::SoundSystem& sound() { return plat::SoundSystem::current(); }
  DWORD speakersVolumeControl() {
    return *sound().findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_VOLUME);
  }
};

TEST_F(VolumeMixerTest, TheSpeakersVolumeIsSetOnEveryChannelWithinItsRange) {
  CVolumeMixer mixer;
  ASSERT_TRUE(mixer.IsReady());
  mixer.SetVolume(32751);
  EXPECT_EQ(sound().controlValues(0, speakersVolumeControl()), (std::vector<DWORD>{32751, 32751}));
  mixer.SetVolume(70000);  // beyond the control's maximum: nothing written
  EXPECT_EQ(sound().controlValues(0, speakersVolumeControl()), (std::vector<DWORD>{32751, 32751}));
}

TEST_F(VolumeMixerTest, WithoutASoundCardTheMixerIsNotReadyAndDoesNothing) {
  sound().setPresent(false);
  CVolumeMixer mixer;
  EXPECT_FALSE(mixer.IsReady());
  mixer.SetVolume(100);
}

TEST_F(VolumeMixerTest, TheHiddenWindowLivesAsLongAsTheMixer) {
  {
    CVolumeMixer mixer;
    ASSERT_TRUE(mixer.IsReady());
    EXPECT_NE(FindWindowA("TALVIK Volume Msg Wnd Class", "TALVIK Volume Msg Wnd"), nullptr);
  }
  EXPECT_EQ(FindWindowA("TALVIK Volume Msg Wnd Class", "TALVIK Volume Msg Wnd"), nullptr);
}

TEST_F(VolumeMixerTest, ADisabledVolumeControlIsNotUsed) {
  sound().setControlDisabled(0, speakersVolumeControl(), true);
  CVolumeMixer mixer;
  EXPECT_FALSE(mixer.IsReady());
}

TEST_F(VolumeMixerTest, WaveOutThatCannotOpenLeavesNoMixer) {
  sound().setWaveOutOpenFails(true);
  CVolumeMixer mixer;
  EXPECT_FALSE(mixer.IsReady());
}

TEST_F(VolumeMixerTest, SourceNamesComeFromTheChosenSideOfTheChosenMixer) {
  machine().ini().setValue("SoundCard", "Dst0Src1", "Rear Line Jack, Line, 2, Volume Mute");
  machine().ini().setValue("SoundCard", "Dst1Src0", "Line Capture, Line, 2, Volume");
  machine().ini().setValue("SoundCard2", "Product", "USB Audio Device");
  machine().ini().setValue("SoundCard2", "Dst0", "Speaker, Speakers, 2, Volume");
  machine().ini().setValue("SoundCard2", "Dst0Src0", "USB Line, Line, 2, Volume");
  CString name;
  ASSERT_EQ(CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, name, 0, nullptr), 1);
  EXPECT_STREQ(name, "Rear Line Jack");
  ASSERT_EQ(CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, name, 1, nullptr), 1);
  EXPECT_STREQ(name, "Line Capture");
  ASSERT_EQ(CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, name, 0, ""), 1);
  EXPECT_STREQ(name, "Microphone");
  // The mixer named without its spaces is chosen; an unknown name falls back to the first.
  ASSERT_EQ(CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, name, 0, "USBAudioDevice"), 1);
  EXPECT_STREQ(name, "USB Line");
  ASSERT_EQ(CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, name, 0, "Nothing"), 1);
  EXPECT_STREQ(name, "Rear Line Jack");
  EXPECT_EQ(CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, name, 1, "USB Audio Device"), 0);
}

TEST_F(VolumeMixerTest, DefaultsTakeTheMixerNamesBoundedToTheirFields) {
  const std::string longName(60, 'N');
  machine().ini().setValue("SoundCard", "Dst0Src1", longName + ", Line, 2, Volume Mute");
  machine().ini().setValue("SoundCard", "Dst1Src0", "Capture Jack, Line, 2, Volume");
  std::string path = programPath("ZRQData.dat");
  ASSERT_EQ(CAppController::WriteDefaultSettings(path.c_str()), 1);
  Bytes bytes = readBytes(path);
  EXPECT_EQ(textAt(bytes, 608, 40), std::string(40, 'N'));
  EXPECT_EQ(textAt(bytes, 648, 40), "Capture Jack");
}

TEST_F(VolumeMixerTest, DefaultsFallBackToTheMicrophoneThenToLineIn) {
  machine().ini().removeKey("SoundCard", "Dst0Src1");  // ends the speakers' sources after Wave
  machine().ini().setValue("SoundCard", "Dst0Src1", "Mic Jack, Microphone, 1, Volume Mute");
  std::string path = programPath("ZRQData.dat");
  ASSERT_EQ(CAppController::WriteDefaultSettings(path.c_str()), 1);
  EXPECT_EQ(textAt(readBytes(path), 608, 40), "Mic Jack");

  sound().setPresent(false);
  ASSERT_EQ(CAppController::WriteDefaultSettings(path.c_str()), 1);
  Bytes bytes = readBytes(path);
  EXPECT_EQ(textAt(bytes, 608, 40), "Line In");
  EXPECT_EQ(textAt(bytes, 648, 40), "Line In");
}

}  // namespace
