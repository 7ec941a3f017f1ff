#include "CMasterVolumeMixer.h"

#include <win32/error.h>
#include <win32/user.h>

#include <vector>

namespace {
constexpr const char* kClassName = "Master Output Volume Msg Wnd Class";
constexpr const char* kWindowName = "Master Output Volume Msg Wnd";
constexpr const char* kObjectProp = "CMasterVolumeMixer";
// The details of one control: `channels` values of `size` bytes at `values`.
MIXERCONTROLDETAILS detailsOf(DWORD controlId, DWORD channels, DWORD size, void* values) {
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = controlId;
  details.cChannels = channels;
  details.cbDetails = size;
  details.paDetails = values;
  return details;
}

}  // namespace

bool CMasterVolumeMixer::OpenMasterVolumeMixer() {
  if (m_open) return true;
  if (mixerGetNumDevs() == 0) return false;

  // The wave mapper's output names the card whose mixer is the master volume.
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  HWAVEOUT waveOut = nullptr;
  if (waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR) {
    mixerGetID(reinterpret_cast<HMIXEROBJ>(waveOut), &m_mixerId, MIXER_OBJECTF_HWAVEOUT);
    waveOutClose(waveOut);
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.lpszClassName = kClassName;
  // A second mixer (another control) finds the class already there.
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  m_window = CreateWindowExA(0, kClassName, kWindowName, WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                             nullptr);
  if (!m_window) return false;
  SetPropA(m_window, kObjectProp, static_cast<HANDLE>(this));
  if (mixerOpen(&m_mixer, m_mixerId, reinterpret_cast<DWORD_PTR>(m_window), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    DestroyWindow(m_window);
    m_window = nullptr;
    m_mixer = nullptr;
    return false;
  }
  m_open = true;
  m_hasVolume = FindVolumeControl();
  return true;
}

void CMasterVolumeMixer::Close() {
  if (m_mixer) mixerClose(m_mixer);
  if (m_window) DestroyWindow(m_window);
  m_mixer = nullptr;
  m_window = nullptr;
  m_open = false;
  m_hasLine = false;
  m_hasVolume = false;
}

bool CMasterVolumeMixer::FindVolumeControl() {
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), &line,
                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
    return false;
  m_hasLine = true;
  m_channels = line.cChannels;
  m_lineId = line.dwLineID;
  MIXERCONTROLA control{};
  control.cbStruct = sizeof control;
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &controls,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) != MMSYSERR_NOERROR)
    return false;
  m_volumeControlId = control.dwControlID;
  m_minimum = static_cast<long>(control.Bounds.dwMinimum);
  m_maximum = static_cast<long>(control.Bounds.dwMaximum);
  m_steps = control.Metrics.cSteps;
  return true;
}

long CMasterVolumeMixer::GetVolume() {
  if (!m_hasVolume) return -1;
  MIXERCONTROLDETAILS_UNSIGNED value{};
  MIXERCONTROLDETAILS details = detailsOf(m_volumeControlId, 1, sizeof value, &value);
  if (mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                              MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
    return -1;
  return static_cast<long>(value.dwValue);
}

void CMasterVolumeMixer::SetVolume(long volume) {
  if (!m_hasVolume || volume < m_minimum || volume > m_maximum) return;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels ? m_channels : 1, {static_cast<DWORD>(volume)});
  SetDetails(detailsOf(m_volumeControlId, static_cast<DWORD>(values.size()), sizeof(MIXERCONTROLDETAILS_UNSIGNED),
                       values.data()));
}

void CMasterVolumeMixer::SwitchLine(bool on) {
  if (!m_open || !m_hasLine) return;
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwLineID = m_lineId;
  if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) !=
          MMSYSERR_NOERROR ||
      line.cControls == 0)
    return;
  std::vector<MIXERCONTROLA> all(line.cControls);
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = m_lineId;
  controls.cControls = line.cControls;
  controls.cbmxctrl = sizeof(MIXERCONTROLA);
  controls.pamxctrl = all.data();
  if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &controls,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR)
    return;
  for (const MIXERCONTROLA& control : all) {
    switch (control.dwControlType) {
      case MIXERCONTROL_CONTROLTYPE_MUTE: {
        MIXERCONTROLDETAILS_BOOLEAN value{on ? 0 : 1};
        SetDetails(detailsOf(control.dwControlID, 1, sizeof value, &value));
        break;
      }
      case MIXERCONTROL_CONTROLTYPE_SINGLESELECT:
      case MIXERCONTROL_CONTROLTYPE_MUX:
      case MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT:
      case MIXERCONTROL_CONTROLTYPE_MIXER: {
        // Every item on or off; a select that takes one item only refuses, as it should.
        std::vector<MIXERCONTROLDETAILS_BOOLEAN> items(control.cMultipleItems, {on ? 1 : 0});
        if (items.empty()) break;
        MIXERCONTROLDETAILS details =
            detailsOf(control.dwControlID, 1, sizeof(MIXERCONTROLDETAILS_BOOLEAN), items.data());
        details.cMultipleItems = control.cMultipleItems;
        SetDetails(details);
        break;
      }
      default: break;
    }
  }
}

void CMasterVolumeMixer::SetDetails(MIXERCONTROLDETAILS details) {
  mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                         MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

void CMasterVolumeMixer::SetChangeCallback(ChangeCallback callback, void* user) {
  m_callback = callback;
  m_user = user;
}

void CMasterVolumeMixer::OnControlChange(DWORD controlId) {
  if (!m_hasVolume || controlId != m_volumeControlId) return;
  const long volume = GetVolume();
  if (m_callback) m_callback(volume, m_user);
}

LRESULT CALLBACK CMasterVolumeMixer::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_MIXM_CONTROL_CHANGE) {
    if (auto* mixer = static_cast<CMasterVolumeMixer*>(GetPropA(hwnd, kObjectProp)))
      mixer->OnControlChange(static_cast<DWORD>(lParam));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
