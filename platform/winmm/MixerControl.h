// One control of a mixer line and its values: a volume fader (per channel, 0..65535), a
// mute switch, or a select over the sources of a destination line (single-select and mux:
// exactly one item on; multiple-select and mixer: any). Values are held as channels ×
// items, the items of channel 0 first; uniform controls (mute and the selects) have one
// channel of values whatever the line has.
#pragma once

#include <winmm/mmsystem.h>

#include <optional>
#include <string_view>
#include <vector>

namespace plat {

class MixerControl {
 public:
  enum class Kind { Volume, Mute, Mux, SingleSelect, MultipleSelect, Mixer };

  // `items` counts only for the selects; a volume control starts at three quarters, a
  // mute control off, a single-select on its first item, a multiple-select on all.
  MixerControl(DWORD id, Kind kind, DWORD lineChannels, DWORD items);

  // "Volume", "Mute", "Mux", "SingleSelect", "MultipleSelect", "Mixer" (no case).
  static std::optional<Kind> kindNamed(std::string_view name);

  DWORD id() const { return m_id; }
  Kind kind() const { return m_kind; }
  DWORD type() const;
  bool isSelect() const { return m_items > 0; }
  bool disabled() const { return m_disabled; }
  void setDisabled(bool disabled) { m_disabled = disabled; }

  void describe(MIXERCONTROLA& out) const;

  // The values, channels × items; a write keeps the layout.
  const std::vector<DWORD>& values() const { return m_values; }
  // MMSYSERR_NOERROR, or why the values cannot be taken (count, range, selection);
  // `changed` tells whether anything differs afterwards.
  MMRESULT assign(std::vector<DWORD> values, bool& changed);

  // The details record as the caller gave it: MMSYSERR_INVALPARAM for a channel or item
  // count or record size the control cannot take.
  MMRESULT checkDetails(const MIXERCONTROLDETAILS& details) const;
  void readDetails(MIXERCONTROLDETAILS& details) const;
  // The values a set call asks for, one channel spread to all (after checkDetails).
  std::vector<DWORD> valuesFromDetails(const MIXERCONTROLDETAILS& details) const;

 private:
  bool uniform() const { return m_kind != Kind::Volume; }
  DWORD slots() const { return m_items ? m_items : 1; }
  DWORD maximum() const { return m_kind == Kind::Volume ? 0xFFFF : 1; }

  DWORD m_id;
  Kind m_kind;
  DWORD m_channels;  // channels of values: 1 when uniform
  DWORD m_items;
  bool m_disabled = false;
  std::vector<DWORD> m_values;
};

}  // namespace plat
