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

TEST_F(VolumeMixerTest, TheVolumeReadsTheFirstChannelAndTheRangeComesFromTheControl) {
  CVolumeMixer mixer;
  ASSERT_TRUE(mixer.IsReady());
  EXPECT_EQ(mixer.GetMin(), 0);
  EXPECT_EQ(mixer.GetMax(), 65535);
  EXPECT_GT(mixer.GetSteps(), 0);
  ASSERT_EQ(sound().writeControl(0, speakersVolumeControl(), {1200, 4800}, false), MMSYSERR_NOERROR);
  EXPECT_EQ(mixer.GetVolume(), 1200);
}

TEST_F(VolumeMixerTest, WithoutAVolumeControlEveryQueryAnswersMinusOne) {
  sound().setControlDisabled(0, speakersVolumeControl(), true);
  CVolumeMixer mixer;
  EXPECT_EQ(mixer.GetVolume(), -1);
  EXPECT_EQ(mixer.GetMin(), -1);
  EXPECT_EQ(mixer.GetMax(), -1);
  EXPECT_EQ(mixer.GetSteps(), -1);
}

TEST_F(VolumeMixerTest, WithoutSpeakersTheWaveThenTheLineInLineIsUsed) {
  machine().ini().setValue("SoundCard", "Dst0", "Volume Control, WaveIn, 2, Mux");
  machine().ini().setValue("SoundCard", "Dst0Src0", "Line In, Line, 2, Volume Mute");
  machine().ini().removeKey("SoundCard", "Dst0Src1");
  CVolumeMixer mixer;
  ASSERT_TRUE(mixer.IsReady());
  mixer.SetVolume(700);
  DWORD lineVolume = *sound().findControl(0, MIXERLINE_COMPONENTTYPE_SRC_LINE, MIXERCONTROL_CONTROLTYPE_VOLUME);
  EXPECT_EQ(sound().controlValues(0, lineVolume), (std::vector<DWORD>{700, 700}));
}

TEST_F(VolumeMixerTest, MutingSetsTheLinesMuteControlAndUnmutingClearsIt) {
  CVolumeMixer mixer;
  ASSERT_TRUE(mixer.IsReady());
  DWORD mute = *sound().findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_MUTE);
  mixer.LineOff();
  EXPECT_EQ(sound().controlValues(0, mute), (std::vector<DWORD>{1}));  // a uniform control
  mixer.LineOn();
  EXPECT_EQ(sound().controlValues(0, mute), (std::vector<DWORD>{0}));
  // The volume is left alone.
  EXPECT_EQ(sound().controlValues(0, speakersVolumeControl()).size(), 2u);
  for (const auto& write : sound().programWrites()) EXPECT_NE(write.controlId, speakersVolumeControl());
}

TEST_F(VolumeMixerTest, MutingWritesEveryItemOfTheLinesSelectControls) {
  machine().ini().setValue("SoundCard", "Dst0", "Volume Control, Speakers, 2, Volume Mute Mixer");
  CVolumeMixer mixer;
  ASSERT_TRUE(mixer.IsReady());
  DWORD select = *sound().findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_MIXER);
  mixer.LineOn();
  std::vector<DWORD> on = sound().controlValues(0, select);
  ASSERT_FALSE(on.empty());
  EXPECT_EQ(on, std::vector<DWORD>(on.size(), 1));
  mixer.LineOff();
  EXPECT_EQ(sound().controlValues(0, select), std::vector<DWORD>(on.size(), 0));
}

TEST_F(VolumeMixerTest, WithoutASoundCardMutingWritesNothing) {
  sound().setPresent(false);
  CVolumeMixer mixer;
  mixer.LineOff();
  mixer.LineOn();
  EXPECT_TRUE(sound().programWrites().empty());
}

struct VolumeChange {
  long volume;
  DWORD_PTR user;
};
std::vector<VolumeChange> g_changes;
void recordChange(long volume, DWORD_PTR user) { g_changes.push_back({volume, user}); }

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

TEST_F(VolumeMixerTest, AVolumeChangedByAnotherProgramReachesTheCallback) {
  g_changes.clear();
  CVolumeMixer mixer;
  ASSERT_TRUE(mixer.IsReady());
  EXPECT_EQ(CVolumeMixer::Current(), &mixer);
  EXPECT_EQ(mixer.SetChangeCallback(recordChange, 42), &recordChange);
  ASSERT_EQ(sound().writeControl(0, speakersVolumeControl(), {9000, 9000}, false), MMSYSERR_NOERROR);
  DWORD mute = *sound().findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_MUTE);
  ASSERT_EQ(sound().writeControl(0, mute, {1}, false), MMSYSERR_NOERROR);  // not the volume: ignored
  pumpMessages();
  ASSERT_EQ(g_changes.size(), 1u);
  EXPECT_EQ(g_changes[0].volume, 9000);
  EXPECT_EQ(g_changes[0].user, 42u);
}

TEST_F(VolumeMixerTest, AChangeWithoutACallbackOrAfterTheMixerWentIsHarmless) {
  g_changes.clear();
  {
    CVolumeMixer mixer;
    ASSERT_TRUE(mixer.IsReady());
    sound().writeControl(0, speakersVolumeControl(), {100, 100}, false);
    pumpMessages();
  }
  EXPECT_EQ(CVolumeMixer::Current(), nullptr);
  sound().writeControl(0, speakersVolumeControl(), {200, 200}, false);
  pumpMessages();
  EXPECT_TRUE(g_changes.empty());
}

TEST_F(VolumeMixerTest, AMixerWithoutAnyVolumeLineIsNotCurrentAndKeepsNoWindow) {
  machine().ini().setValue("SoundCard", "Dst0", "Recording Control, WaveIn, 2, Mux");
  machine().ini().setValue("SoundCard", "Dst0Src0", "Aux, 9999, 2, Volume");
  machine().ini().removeKey("SoundCard", "Dst0Src1");
  machine().ini().removeKey("SoundCard", "Dst1");
  CVolumeMixer mixer;
  EXPECT_FALSE(mixer.IsReady());
  EXPECT_EQ(CVolumeMixer::Current(), nullptr);
  EXPECT_EQ(FindWindowA("TALVIK Volume Msg Wnd Class", "TALVIK Volume Msg Wnd"), nullptr);
  mixer.LineOff();
  EXPECT_TRUE(sound().programWrites().empty());
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
