#include <winmm/MixerLine.h>

#include <machine/IniDocument.h>

#include <charconv>
#include <cstring>

namespace plat {

namespace {

struct TypeName {
  const char* name;
  DWORD type;
};

constexpr TypeName kTypeNames[] = {
    {"Speakers", MIXERLINE_COMPONENTTYPE_DST_SPEAKERS},
    {"WaveIn", MIXERLINE_COMPONENTTYPE_DST_WAVEIN},
    {"Line", MIXERLINE_COMPONENTTYPE_SRC_LINE},
    {"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
    {"Synthesizer", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
    {"CompactDisc", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
    {"WaveOut", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
};

DWORD targetTypeOf(DWORD componentType) {
  if (componentType == MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT) return MIXERLINE_TARGETTYPE_WAVEOUT;
  if (componentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN) return MIXERLINE_TARGETTYPE_WAVEIN;
  return MIXERLINE_TARGETTYPE_UNDEFINED;
}

}  // namespace

MixerLine::MixerLine(DWORD id, DWORD destination, std::optional<DWORD> source, std::string name, DWORD componentType,
                     DWORD channels)
    : m_id(id),
      m_destination(destination),
      m_source(source),
      m_name(std::move(name)),
      m_componentType(componentType),
      m_channels(channels) {}

std::optional<DWORD> MixerLine::componentTypeNamed(std::string_view name) {
  for (const TypeName& t : kTypeNames) {
    if (equalsNoCase(name, t.name)) return t.type;
  }
  DWORD number = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
  if (error != std::errc() || end != name.data() + name.size() || name.empty()) return std::nullopt;
  return number;
}

MixerControl* MixerLine::control(DWORD controlId) {
  for (MixerControl& c : m_controls) {
    if (c.id() == controlId) return &c;
  }
  return nullptr;
}

const MixerControl* MixerLine::controlOfType(DWORD controlType) const {
  for (const MixerControl& c : m_controls) {
    if (c.type() == controlType) return &c;
  }
  return nullptr;
}

void MixerLine::describe(MIXERLINEA& out, DWORD connections) const {
  const DWORD cbStruct = out.cbStruct;
  std::memset(&out, 0, sizeof out);
  out.cbStruct = cbStruct;
  out.dwDestination = m_destination;
  out.dwSource = m_source.value_or(0);
  out.dwLineID = m_id;
  out.fdwLine = (m_active ? MIXERLINE_LINEF_ACTIVE : 0) | (isSource() ? MIXERLINE_LINEF_SOURCE : 0);
  out.dwComponentType = m_componentType;
  out.cChannels = m_channels;
  out.cConnections = isSource() ? 0 : connections;
  out.cControls = static_cast<DWORD>(m_controls.size());
  std::strncpy(out.szShortName, m_name.c_str(), MIXER_SHORT_NAME_CHARS - 1);
  std::strncpy(out.szName, m_name.c_str(), MIXER_LONG_NAME_CHARS - 1);
  out.Target.dwType = targetTypeOf(m_componentType);
}

}  // namespace plat
