#include <winmm/MixerControl.h>

#include <machine/IniDocument.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

struct KindInfo {
  MixerControl::Kind kind;
  const char* name;
  DWORD type;
};

constexpr KindInfo kKinds[] = {
    {MixerControl::Kind::Volume, "Volume", MIXERCONTROL_CONTROLTYPE_VOLUME},
    {MixerControl::Kind::Mute, "Mute", MIXERCONTROL_CONTROLTYPE_MUTE},
    {MixerControl::Kind::Mux, "Mux", MIXERCONTROL_CONTROLTYPE_MUX},
    {MixerControl::Kind::SingleSelect, "SingleSelect", MIXERCONTROL_CONTROLTYPE_SINGLESELECT},
    {MixerControl::Kind::MultipleSelect, "MultipleSelect", MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT},
    {MixerControl::Kind::Mixer, "Mixer", MIXERCONTROL_CONTROLTYPE_MIXER},
};

const KindInfo& infoOf(MixerControl::Kind kind) {
  return *std::find_if(std::begin(kKinds), std::end(kKinds), [&](const KindInfo& k) { return k.kind == kind; });
}

constexpr DWORD kVolumeSteps = 31;
constexpr DWORD kVolumeStart = 0xC000;

template <std::size_t N>
void copyName(CHAR (&field)[N], const char* text) {
  std::strncpy(field, text, N - 1);
  field[N - 1] = '\0';
}

}  // namespace

MixerControl::MixerControl(DWORD id, Kind kind, DWORD lineChannels, DWORD items)
    : m_id(id), m_kind(kind), m_channels(kind == Kind::Volume ? std::max<DWORD>(lineChannels, 1) : 1) {
  const bool select = kind == Kind::Mux || kind == Kind::SingleSelect || kind == Kind::MultipleSelect ||
                      kind == Kind::Mixer;
  m_items = select ? items : 0;
  m_values.assign(m_channels * slots(), 0);
  if (kind == Kind::Volume) std::fill(m_values.begin(), m_values.end(), kVolumeStart);
  if ((kind == Kind::MultipleSelect || kind == Kind::Mixer)) std::fill(m_values.begin(), m_values.end(), 1);
  if ((kind == Kind::Mux || kind == Kind::SingleSelect) && m_items) m_values[0] = 1;
}

std::optional<MixerControl::Kind> MixerControl::kindNamed(std::string_view name) {
  for (const KindInfo& k : kKinds) {
    if (equalsNoCase(name, k.name)) return k.kind;
  }
  return std::nullopt;
}

DWORD MixerControl::type() const { return infoOf(m_kind).type; }

void MixerControl::describe(MIXERCONTROLA& out) const {
  std::memset(&out, 0, sizeof out);
  out.cbStruct = sizeof out;
  out.dwControlID = m_id;
  out.dwControlType = type();
  out.fdwControl = (uniform() ? MIXERCONTROL_CONTROLF_UNIFORM : 0) | (isSelect() ? MIXERCONTROL_CONTROLF_MULTIPLE : 0) |
                   (m_disabled ? MIXERCONTROL_CONTROLF_DISABLED : 0);
  out.cMultipleItems = m_items;
  copyName(out.szShortName, infoOf(m_kind).name);
  copyName(out.szName, infoOf(m_kind).name);
  out.Bounds.dwMinimum = 0;
  out.Bounds.dwMaximum = maximum();
  out.Metrics.cSteps = m_kind == Kind::Volume ? kVolumeSteps : 0;
}

MMRESULT MixerControl::assign(std::vector<DWORD> values, bool& changed) {
  changed = false;
  if (m_disabled) return MMSYSERR_NOTENABLED;
  if (values.size() != m_values.size()) return MMSYSERR_INVALPARAM;
  for (DWORD& v : values) {
    if (m_kind == Kind::Volume) {
      if (v > maximum()) return MIXERR_INVALVALUE;
    } else {
      v = v ? 1 : 0;
    }
  }
  if (m_kind == Kind::Mux || m_kind == Kind::SingleSelect) {
    for (DWORD c = 0; c < m_channels; ++c) {
      const auto first = values.begin() + c * slots();
      if (std::count(first, first + slots(), 1u) != 1) return MIXERR_INVALVALUE;
    }
  }
  changed = values != m_values;
  m_values = std::move(values);
  return MMSYSERR_NOERROR;
}

MMRESULT MixerControl::checkDetails(const MIXERCONTROLDETAILS& details) const {
  if (details.cbStruct < sizeof(MIXERCONTROLDETAILS) || !details.paDetails) return MMSYSERR_INVALPARAM;
  if (details.cbDetails < sizeof(DWORD)) return MMSYSERR_INVALPARAM;
  if (details.cChannels != 1 && details.cChannels != m_channels) return MMSYSERR_INVALPARAM;
  if (details.cMultipleItems != m_items) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

void MixerControl::readDetails(MIXERCONTROLDETAILS& details) const {
  auto* out = static_cast<BYTE*>(details.paDetails);
  const DWORD count = details.cChannels * slots();
  for (DWORD i = 0; i < count; ++i) std::memcpy(out + i * details.cbDetails, &m_values[i], sizeof(DWORD));
}

std::vector<DWORD> MixerControl::valuesFromDetails(const MIXERCONTROLDETAILS& details) const {
  const auto* in = static_cast<const BYTE*>(details.paDetails);
  std::vector<DWORD> values(m_values.size());
  for (DWORD c = 0; c < m_channels; ++c) {
    const DWORD from = details.cChannels == 1 ? 0 : c;
    for (DWORD i = 0; i < slots(); ++i)
      std::memcpy(&values[c * slots() + i], in + (from * slots() + i) * details.cbDetails, sizeof(DWORD));
  }
  return values;
}

}  // namespace plat
