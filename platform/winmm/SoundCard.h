// One sound card of the machine, read from its machine.ini section ([SoundCard], and
// [SoundCard2], [SoundCard3] … for more cards):
//
//   Present=1                  0: the card is not there
//   Product=Onboard Audio      the mixer's product name (31 characters are shown)
//   WaveOut=1                  the card also plays wave output
//   Dst0=Volume Control, Speakers, 2, Volume Mute
//   Dst0Src0=Wave, WaveOut, 2, Volume Mute
//   Dst1=Recording Control, WaveIn, 2, Mux
//   Dst1Src0=Line In, Line, 2, Volume
//
// Each line is "name, component type, channels, controls": the type by name (Speakers,
// WaveIn, Line, Microphone, Synthesizer, CompactDisc, WaveOut) or number; the controls a
// blank-separated list of Volume, Mute, and on destinations Mux, SingleSelect,
// MultipleSelect or Mixer, whose items are the destination's sources. Destinations and
// their sources are numbered from 0 without gaps; a line that cannot be read ends its list.
#pragma once

#include <winmm/MixerLine.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class IniDocument;

class SoundCard {
 public:
  // The card of that section, or nothing when the section is missing or says Present=0.
  static std::optional<SoundCard> fromIni(const IniDocument& ini, std::string_view section);

  const std::string& product() const { return m_product; }
  bool hasWaveOut() const { return m_waveOut; }
  DWORD destinationCount() const { return static_cast<DWORD>(m_destinations.size()); }
  DWORD sourceCount(DWORD destination) const;

  void describe(MIXERCAPSA& out) const;
  // The line's record with the card as its target device.
  void describeLine(const MixerLine& line, MIXERLINEA& out) const;

  MixerLine* destination(DWORD index);
  MixerLine* source(DWORD destination, DWORD index);
  MixerLine* line(DWORD lineId);
  // The first line of that type, destinations before sources.
  MixerLine* lineOfType(DWORD componentType);
  MixerControl* control(DWORD controlId);
  // The volume control of the wave-out source line: the wave output's volume.
  MixerControl* waveVolume();

 private:
  struct Destination {
    MixerLine line;
    std::vector<MixerLine> sources;
  };

  void forEachLine(const std::function<bool(MixerLine&)>& visit);

  std::string m_product;
  bool m_waveOut = false;
  std::vector<Destination> m_destinations;
};

}  // namespace plat
