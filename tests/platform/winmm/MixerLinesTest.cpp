// Lines and controls as the program walks them: found by component type, by destination
// and source, by id; each line's controls by type or all at once, with the ranges, flags
// and items the program reads.
#include "MixerTest.h"

#include <set>
#include <string>

namespace {

using test::MixerTest;

class MixerLines : public MixerTest {
 protected:
  HMIXEROBJ object() { return reinterpret_cast<HMIXEROBJ>(m_mixer); }
  void SetUp() override { m_mixer = openMixer(); }

  MIXERLINEA query(DWORD how, DWORD destination, DWORD source, DWORD lineId, MMRESULT* result) {
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwDestination = destination;
    line.dwSource = source;
    line.dwLineID = lineId;
    *result = mixerGetLineInfoA(object(), &line, MIXER_OBJECTF_HMIXER | how);
    return line;
  }

  HMIXER m_mixer = nullptr;
};

TEST_F(MixerLines, TheSpeakersDestinationByComponentType) {
  MMRESULT result = 0;
  const MIXERLINEA speakers = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_STREQ(speakers.szName, "Volume Control");
  EXPECT_EQ(speakers.dwDestination, 0u);
  EXPECT_EQ(speakers.cChannels, 2u);
  EXPECT_EQ(speakers.cConnections, 5u);
  EXPECT_EQ(speakers.cControls, 2u);
  EXPECT_EQ(speakers.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
  EXPECT_NE(speakers.fdwLine & MIXERLINE_LINEF_ACTIVE, 0u);
  EXPECT_STREQ(speakers.Target.szPname, "Onboard Audio");
}

TEST_F(MixerLines, SourcesByComponentTypeInTheProgramsSearchOrder) {
  MMRESULT result = 0;
  const MIXERLINEA wave = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_STREQ(wave.szName, "Wave");
  EXPECT_NE(wave.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
  EXPECT_EQ(wave.Target.dwType, static_cast<DWORD>(MIXERLINE_TARGETTYPE_WAVEOUT));
  // Line In exists on both destinations; the speakers' one comes first.
  const MIXERLINEA lineIn = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_EQ(lineIn.dwDestination, 0u);
  EXPECT_EQ(lineIn.dwSource, 1u);
  const MIXERLINEA mic = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_EQ(mic.cChannels, 1u);
  lineOfType(m_mixer, 5 /* headphones */, &result);
  EXPECT_EQ(result, MIXERR_INVALLINE);
}

TEST_F(MixerLines, WalkingDestinationsAndSourcesFindsTheRecordingLineIn) {
  MIXERCAPSA caps{};
  ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
  std::string found;
  for (DWORD d = 0; d < caps.cDestinations; ++d) {
    MMRESULT result = 0;
    const MIXERLINEA dst = query(MIXER_GETLINEINFOF_DESTINATION, d, 0, 0, &result);
    ASSERT_EQ(result, MMSYSERR_NOERROR);
    if (dst.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_WAVEIN) continue;
    EXPECT_EQ(dst.cConnections, 3u);
    for (DWORD s = 0; s < dst.cConnections; ++s) {
      const MIXERLINEA src = query(MIXER_GETLINEINFOF_SOURCE, d, s, 0, &result);
      ASSERT_EQ(result, MMSYSERR_NOERROR);
      EXPECT_EQ(src.dwDestination, d);
      EXPECT_EQ(src.dwSource, s);
      if (src.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_LINE && found.empty()) found = src.szName;
    }
  }
  EXPECT_EQ(found, "Line In");
  MMRESULT result = 0;
  query(MIXER_GETLINEINFOF_DESTINATION, 2, 0, 0, &result);
  EXPECT_EQ(result, MIXERR_INVALLINE);
  query(MIXER_GETLINEINFOF_SOURCE, 1, 3, 0, &result);
  EXPECT_EQ(result, MIXERR_INVALLINE);
}

TEST_F(MixerLines, ALineIsFoundAgainByItsId) {
  MMRESULT result = 0;
  const MIXERLINEA mic = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, &result);
  const MIXERLINEA again = query(MIXER_GETLINEINFOF_LINEID, 0, 0, mic.dwLineID, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_STREQ(again.szName, "Microphone");
  EXPECT_EQ(again.dwSource, mic.dwSource);
  query(MIXER_GETLINEINFOF_LINEID, 0, 0, 0x12345678, &result);
  EXPECT_EQ(result, MIXERR_INVALLINE);
}

TEST_F(MixerLines, RecordsTooSmallAndUnknownQueriesAreRefused) {
  MIXERLINEA line{};
  line.cbStruct = sizeof line - 1;
  EXPECT_EQ(mixerGetLineInfoA(object(), &line, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALPARAM);
  line.cbStruct = sizeof line;
  EXPECT_EQ(mixerGetLineInfoA(object(), &line, MIXER_OBJECTF_HMIXER | 4 /* by target type */), MMSYSERR_INVALFLAG);
  EXPECT_EQ(mixerGetLineInfoA(object(), nullptr, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALPARAM);
}

TEST_F(MixerLines, TheSpeakersVolumeControl) {
  const MIXERLINEA speakers = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  MMRESULT result = 0;
  const MIXERCONTROLA volume = controlOfType(m_mixer, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_EQ(volume.dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_VOLUME));
  EXPECT_EQ(volume.Bounds.dwMinimum, 0u);
  EXPECT_EQ(volume.Bounds.dwMaximum, 65535u);
  EXPECT_GT(volume.Metrics.cSteps, 0u);
  EXPECT_EQ(volume.fdwControl, 0u) << "per channel, enabled";
  EXPECT_EQ(volume.cMultipleItems, 0u);
}

TEST_F(MixerLines, AllControlsOfALine) {
  const MIXERLINEA speakers = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  MIXERCONTROLA controls[2]{};
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = speakers.dwLineID;
  request.cControls = speakers.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls;
  ASSERT_EQ(mixerGetLineControlsA(object(), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
            MMSYSERR_NOERROR);
  EXPECT_EQ(controls[0].dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_VOLUME));
  EXPECT_EQ(controls[1].dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_MUTE));
  EXPECT_EQ(controls[1].fdwControl, static_cast<DWORD>(MIXERCONTROL_CONTROLF_UNIFORM));
  EXPECT_NE(controls[0].dwControlID, controls[1].dwControlID);
  request.cControls = 1;
  EXPECT_EQ(mixerGetLineControlsA(object(), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
            MMSYSERR_INVALPARAM);
  request.cControls = 2;
  request.cbmxctrl = sizeof(MIXERCONTROLA) - 4;
  EXPECT_EQ(mixerGetLineControlsA(object(), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
            MMSYSERR_INVALPARAM);
}

TEST_F(MixerLines, TheRecordingSelectorHasAnItemPerSource) {
  const MIXERLINEA recording = lineOfType(m_mixer, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
  MMRESULT result = 0;
  const MIXERCONTROLA mux = controlOfType(m_mixer, recording.dwLineID, MIXERCONTROL_CONTROLTYPE_MUX, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_EQ(mux.cMultipleItems, 3u);
  EXPECT_EQ(mux.fdwControl, static_cast<DWORD>(MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE));
  controlOfType(m_mixer, recording.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, &result);
  EXPECT_EQ(result, MIXERR_INVALCONTROL);
}

TEST_F(MixerLines, ControlIdsAreUniqueAcrossTheCard) {
  std::set<DWORD> ids;
  int count = 0;
  for (DWORD type : {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
                     MIXERLINE_COMPONENTTYPE_SRC_LINE, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE}) {
    const MIXERLINEA line = lineOfType(m_mixer, type);
    for (DWORD controlType : {MIXERCONTROL_CONTROLTYPE_VOLUME, MIXERCONTROL_CONTROLTYPE_MUTE}) {
      ids.insert(controlOfType(m_mixer, line.dwLineID, controlType).dwControlID);
      ++count;
    }
  }
  EXPECT_EQ(static_cast<int>(ids.size()), count);
}

// Cards described differently: machine.ini is read when the sound system is first used.
class DescribedLines : public MixerTest {};

TEST_F(DescribedLines, ALineWithoutAVolumeControl) {
  machine().ini().setValue("SoundCard2", "Dst0", "Speakers, Speakers, 2, Mute");
  HMIXER second = openMixer(nullptr, 1);
  const MIXERLINEA speakers = lineOfType(second, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  EXPECT_EQ(speakers.cControls, 1u);
  MMRESULT result = 0;
  controlOfType(second, speakers.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, &result);
  EXPECT_EQ(result, MIXERR_INVALCONTROL);
}

TEST_F(DescribedLines, LinesThatCannotBeReadEndTheirList) {
  auto& ini = machine().ini();
  ini.setValue("SoundCard2", "Dst0", "Speakers, Speakers, 2, Volume");
  ini.setValue("SoundCard2", "Dst0Src0", "Wave, WaveOut, 2, Volume Loudness");  // unknown control
  ini.setValue("SoundCard2", "Dst1", "Recording, WaveIn, 0, Mux");              // no channels
  ini.setValue("SoundCard2", "Dst2", "Later, Speakers, 2");
  HMIXER second = openMixer(nullptr, 1);
  MIXERCAPSA caps{};
  ASSERT_EQ(mixerGetDevCapsA(1, &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_EQ(caps.cDestinations, 1u);
  EXPECT_EQ(lineOfType(second, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS).cConnections, 0u);
}

}  // namespace
