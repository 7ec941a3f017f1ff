#include "core/CVolumeMixer.h"

#include <win32/module.h>
#include <win32/user.h>

#include <vector>

namespace {

constexpr char kWindowClass[] = "TALVIK Volume Msg Wnd Class";
constexpr char kWindowTitle[] = "TALVIK Volume Msg Wnd";

// The line kinds tried for the volume, in order.
constexpr DWORD kVolumeLineTypes[] = {
    MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,   MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
    MIXERLINE_COMPONENTTYPE_SRC_LINE,       MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
    MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
};

LRESULT VolumeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateMessageWindow() {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = VolumeWindowProc;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExA(&windowClass);  // registered already by an earlier mixer: fine
  HWND window = CreateWindowExA(0, kWindowClass, kWindowTitle, 0, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window) ShowWindow(window, SW_HIDE);
  return window;
}

}  // namespace

CVolumeMixer::CVolumeMixer() {
  if (Open() && !FindVolumeLine()) Close();
}

CVolumeMixer::~CVolumeMixer() { Close(); }

bool CVolumeMixer::Open() {
  if (mixerGetNumDevs() == 0) return false;
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  HWAVEOUT waveOut = nullptr;
  if (waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  MMRESULT result = mixerGetID(reinterpret_cast<HMIXEROBJ>(waveOut), &m_mixerId, MIXER_OBJECTF_HWAVEOUT);
  waveOutClose(waveOut);
  if (result != MMSYSERR_NOERROR) return false;

  m_messageWindow = CreateMessageWindow();
  if (!m_messageWindow) return false;
  if (mixerOpen(&m_mixer, m_mixerId, reinterpret_cast<DWORD_PTR>(m_messageWindow), 0,
                CALLBACK_WINDOW | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
    DestroyWindow(m_messageWindow);
    m_messageWindow = nullptr;
    return false;
  }
  m_opened = true;
  return true;
}

bool CVolumeMixer::FindVolumeLine() {
  auto mixerObject = reinterpret_cast<HMIXEROBJ>(m_mixer);
  MIXERLINEA line = {};
  bool found = false;
  for (DWORD type : kVolumeLineTypes) {
    line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = type;
    if (mixerGetLineInfoA(mixerObject, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) ==
        MMSYSERR_NOERROR) {
      found = true;
      break;
    }
  }
  if (!found) return false;

  MIXERCONTROLA control = {};
  control.cbStruct = sizeof(control);
  MIXERLINECONTROLSA controls = {};
  controls.cbStruct = sizeof(controls);
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof(control);
  controls.pamxctrl = &control;
  if (mixerGetLineControlsA(mixerObject, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
          MMSYSERR_NOERROR &&
      !(control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED)) {
    m_volumeControlFound = true;
  }
  m_volumeControlId = control.dwControlID;
  m_channels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
  m_minimum = control.Bounds.dwMinimum;
  m_maximum = control.Bounds.dwMaximum;
  return true;
}

void CVolumeMixer::Close() {
  if (m_opened) mixerClose(m_mixer);
  if (m_messageWindow) DestroyWindow(m_messageWindow);
  m_mixer = nullptr;
  m_messageWindow = nullptr;
  m_opened = m_volumeControlFound = false;
}

void CVolumeMixer::SetVolume(DWORD value) {
  if (!m_volumeControlFound || value < m_minimum || value > m_maximum) return;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels ? m_channels : 1, {value});
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof(details);
  details.dwControlID = m_volumeControlId;
  details.cChannels = static_cast<DWORD>(values.size());
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  details.paDetails = values.data();
  mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                         MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}
