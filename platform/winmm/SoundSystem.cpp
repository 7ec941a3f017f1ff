#include <winmm/SoundSystem.h>

#include <machine/Log.h>
#include <machine/Machine.h>
#include <win32/user.h>

namespace plat {

namespace {

// Handles count up from here in steps of 16, so no handle is ever a small device id.
constexpr std::uintptr_t kFirstHandle = 0x4D580000;

std::string sectionOfCard(int number) {
  return number == 1 ? "SoundCard" : "SoundCard" + std::to_string(number);
}

std::uintptr_t valueOf(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

}  // namespace

SoundSystem::SoundSystem(Machine& machine) : m_nextHandle(kFirstHandle) {
  const IniDocument& ini = machine.ini();
  for (int number = 1; ini.hasSection(sectionOfCard(number)); ++number) {
    if (auto card = SoundCard::fromIni(ini, sectionOfCard(number))) m_cards.push_back(std::move(*card));
  }
  for (UINT i = 0; i < m_cards.size(); ++i) {
    if (m_cards[i].hasWaveOut()) m_waveCards.push_back(i);
  }
  PLAT_LOG("winmm", "%zu sound cards, %zu wave outputs", m_cards.size(), m_waveCards.size());
}

SoundSystem& SoundSystem::current() { return Machine::current().service<SoundSystem>(); }

UINT SoundSystem::mixerCount() const {
  std::lock_guard guard(m_lock);
  return m_present ? static_cast<UINT>(m_cards.size()) : 0;
}

MMRESULT SoundSystem::resolveMixer(HMIXEROBJ object, DWORD objectType, UINT& card) const {
  if (objectType == MIXER_OBJECTF_WAVEOUT || objectType == MIXER_OBJECTF_HWAVEOUT)
    return resolveWaveOut(static_cast<HWAVEOUT>(object), card);
  if (objectType != MIXER_OBJECTF_MIXER && objectType != MIXER_OBJECTF_HMIXER) return MMSYSERR_INVALFLAG;
  const std::uintptr_t value = valueOf(object);
  if (const auto open = m_mixers.find(value); open != m_mixers.end()) {
    if (!m_present) return MMSYSERR_NODRIVER;
    card = open->second.card;
    return MMSYSERR_NOERROR;
  }
  if (m_present && value < m_cards.size()) {
    card = static_cast<UINT>(value);
    return MMSYSERR_NOERROR;
  }
  return objectType == MIXER_OBJECTF_HMIXER ? MMSYSERR_INVALHANDLE : MMSYSERR_BADDEVICEID;
}

MMRESULT SoundSystem::resolveWaveOut(HWAVEOUT device, UINT& card) const {
  const std::uintptr_t value = valueOf(device);
  if (const auto open = m_waveOuts.find(value); open != m_waveOuts.end()) {
    if (!m_present) return MMSYSERR_NODRIVER;
    card = open->second;
    return MMSYSERR_NOERROR;
  }
  if (m_present && value < m_waveCards.size()) {
    card = m_waveCards[value];
    return MMSYSERR_NOERROR;
  }
  return MMSYSERR_INVALHANDLE;
}

MMRESULT SoundSystem::openMixer(HMIXEROBJ object, DWORD objectType, HWND callbackWindow, HMIXER& out) {
  std::lock_guard guard(m_lock);
  UINT card = 0;
  if (const MMRESULT result = resolveMixer(object, objectType, card); result != MMSYSERR_NOERROR) return result;
  const std::uintptr_t handle = m_nextHandle;
  m_nextHandle += 16;
  m_mixers[handle] = OpenMixer{card, callbackWindow};
  out = reinterpret_cast<HMIXER>(handle);
  return MMSYSERR_NOERROR;
}

MMRESULT SoundSystem::closeMixer(HMIXER mixer) {
  std::lock_guard guard(m_lock);
  return m_mixers.erase(valueOf(mixer)) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT SoundSystem::withMixer(HMIXEROBJ object, DWORD objectType,
                                const std::function<MMRESULT(SoundCard&, UINT)>& use) {
  std::lock_guard guard(m_lock);
  UINT card = 0;
  if (const MMRESULT result = resolveMixer(object, objectType, card); result != MMSYSERR_NOERROR) return result;
  return use(m_cards[card], card);
}

MMRESULT SoundSystem::writeControl(UINT mixer, DWORD controlId, std::vector<DWORD> values, bool byProgram) {
  bool changed = false;
  {
    std::lock_guard guard(m_lock);
    if (!m_present || mixer >= m_cards.size()) return MMSYSERR_BADDEVICEID;
    MixerControl* control = m_cards[mixer].control(controlId);
    if (!control) return MIXERR_INVALCONTROL;
    if (const MMRESULT result = control->assign(values, changed); result != MMSYSERR_NOERROR) return result;
    if (byProgram) {
      if (m_writes.size() == kWriteLimit) m_writes.pop_front();
      m_writes.push_back({mixer, controlId, std::move(values)});
    }
  }
  if (changed) announce(mixer, MM_MIXM_CONTROL_CHANGE, controlId);
  return MMSYSERR_NOERROR;
}

void SoundSystem::announce(UINT card, UINT message, DWORD id) {
  std::vector<std::pair<std::uintptr_t, HWND>> targets;
  {
    std::lock_guard guard(m_lock);
    for (const auto& [handle, open] : m_mixers) {
      if (open.card == card && open.window) targets.emplace_back(handle, open.window);
    }
  }
  for (const auto& [handle, window] : targets) PostMessageA(window, message, handle, static_cast<LPARAM>(id));
}

UINT SoundSystem::waveOutCount() const {
  std::lock_guard guard(m_lock);
  return m_present ? static_cast<UINT>(m_waveCards.size()) : 0;
}

MMRESULT SoundSystem::openWaveOut(UINT deviceId, HWAVEOUT& out) {
  std::lock_guard guard(m_lock);
  if (!m_present || m_waveCards.empty()) return MMSYSERR_BADDEVICEID;
  const UINT device = deviceId == WAVE_MAPPER ? 0 : deviceId;
  if (device >= m_waveCards.size()) return MMSYSERR_BADDEVICEID;
  if (m_waveOutOpenFails) return MMSYSERR_ALLOCATED;
  const std::uintptr_t handle = m_nextHandle;
  m_nextHandle += 16;
  m_waveOuts[handle] = m_waveCards[device];
  out = reinterpret_cast<HWAVEOUT>(handle);
  return MMSYSERR_NOERROR;
}

MMRESULT SoundSystem::closeWaveOut(HWAVEOUT waveOut) {
  std::lock_guard guard(m_lock);
  return m_waveOuts.erase(valueOf(waveOut)) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT SoundSystem::withWaveOut(HWAVEOUT device, const std::function<MMRESULT(SoundCard&, UINT)>& use) {
  std::lock_guard guard(m_lock);
  UINT card = 0;
  if (const MMRESULT result = resolveWaveOut(device, card); result != MMSYSERR_NOERROR) return result;
  return use(m_cards[card], card);
}

void SoundSystem::setPresent(bool present) {
  std::lock_guard guard(m_lock);
  m_present = present;
}

void SoundSystem::setWaveOutOpenFails(bool fails) {
  std::lock_guard guard(m_lock);
  m_waveOutOpenFails = fails;
}

std::optional<DWORD> SoundSystem::findControl(UINT mixer, DWORD componentType, DWORD controlType) {
  std::lock_guard guard(m_lock);
  if (mixer >= m_cards.size()) return std::nullopt;
  const MixerLine* line = m_cards[mixer].lineOfType(componentType);
  const MixerControl* control = line ? line->controlOfType(controlType) : nullptr;
  return control ? std::optional<DWORD>(control->id()) : std::nullopt;
}

std::vector<DWORD> SoundSystem::controlValues(UINT mixer, DWORD controlId) {
  std::lock_guard guard(m_lock);
  const MixerControl* control = mixer < m_cards.size() ? m_cards[mixer].control(controlId) : nullptr;
  return control ? control->values() : std::vector<DWORD>{};
}

MMRESULT SoundSystem::setControlDisabled(UINT mixer, DWORD controlId, bool disabled) {
  {
    std::lock_guard guard(m_lock);
    MixerControl* control = mixer < m_cards.size() ? m_cards[mixer].control(controlId) : nullptr;
    if (!control) return MIXERR_INVALCONTROL;
    if (control->disabled() == disabled) return MMSYSERR_NOERROR;
    control->setDisabled(disabled);
  }
  announce(mixer, MM_MIXM_CONTROL_CHANGE, controlId);
  return MMSYSERR_NOERROR;
}

MMRESULT SoundSystem::setLineActive(UINT mixer, DWORD lineId, bool active) {
  {
    std::lock_guard guard(m_lock);
    MixerLine* line = mixer < m_cards.size() ? m_cards[mixer].line(lineId) : nullptr;
    if (!line) return MIXERR_INVALLINE;
    if (line->active() == active) return MMSYSERR_NOERROR;
    line->setActive(active);
  }
  announce(mixer, MM_MIXM_LINE_CHANGE, lineId);
  return MMSYSERR_NOERROR;
}

std::vector<SoundSystem::ControlWrite> SoundSystem::programWrites() const {
  std::lock_guard guard(m_lock);
  return std::vector<ControlWrite>(m_writes.begin(), m_writes.end());
}

}  // namespace plat
