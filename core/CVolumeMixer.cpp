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

// The controls that muting and unmuting set.
bool IsSelectControl(DWORD type) {
  return type == MIXERCONTROL_CONTROLTYPE_SINGLESELECT || type == MIXERCONTROL_CONTROLTYPE_MUX ||
         type == MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT || type == MIXERCONTROL_CONTROLTYPE_MIXER;
}

HWND CreateMessageWindow(WNDPROC procedure) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExA(&windowClass);  // registered already by an earlier mixer: fine
  HWND window = CreateWindowExA(0, kWindowClass, kWindowTitle, 0, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window) ShowWindow(window, SW_HIDE);
  return window;
}

}  // namespace

CVolumeMixer* CVolumeMixer::s_current = nullptr;

CVolumeMixer::CVolumeMixer() {
  if (!Open()) return;
  s_current = this;
  if (!FindVolumeLine()) Close();
}

CVolumeMixer::~CVolumeMixer() { Close(); }

LRESULT CALLBACK CVolumeMixer::MessageWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_MIXM_CONTROL_CHANGE && s_current) s_current->OnControlChange(static_cast<DWORD>(lParam));
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CVolumeMixer::OnControlChange(DWORD controlId) const {
  if (controlId != m_volumeControlId) return;
  long volume = GetVolume();
  if (volume != -1 && m_callback) m_callback(volume, m_callbackUser);
}

bool CVolumeMixer::Open() {
  if (mixerGetNumDevs() == 0) return false;
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  HWAVEOUT waveOut = nullptr;
  if (waveOutOpen(&waveOut, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  MMRESULT result = mixerGetID(reinterpret_cast<HMIXEROBJ>(waveOut), &m_mixerId, MIXER_OBJECTF_HWAVEOUT);
  waveOutClose(waveOut);
  if (result != MMSYSERR_NOERROR) return false;

  m_messageWindow = CreateMessageWindow(MessageWindowProc);
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
  if (!m_opened) return false;
  HMIXEROBJ mixerObject = MixerObject();
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
  m_lineId = line.dwLineID;
  m_volumeControlId = control.dwControlID;
  m_channels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
  m_minimum = control.Bounds.dwMinimum;
  m_maximum = control.Bounds.dwMaximum;
  m_steps = control.Metrics.cSteps;
  m_lineFound = true;
  return true;
}

void CVolumeMixer::Close() {
  if (m_opened) mixerClose(m_mixer);
  if (m_messageWindow) DestroyWindow(m_messageWindow);
  m_mixer = nullptr;
  m_messageWindow = nullptr;
  m_opened = m_lineFound = m_volumeControlFound = false;
  if (s_current == this) s_current = nullptr;
}

long CVolumeMixer::GetSteps() const { return m_volumeControlFound ? static_cast<long>(m_steps) : -1; }
long CVolumeMixer::GetMin() const { return m_volumeControlFound ? static_cast<long>(m_minimum) : -1; }
long CVolumeMixer::GetMax() const { return m_volumeControlFound ? static_cast<long>(m_maximum) : -1; }

long CVolumeMixer::GetVolume() const {
  if (!m_volumeControlFound) return -1;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels ? m_channels : 1);
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof(details);
  details.dwControlID = m_volumeControlId;
  details.cChannels = static_cast<DWORD>(values.size());
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  details.paDetails = values.data();
  if (mixerGetControlDetailsA(MixerObject(), &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR)
    return -1;
  return static_cast<long>(values[0].dwValue);
}

CVolumeMixer::ChangeCallback CVolumeMixer::SetChangeCallback(ChangeCallback callback, DWORD_PTR user) {
  m_callback = callback;
  m_callbackUser = user;
  return callback;
}

void CVolumeMixer::SetLineOn(int value) {
  if (!m_lineFound) return;
  MIXERLINEA line = {};
  line.cbStruct = sizeof(line);
  line.dwLineID = m_lineId;
  if (mixerGetLineInfoA(MixerObject(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) != MMSYSERR_NOERROR ||
      line.cControls == 0)
    return;
  std::vector<MIXERCONTROLA> controls(line.cControls);
  MIXERLINECONTROLSA request = {};
  request.cbStruct = sizeof(request);
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls.data();
  if (mixerGetLineControlsA(MixerObject(), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) !=
      MMSYSERR_NOERROR)
    return;
  for (const MIXERCONTROLA& control : controls) WriteLineControl(line, control, value);
}

void CVolumeMixer::WriteLineControl(const MIXERLINEA& line, const MIXERCONTROLA& control, int value) {
  LONG written;
  if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE)
    written = !value;
  else if (IsSelectControl(control.dwControlType))
    written = value;
  else
    return;
  const DWORD channels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) || line.cChannels == 0 ? 1 : line.cChannels;
  const DWORD items = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) ? control.cMultipleItems : 0;
  std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(channels * (items ? items : 1), {written});
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof(details);
  details.dwControlID = control.dwControlID;
  details.cChannels = channels;
  details.cMultipleItems = items;
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
  details.paDetails = values.data();
  mixerSetControlDetails(MixerObject(), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
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
  mixerSetControlDetails(MixerObject(), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}
