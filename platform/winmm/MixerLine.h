// One line of a mixer: a destination (speakers, recording) or one of a destination's
// sources, with its controls.
#pragma once

#include <winmm/MixerControl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class MixerLine {
 public:
  MixerLine(DWORD id, DWORD destination, std::optional<DWORD> source, std::string name, DWORD componentType,
            DWORD channels);

  // "Speakers", "WaveIn", "Line", "Microphone", "Synthesizer", "CompactDisc", "WaveOut" (no
  // case) or the component type's number.
  static std::optional<DWORD> componentTypeNamed(std::string_view name);

  DWORD id() const { return m_id; }
  DWORD destination() const { return m_destination; }
  bool isSource() const { return m_source.has_value(); }
  DWORD componentType() const { return m_componentType; }
  bool active() const { return m_active; }
  void setActive(bool active) { m_active = active; }

  std::vector<MixerControl>& controls() { return m_controls; }
  const std::vector<MixerControl>& controls() const { return m_controls; }
  MixerControl* control(DWORD controlId);
  const MixerControl* controlOfType(DWORD controlType) const;

  // Everything but the target's device details, which belong to the card.
  void describe(MIXERLINEA& out, DWORD connections) const;

 private:
  DWORD m_id;
  DWORD m_destination;
  std::optional<DWORD> m_source;
  std::string m_name;
  DWORD m_componentType;
  DWORD m_channels;
  bool m_active = true;
  std::vector<MixerControl> m_controls;
};

}  // namespace plat
