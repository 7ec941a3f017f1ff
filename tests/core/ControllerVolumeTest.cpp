// The controller's sound operations: volume keys and slider on the settings and the mixer,
// muting, the volume display's timer while recording, the audio line names, and the
// muted tunings of the channel list.
#include "CoreTest.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"

#include <mfc/afxwin.h>
#include <win32/user.h>
#include <winmm/SoundSystem.h>
#include <winmm/mmsystem.h>

namespace {

class ControllerVolumeTest : public test::LauncherTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(openLauncher());
    prepareMachine();
    ASSERT_EQ(startUp(), 1);
  }
  // Changes to the machine's hardware, made before the controller starts.
  virtual void prepareMachine() {}

  plat::SoundSystem& sound() { return plat::SoundSystem::current(); }
  DWORD speakers(DWORD controlType) {
    return *sound().findControl(0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, controlType);
  }
  DWORD speakersVolume() { return sound().controlValues(0, speakers(MIXERCONTROL_CONTROLTYPE_VOLUME))[0]; }
  DWORD speakersMute() { return sound().controlValues(0, speakers(MIXERCONTROL_CONTROLTYPE_MUTE))[0]; }
  void enter(int state) { controller->GetRunStateHolder()->SetState(state); }

  // WM_TIMER messages for timer 333 that reached the main window so far.
  int osdTimerTicks() {
    int ticks = 0;
    MSG msg;
    while (PeekMessageA(&msg, frame->GetSafeHwnd(), WM_TIMER, WM_TIMER, PM_REMOVE))
      ticks += msg.wParam == CAppController::kOsdTimer;
    return ticks;
  }

};

TEST_F(ControllerVolumeTest, StepsMoveByFiveWithinTheScaleAndReachTheMixer) {
  enter(2);
  g_pAppSettings->Volume = 98;
  EXPECT_EQ(controller->VolumeStep(0), 100);
  EXPECT_EQ(speakersVolume(), 1u + 655u * 100u);
  EXPECT_EQ(controller->VolumeStep(0), 100);

  g_pAppSettings->Volume = 3;
  EXPECT_EQ(controller->VolumeStep(1), 0);
  EXPECT_EQ(g_pAppSettings->Volume, 0);
  EXPECT_EQ(speakersVolume(), 1u);
  EXPECT_EQ(controller->ReadVolume(), 1);
}

TEST_F(ControllerVolumeTest, OnlyAPlayingPictureOrFileTakesVolumeChanges) {
  g_pAppSettings->Volume = 40;
  for (int state : {0, 1, 6, 9}) {
    enter(state);
    EXPECT_EQ(controller->VolumeStep(0), 0) << "run state " << state;
    EXPECT_EQ(controller->SetVolume(70), 0) << "run state " << state;
  }
  EXPECT_EQ(g_pAppSettings->Volume, 40);
  for (int state : {2, 11, 13, 3, 12, 14, 7, 4}) {
    enter(state);
    EXPECT_EQ(controller->SetVolume(state), 1) << "run state " << state;
    EXPECT_EQ(g_pAppSettings->Volume, state);
  }
}

TEST_F(ControllerVolumeTest, ASetLevelIsKeptOnTheScale) {
  enter(11);
  EXPECT_EQ(controller->SetVolume(150), 1);
  EXPECT_EQ(g_pAppSettings->Volume, 100);
  EXPECT_EQ(controller->SetVolume(-20), 1);
  EXPECT_EQ(g_pAppSettings->Volume, 0);
  EXPECT_EQ(speakersVolume(), 1u);
}

TEST_F(ControllerVolumeTest, AudioOffMutesTheLineAndAVolumeChangeUnmutesIt) {
  enter(2);
  controller->SetAudioOn(0);
  EXPECT_EQ(controller->IsMuted(), 1);
  EXPECT_EQ(speakersMute(), 1u);
  EXPECT_EQ(controller->VolumeStep(0), 55);
  EXPECT_EQ(controller->IsMuted(), 0);
  EXPECT_EQ(speakersMute(), 0u);
}

TEST_F(ControllerVolumeTest, WhileRecordingTheVolumeDisplayTimerRestartsWithEachChange) {
  enter(3);
  controller->VolumeStep(0);
  machine().clock().advance(4000);
  controller->VolumeStep(0);  // restarts the 6 s
  machine().clock().advance(4000);
  EXPECT_EQ(osdTimerTicks(), 0);
  machine().clock().advance(2000);
  EXPECT_EQ(osdTimerTicks(), 1);

  controller->StopOsdTimer();
  machine().clock().advance(7000);
  EXPECT_EQ(osdTimerTicks(), 0);
  controller->StopOsdTimer();  // a second stop does nothing
}

TEST_F(ControllerVolumeTest, LiveViewSetsNoVolumeDisplayTimer) {
  enter(2);
  controller->VolumeStep(0);
  machine().clock().advance(7000);
  EXPECT_EQ(osdTimerTicks(), 0);
}

TEST_F(ControllerVolumeTest, ShutdownEndsTheVolumeDisplayTimer) {
  enter(12);
  controller->VolumeStep(1);
  deleteController();
  machine().clock().advance(7000);
  EXPECT_EQ(osdTimerTicks(), 0);
}

class TwoSoundCards : public ControllerVolumeTest {
 protected:
  void prepareMachine() override {
    machine().ini().setValue("SoundCard2", "Product", "USB Audio Device");
    machine().ini().setValue("SoundCard2", "Dst0", "Speaker, Speakers, 2, Volume");
    machine().ini().setValue("SoundCard2", "Dst0Src0", "USB Line, Line, 2, Volume");
    machine().ini().setValue("SoundCard2", "Dst0Src1", "USB Mic, Microphone, 1, Volume");
  }
};

TEST_F(TwoSoundCards, AudioLineNamesAreTheSpeakerSourcesOfTheNamedMixer) {
  auto names = [] {
    std::vector<std::string> out;
    for (int i = 0; i < g_pAppSettings->AudioLineNames.GetSize(); ++i)
      out.emplace_back(g_pAppSettings->AudioLineNames[i]);
    return out;
  };
  std::strcpy(g_pAppSettings->AudioDeviceName, "USBAudio Device");
  CAppController::FillMixerLineNames();
  EXPECT_EQ(names(), (std::vector<std::string>{"USB Line", "USB Mic"}));

  std::strcpy(g_pAppSettings->AudioDeviceName, "Unknown card");  // the first mixer
  CAppController::FillMixerLineNames();
  EXPECT_EQ(names(), (std::vector<std::string>{"Wave", "Line In", "CD Audio", "Microphone", "SW Synth"}));

  g_pAppSettings->AudioDeviceName[0] = '\0';
  CAppController::FillMixerLineNames();
  EXPECT_TRUE(names().empty());
}

TEST_F(ControllerVolumeTest, MutedTuningsSwitchTheSoundOffAroundTheTunerWrite) {
  ASSERT_NE(g_pChannelList, nullptr);
  const DWORD mute = speakers(MIXERCONTROL_CONTROLTYPE_MUTE);
  auto muteWrites = [&] {
    std::vector<DWORD> values;
    for (const auto& write : sound().programWrites())
      if (write.controlId == mute) values.push_back(write.values[0]);
    return values;
  };
  const std::size_t before = muteWrites().size();
  ASSERT_EQ(g_pChannelList->TuneNumberMuted(2, 1), 1);
  std::vector<DWORD> writes = muteWrites();
  EXPECT_EQ(std::vector<DWORD>(writes.begin() + before, writes.end()), (std::vector<DWORD>{1, 0}));
  EXPECT_EQ(controller->IsMuted(), 0);

  ASSERT_EQ(g_pChannelList->TuneNumber(3, 1), 1);  // not muted
  EXPECT_EQ(muteWrites().size(), writes.size());
}

}  // namespace
