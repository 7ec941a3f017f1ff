// Change notices: every open mixer with a window hears of a control change, whoever made
// it (this program, another program, the wave-out volume), and of a line change; nothing
// is posted when nothing changed, and a closed mixer hears nothing more.
#include "MixerTest.h"

#include <thread>

namespace {

using test::MixerTest;

class MixerNotices : public MixerTest {
 protected:
  void SetUp() override {
    m_window = noticeWindow();
    ASSERT_NE(m_window, nullptr);
    m_mixer = openMixer(m_window);
    const MIXERLINEA speakers = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    m_volume = controlOfType(m_mixer, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME).dwControlID;
  }

  HWND m_window = nullptr;
  HMIXER m_mixer = nullptr;
  DWORD m_volume = 0;
};

TEST_F(MixerNotices, AnotherProgramMovingTheVolumeIsHeard) {
  ASSERT_EQ(sound().writeControl(0, m_volume, {30000, 30000}, false), MMSYSERR_NOERROR);
  const auto heard = notices(m_window);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].message, static_cast<UINT>(MM_MIXM_CONTROL_CHANGE));
  EXPECT_EQ(heard[0].wParam, reinterpret_cast<WPARAM>(m_mixer));
  EXPECT_EQ(heard[0].lParam, static_cast<LPARAM>(m_volume));
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{30000, 30000}));
}

TEST_F(MixerNotices, TheProgramsOwnWritesAreHeardByEveryWindow) {
  HWND otherWindow = noticeWindow();
  HMIXER other = openMixer(otherWindow);
  HMIXER silent = openMixer();
  ASSERT_EQ(write(silent, m_volume, {1, 2}, 2), MMSYSERR_NOERROR);
  const auto mine = notices(m_window);
  const auto theirs = notices(otherWindow);
  ASSERT_EQ(mine.size(), 1u);
  ASSERT_EQ(theirs.size(), 1u);
  EXPECT_EQ(mine[0].wParam, reinterpret_cast<WPARAM>(m_mixer));
  EXPECT_EQ(theirs[0].wParam, reinterpret_cast<WPARAM>(other));
}

TEST_F(MixerNotices, NothingChangedNothingPosted) {
  ASSERT_EQ(write(m_mixer, m_volume, {0xC000, 0xC000}, 2), MMSYSERR_NOERROR);
  EXPECT_TRUE(notices(m_window).empty());
  EXPECT_EQ(write(m_mixer, m_volume, {1, 70000}, 2), MIXERR_INVALVALUE);
  EXPECT_TRUE(notices(m_window).empty());
}

TEST_F(MixerNotices, AClosedMixerHearsNothingMore) {
  ASSERT_EQ(mixerClose(m_mixer), MMSYSERR_NOERROR);
  ASSERT_EQ(sound().writeControl(0, m_volume, {7, 7}, false), MMSYSERR_NOERROR);
  EXPECT_TRUE(notices(m_window).empty());
}

TEST_F(MixerNotices, ALineGoingQuietIsALineChange) {
  const MIXERLINEA lineIn = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE);
  ASSERT_EQ(sound().setLineActive(0, lineIn.dwLineID, false), MMSYSERR_NOERROR);
  const auto heard = notices(m_window);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].message, static_cast<UINT>(MM_MIXM_LINE_CHANGE));
  EXPECT_EQ(heard[0].lParam, static_cast<LPARAM>(lineIn.dwLineID));
  EXPECT_EQ(lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE).fdwLine & MIXERLINE_LINEF_ACTIVE, 0u);
  ASSERT_EQ(sound().setLineActive(0, lineIn.dwLineID, false), MMSYSERR_NOERROR);
  EXPECT_TRUE(notices(m_window).empty()) << "already quiet";
  EXPECT_EQ(sound().setLineActive(0, 0x7777, true), MIXERR_INVALLINE);
}

TEST_F(MixerNotices, DisablingAControlIsAControlChange) {
  ASSERT_EQ(sound().setControlDisabled(0, m_volume, true), MMSYSERR_NOERROR);
  const auto heard = notices(m_window);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].message, static_cast<UINT>(MM_MIXM_CONTROL_CHANGE));
  EXPECT_EQ(sound().setControlDisabled(0, 4711, true), MIXERR_INVALCONTROL);
}

TEST_F(MixerNotices, AChangeMadeOnAnotherThreadReachesTheWindowsThread) {
  std::thread other([&] { sound().writeControl(0, m_volume, {123, 456}, false); });
  other.join();
  const auto heard = notices(m_window);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].lParam, static_cast<LPARAM>(m_volume));
}

TEST_F(MixerNotices, TheWaveOutputVolumeIsTheWaveLinesVolume) {
  const MIXERLINEA wave = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
  const DWORD waveVolume = controlOfType(m_mixer, wave.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME).dwControlID;
  const WAVEFORMATEX format = test::programWaveFormat();
  HWAVEOUT waveOut = nullptr;
  ASSERT_EQ(waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  DWORD volume = 0;
  ASSERT_EQ(waveOutGetVolume(waveOut, &volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0xC000C000u);
  ASSERT_EQ(waveOutSetVolume(waveOut, 0x1234ABCD), MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, waveVolume, 2), (std::vector<DWORD>{0xABCD, 0x1234})) << "left low, right high";
  const auto heard = notices(m_window);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].lParam, static_cast<LPARAM>(waveVolume));
  // Another program's fader move is what the wave output then reports.
  ASSERT_EQ(sound().writeControl(0, waveVolume, {1, 2}, false), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutGetVolume(waveOut, &volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0x00020001u);
  // A device id does for a handle.
  ASSERT_EQ(waveOutGetVolume(reinterpret_cast<HWAVEOUT>(0), &volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0x00020001u);
  EXPECT_EQ(waveOutGetVolume(reinterpret_cast<HWAVEOUT>(1), &volume), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutGetVolume(waveOut, nullptr), MMSYSERR_INVALPARAM);
  waveOutClose(waveOut);
}

// A card described differently: machine.ini is read when the sound system is first used.
class DescribedWaveOut : public MixerTest {};

TEST_F(DescribedWaveOut, AMonoWaveLineUsesTheLowWord) {
  machine().ini().setValue("SoundCard", "Dst0Src0", "Wave, WaveOut, 1, Volume");
  DWORD volume = 0;
  ASSERT_EQ(waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), 0xFFFF0100), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutGetVolume(reinterpret_cast<HWAVEOUT>(0), &volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0x0100u);
}

TEST_F(DescribedWaveOut, NoWaveVolumeControl) {
  machine().ini().setValue("SoundCard", "Dst0Src0", "Wave, WaveOut, 2, Mute");
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(reinterpret_cast<HWAVEOUT>(0), &volume), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), 0), MMSYSERR_NOTSUPPORTED);
}

TEST_F(DescribedWaveOut, OnlyTheMixersOfTheChangedCardAreTold) {
  machine().ini().setValue("SoundCard2", "Dst0", "Speakers, Speakers, 2, Volume");
  HWND first = noticeWindow();
  HWND second = noticeWindow();
  HMIXER firstMixer = openMixer(first, 0);
  HMIXER secondMixer = openMixer(second, 1);
  ASSERT_NE(firstMixer, nullptr);
  ASSERT_NE(secondMixer, nullptr);
  const MIXERLINEA speakers = lineOfType(secondMixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  const DWORD volume = controlOfType(secondMixer, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME).dwControlID;
  ASSERT_EQ(sound().writeControl(1, volume, {9, 9}, false), MMSYSERR_NOERROR);
  EXPECT_TRUE(notices(first).empty());
  EXPECT_EQ(notices(second).size(), 1u);
}

}  // namespace
