// Control values: volume per channel within its range, mute as a switch, the recording
// selector with exactly one source on; the values held by the machine, not the handle.
#include "MixerTest.h"

namespace {

using test::MixerTest;

class MixerValues : public MixerTest {
 protected:
  void SetUp() override {
    m_mixer = openMixer();
    const MIXERLINEA speakers = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    m_volume = controlOfType(m_mixer, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME).dwControlID;
    m_mute = controlOfType(m_mixer, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE).dwControlID;
    const MIXERLINEA recording = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    m_mux = controlOfType(m_mixer, recording.dwLineID, MIXERCONTROL_CONTROLTYPE_MUX).dwControlID;
  }

  HMIXER m_mixer = nullptr;
  DWORD m_volume = 0;
  DWORD m_mute = 0;
  DWORD m_mux = 0;
};

TEST_F(MixerValues, VolumePerChannel) {
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{0xC000, 0xC000}));
  ASSERT_EQ(write(m_mixer, m_volume, {1000, 2000}, 2), MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{1000, 2000}));
  EXPECT_EQ(read(m_mixer, m_volume, 1), (std::vector<DWORD>{1000})) << "one channel reads the first";
  ASSERT_EQ(write(m_mixer, m_volume, {65501}, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{65501, 65501})) << "one channel sets all";
}

TEST_F(MixerValues, AVolumeOutsideTheRangeChangesNothing) {
  ASSERT_EQ(write(m_mixer, m_volume, {300, 300}, 2), MMSYSERR_NOERROR);
  EXPECT_EQ(write(m_mixer, m_volume, {500, 65536}, 2), MIXERR_INVALVALUE);
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{300, 300}));
}

TEST_F(MixerValues, DetailsOfTheWrongShapeAreRefused) {
  std::vector<DWORD> values;
  EXPECT_EQ(details(m_mixer, m_volume, values, 3, 0, false), MMSYSERR_INVALPARAM);
  EXPECT_EQ(details(m_mixer, m_mute, values, 2, 0, false), MMSYSERR_INVALPARAM) << "mute is uniform";
  EXPECT_EQ(details(m_mixer, m_mux, values, 1, 2, false), MMSYSERR_INVALPARAM) << "the selector has 3 items";
  EXPECT_EQ(details(m_mixer, 9999, values, 1, 0, false), MIXERR_INVALCONTROL);
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = m_volume;
  d.cChannels = 1;
  d.cbDetails = 2;
  DWORD value = 0;
  d.paDetails = &value;
  EXPECT_EQ(mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &d, MIXER_OBJECTF_HMIXER),
            MMSYSERR_INVALPARAM);
  d.cbDetails = sizeof(DWORD);
  d.paDetails = nullptr;
  EXPECT_EQ(mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &d, MIXER_OBJECTF_HMIXER),
            MMSYSERR_INVALPARAM);
}

TEST_F(MixerValues, RecordsWiderThanAValueAreWalkedByTheirSize) {
  struct Wide {
    DWORD value;
    DWORD padding;
  } records[2] = {{111, 0xAAAA}, {222, 0xBBBB}};
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = m_volume;
  d.cChannels = 2;
  d.cbDetails = sizeof(Wide);
  d.paDetails = records;
  ASSERT_EQ(mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &d, MIXER_OBJECTF_HMIXER),
            MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{111, 222}));
}

TEST_F(MixerValues, MuteIsASwitch) {
  EXPECT_EQ(read(m_mixer, m_mute, 1), (std::vector<DWORD>{0}));
  ASSERT_EQ(write(m_mixer, m_mute, {7}, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, m_mute, 1), (std::vector<DWORD>{1}));
  ASSERT_EQ(write(m_mixer, m_mute, {0}, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, m_mute, 1), (std::vector<DWORD>{0}));
}

TEST_F(MixerValues, TheSelectorKeepsExactlyOneSourceOn) {
  EXPECT_EQ(read(m_mixer, m_mux, 1, 3), (std::vector<DWORD>{1, 0, 0}));
  ASSERT_EQ(write(m_mixer, m_mux, {0, 0, 1}, 1, 3), MMSYSERR_NOERROR);
  EXPECT_EQ(read(m_mixer, m_mux, 1, 3), (std::vector<DWORD>{0, 0, 1}));
  EXPECT_EQ(write(m_mixer, m_mux, {0, 0, 0}, 1, 3), MIXERR_INVALVALUE);
  EXPECT_EQ(write(m_mixer, m_mux, {1, 1, 1}, 1, 3), MIXERR_INVALVALUE);
  EXPECT_EQ(read(m_mixer, m_mux, 1, 3), (std::vector<DWORD>{0, 0, 1}));
}

// A card described with a mixer control: machine.ini is read when the sound system is first used.
class DescribedValues : public MixerTest {};

TEST_F(DescribedValues, AMultipleSelectTakesAnyItems) {
  auto& ini = machine().ini();
  ini.setValue("SoundCard", "Dst0", "Mix, Speakers, 2, Mixer");
  ini.setValue("SoundCard", "Dst0Src0", "A, Line, 2");
  ini.setValue("SoundCard", "Dst0Src1", "B, Microphone, 1");
  ini.removeKey("SoundCard", "Dst0Src2");
  HMIXER mixer = openMixer();
  const MIXERLINEA dst = lineOfType(mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  EXPECT_EQ(dst.cConnections, 2u);
  const DWORD id = controlOfType(mixer, dst.dwLineID, MIXERCONTROL_CONTROLTYPE_MIXER).dwControlID;
  EXPECT_EQ(read(mixer, id, 1, 2), (std::vector<DWORD>{1, 1}));
  ASSERT_EQ(write(mixer, id, {0, 0}, 1, 2), MMSYSERR_NOERROR);
  EXPECT_EQ(read(mixer, id, 1, 2), (std::vector<DWORD>{0, 0}));
  ASSERT_EQ(write(mixer, id, {0, 1}, 1, 2), MMSYSERR_NOERROR);
  EXPECT_EQ(read(mixer, id, 1, 2), (std::vector<DWORD>{0, 1}));
}

TEST_F(MixerValues, ValuesBelongToTheMachineNotTheHandle) {
  ASSERT_EQ(write(m_mixer, m_volume, {4242, 4343}, 2), MMSYSERR_NOERROR);
  HMIXER second = openMixer();
  EXPECT_EQ(read(second, m_volume, 2), (std::vector<DWORD>{4242, 4343}));
  ASSERT_EQ(mixerClose(second), MMSYSERR_NOERROR);
  HMIXER third = nullptr;
  ASSERT_EQ(mixerOpen(&third, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  EXPECT_EQ(read(third, m_volume, 2), (std::vector<DWORD>{4242, 4343}));
  mixerClose(third);
  // Named by id instead of by handle, too.
  std::vector<DWORD> values(2);
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = m_volume;
  d.cChannels = 2;
  d.cbDetails = sizeof(DWORD);
  d.paDetails = values.data();
  ASSERT_EQ(mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(0), &d, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
  EXPECT_EQ(values, (std::vector<DWORD>{4242, 4343}));
}

TEST_F(MixerValues, ADisabledControlShowsItAndTakesNoValues) {
  ASSERT_EQ(sound().setControlDisabled(0, m_volume, true), MMSYSERR_NOERROR);
  const MIXERLINEA speakers = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  const MIXERCONTROLA volume = controlOfType(m_mixer, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME);
  EXPECT_NE(volume.fdwControl & MIXERCONTROL_CONTROLF_DISABLED, 0u);
  EXPECT_EQ(write(m_mixer, m_volume, {1, 1}, 2), MMSYSERR_NOTENABLED);
  EXPECT_EQ(read(m_mixer, m_volume, 2), (std::vector<DWORD>{0xC000, 0xC000}));
  ASSERT_EQ(sound().setControlDisabled(0, m_volume, false), MMSYSERR_NOERROR);
  EXPECT_EQ(write(m_mixer, m_volume, {1, 1}, 2), MMSYSERR_NOERROR);
}

TEST_F(MixerValues, TheProgramsWritesAreKeptInOrder) {
  ASSERT_EQ(write(m_mixer, m_mute, {1}, 1), MMSYSERR_NOERROR);
  ASSERT_EQ(write(m_mixer, m_volume, {10, 20}, 2), MMSYSERR_NOERROR);
  EXPECT_EQ(write(m_mixer, m_volume, {10, 70000}, 2), MIXERR_INVALVALUE);
  ASSERT_EQ(write(m_mixer, m_mute, {0}, 1), MMSYSERR_NOERROR);
  ASSERT_EQ(sound().writeControl(0, m_volume, {5, 5}, false), MMSYSERR_NOERROR);  // another program
  const auto writes = sound().programWrites();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0].controlId, m_mute);
  EXPECT_EQ(writes[0].values, (std::vector<DWORD>{1}));
  EXPECT_EQ(writes[1].controlId, m_volume);
  EXPECT_EQ(writes[2].controlId, m_mute);
  EXPECT_EQ(writes[2].values, (std::vector<DWORD>{0}));

  // A program that runs for long: only the last writes are kept, the newest last.
  for (DWORD i = 0; i < plat::SoundSystem::kWriteLimit; ++i)
    ASSERT_EQ(write(m_mixer, m_volume, {i % 100, i % 100}, 2), MMSYSERR_NOERROR);
  const auto kept = sound().programWrites();
  ASSERT_EQ(kept.size(), plat::SoundSystem::kWriteLimit);
  EXPECT_EQ(kept.front().controlId, m_volume) << "the first writes went";
  EXPECT_EQ(kept.back().values, (std::vector<DWORD>{(plat::SoundSystem::kWriteLimit - 1) % 100, (plat::SoundSystem::kWriteLimit - 1) % 100}));
}

}  // namespace
