// Mixer devices as the program finds them: counted from machine.ini, opened by id (also
// with the handle flag the program passes), the wave mapper's mixer found through its
// handle, and the failures another machine would give.
#include "MixerTest.h"

#include <cstring>

namespace {

using test::MixerTest;

class MixerDevices : public MixerTest {};

TEST_F(MixerDevices, TheDefaultMachineHasOneCardWithSpeakersAndRecording) {
  EXPECT_EQ(mixerGetNumDevs(), 1u);
  EXPECT_EQ(waveOutGetNumDevs(), 1u);
  MIXERCAPSA caps{};
  ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_STREQ(caps.szPname, "Onboard Audio");
  EXPECT_EQ(caps.cDestinations, 2u);
  EXPECT_EQ(mixerGetDevCapsA(1, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
}

TEST_F(MixerDevices, FurtherCardsComeFromTheirOwnSections) {
  auto& ini = machine().ini();
  ini.setValue("SoundCard2", "Product", "USB  Audio  Device");
  ini.setValue("SoundCard2", "WaveOut", "0");
  ini.setValue("SoundCard2", "Dst0", "Speakers, Speakers, 2, Volume");
  ini.setValue("SoundCard3", "Present", "0");
  ini.setValue("SoundCard3", "Product", "Unplugged");
  ini.setValue("SoundCard4", "Product", "Fourth");
  EXPECT_EQ(mixerGetNumDevs(), 3u);
  EXPECT_EQ(waveOutGetNumDevs(), 2u) << "the second card plays no wave output";
  MIXERCAPSA caps{};
  ASSERT_EQ(mixerGetDevCapsA(1, &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_STREQ(caps.szPname, "USB  Audio  Device");
  EXPECT_EQ(caps.cDestinations, 1u);
  ASSERT_EQ(mixerGetDevCapsA(2, &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_STREQ(caps.szPname, "Fourth");
  EXPECT_EQ(caps.cDestinations, 0u);
}

TEST_F(MixerDevices, LongProductNamesAreCutToTheCapsField) {
  machine().ini().setValue("SoundCard", "Product", std::string(40, 'x'));
  MIXERCAPSA caps{};
  ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_EQ(std::strlen(caps.szPname), static_cast<std::size_t>(MAXPNAMELEN - 1));
}

TEST_F(MixerDevices, TheWaveMappersMixerIsFoundThroughItsHandle) {
  const WAVEFORMATEX format = test::programWaveFormat();
  HWAVEOUT waveOut = nullptr;
  ASSERT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  UINT id = 99;
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(waveOut), &id, MIXER_OBJECTF_HWAVEOUT), MMSYSERR_NOERROR);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(waveOutClose(waveOut), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(waveOut), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(waveOut), &id, MIXER_OBJECTF_HWAVEOUT), MMSYSERR_INVALHANDLE);
}

TEST_F(MixerDevices, TheWaveMapperLeadsToTheFirstCardThatPlays) {
  auto& ini = machine().ini();
  ini.setValue("SoundCard", "WaveOut", "0");
  ini.setValue("SoundCard2", "Product", "Second");
  const WAVEFORMATEX format = test::programWaveFormat();
  HWAVEOUT waveOut = nullptr;
  ASSERT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  UINT id = 99;
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(waveOut), &id, MIXER_OBJECTF_HWAVEOUT), MMSYSERR_NOERROR);
  EXPECT_EQ(id, 1u);
  waveOutClose(waveOut);
}

TEST_F(MixerDevices, AnIdPassedWithTheHandleFlagOpensThatDevice) {
  HWND window = noticeWindow();
  ASSERT_NE(window, nullptr);
  HMIXER mixer = openMixer(window, 0);
  ASSERT_NE(mixer, nullptr);
  UINT id = 99;
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(mixer), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_NOERROR);
  EXPECT_EQ(id, 0u);
  // A handle named as an id is taken for the handle it is.
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(mixer), &id, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
  MIXERCAPSA caps{};
  EXPECT_EQ(mixerGetDevCapsA(reinterpret_cast<UINT_PTR>(mixer), &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_STREQ(caps.szPname, "Onboard Audio");
}

TEST_F(MixerDevices, OpenRefusesBadIdsCallbacksAndWindows) {
  ASSERT_NE(noticeWindow(), nullptr);  // a window system in use, with a window that is not the one named
  HMIXER mixer = reinterpret_cast<HMIXER>(1);
  EXPECT_EQ(mixerOpen(&mixer, 1, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(mixer, nullptr);
  EXPECT_EQ(mixerOpen(&mixer, 5, 0, 0, CALLBACK_NULL | MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, 0x00030000 /* a function callback */), MMSYSERR_INVALFLAG);
  EXPECT_EQ(mixerOpen(&mixer, 0, 12345, 0, CALLBACK_WINDOW), MMSYSERR_INVALPARAM) << "not a window";
  EXPECT_EQ(mixerOpen(nullptr, 0, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
}

TEST_F(MixerDevices, ACloseHandleIsGone) {
  HMIXER mixer = nullptr;
  ASSERT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
  EXPECT_EQ(mixerClose(mixer), MMSYSERR_INVALHANDLE);
  UINT id = 0;
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(mixer), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
}

TEST_F(MixerDevices, AMachineWithoutSoundCards) {
  machine().ini().setValue("SoundCard", "Present", "0");
  EXPECT_EQ(mixerGetNumDevs(), 0u);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  HMIXER mixer = nullptr;
  EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  const WAVEFORMATEX format = test::programWaveFormat();
  HWAVEOUT waveOut = nullptr;
  EXPECT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
}

TEST_F(MixerDevices, CardsTakenAwayWhileTheProgramRuns) {
  HMIXER mixer = openMixer();
  sound().setPresent(false);
  EXPECT_EQ(mixerGetNumDevs(), 0u);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  UINT id = 0;
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(mixer), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_NODRIVER);
  HMIXER another = nullptr;
  EXPECT_EQ(mixerOpen(&another, 0, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  sound().setPresent(true);
  EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(mixer), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_NOERROR);
}

TEST_F(MixerDevices, WaveOutputOpensOnlyPlayablePcm) {
  WAVEFORMATEX format = test::programWaveFormat();
  HWAVEOUT waveOut = nullptr;
  format.nAvgBytesPerSec = 22050;  // does not match rate × block
  EXPECT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
  format = test::programWaveFormat();
  format.wFormatTag = 2;
  EXPECT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
  format = test::programWaveFormat();
  EXPECT_EQ(waveOutOpen(&waveOut, 1, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, nullptr, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
  EXPECT_EQ(waveOutOpen(&waveOut, 0, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  waveOutClose(waveOut);
}

TEST_F(MixerDevices, WaveOutputThatRefusesToOpen) {
  sound().setWaveOutOpenFails(true);
  const WAVEFORMATEX format = test::programWaveFormat();
  HWAVEOUT waveOut = nullptr;
  EXPECT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
  EXPECT_EQ(waveOut, nullptr);
  EXPECT_EQ(mixerGetNumDevs(), 1u) << "the mixer itself is still there";
  sound().setWaveOutOpenFails(false);
  EXPECT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  waveOutClose(waveOut);
}

}  // namespace
