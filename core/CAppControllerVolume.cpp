// The controller's side of the volume mixer: the volume scale and the mixer source names
// that the settings' defaults take.
#include "core/CAppController.h"

#include "core/CVolumeMixer.h"
#include "core/data/CAppSettings.h"

#include <win32/user.h>
#include <winmm/mmsystem.h>

#include <algorithm>
#include <string>

namespace {

std::string WithoutSpaces(const char* text) {
  std::string result;
  for (; *text; ++text) {
    if (*text != ' ') result += *text;
  }
  return result;
}

// The first mixer whose product name equals `name` when spaces are ignored; mixer 0 when
// none does or no name is given.
UINT ChooseMixer(LPCSTR name) {
  if (!name || !*name) return 0;
  std::string wanted = WithoutSpaces(name);
  for (UINT id = 0; id < mixerGetNumDevs(); ++id) {
    MIXERCAPSA caps = {};
    if (mixerGetDevCapsA(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
    caps.szPname[sizeof(caps.szPname) - 1] = '\0';
    if (WithoutSpaces(caps.szPname) == wanted) return id;
  }
  return 0;
}

// Calls `visit` with every source line of every destination of that component type, the
// name terminated, until it returns true.
template <class Visit>
void ForEachSource(HMIXEROBJ mixer, DWORD destinations, DWORD destinationType, Visit visit) {
  for (DWORD destination = 0; destination < destinations; ++destination) {
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwDestination = destination;
    if (mixerGetLineInfoA(mixer, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR ||
        line.dwComponentType != destinationType)
      continue;
    for (DWORD source = 0; source < line.cConnections; ++source) {
      MIXERLINEA sourceLine = {};
      sourceLine.cbStruct = sizeof(sourceLine);
      sourceLine.dwDestination = destination;
      sourceLine.dwSource = source;
      if (mixerGetLineInfoA(mixer, &sourceLine, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR)
        continue;
      sourceLine.szName[sizeof(sourceLine.szName) - 1] = '\0';
      if (visit(sourceLine)) return;
    }
  }
}

}  // namespace

void CAppController::InitVolumeScale() {
  m_volumeMaximum = 65535;
  m_volumeMinimum = 1;
  m_volumeStep = 655;
  m_volumeLevels = 100;
}

int CAppController::ApplyVolume(int level) {
  if (!m_pVolumeMixer) return 0;
  long value = m_volumeMinimum + static_cast<long>(m_volumeStep) * level;
  value = std::clamp<long>(value, m_volumeMinimum, m_volumeMaximum);
  m_pVolumeMixer->SetVolume(static_cast<DWORD>(value));
  return 1;
}

long CAppController::ReadVolume() {
  if (!m_pVolumeMixer) return 0;
  m_volumeRead = m_pVolumeMixer->GetVolume();
  return m_volumeRead;
}

void CAppController::SetAudioOn(int on) {
  if (!m_pVolumeMixer) return;
  if (on) {
    m_pVolumeMixer->LineOn();
    m_muted = 0;
  } else {
    m_pVolumeMixer->LineOff();
    m_muted = 1;
  }
}

// Live picture (2, 11, 13), recording (3, 12, 14), the channel wall (7) or a playing
// media file (4).
int CAppController::PlaysPictureOrSound() const {
  switch (GetRunState()) {
    case 2: case 11: case 13: case 3: case 12: case 14: case 7: case 4:
      return 1;
    default:
      return 0;
  }
}

int CAppController::VolumeStep(int down) {
  if (!g_pAppSettings || !PlaysPictureOrSound()) return 0;
  const int level = std::clamp(g_pAppSettings->Volume + (down ? -5 : 5), 0, 100);
  ChangeVolume(level);
  return level;
}

int CAppController::SetVolume(int level) {
  if (!g_pAppSettings || !PlaysPictureOrSound()) return 0;
  // The settings keep a level of the 0..100 scale, whatever a caller hands in.
  ChangeVolume(std::clamp(level, 0, 100));
  return 1;
}

void CAppController::ChangeVolume(int level) {
  g_pAppSettings->Volume = level;
  if (m_muted) SetAudioOn(1);
  ApplyVolume(level);
  DrawVolumeOsdLevel();
  if (!IsRecording()) return;
  // While recording the volume display stays up for a while after the last change.
  StopOsdTimer();
  HWND main = MainWindow();
  if (!main) return;
  m_osdTimer = SetTimer(main, kOsdTimer, kOsdTimerMs, nullptr);
  m_hOsdTimerWnd = m_osdTimer ? main : nullptr;
  if (!m_osdTimer) m_osdTimer = kNoTimer;
}

void CAppController::StopOsdTimer() {
  if (m_osdTimer != kNoTimer && IsWindow(m_hOsdTimerWnd)) KillTimer(m_hOsdTimerWnd, m_osdTimer);
  m_osdTimer = kNoTimer;
  m_hOsdTimerWnd = nullptr;
}

void CAppController::FillMixerLineNames() {
  if (!g_pAppSettings) return;
  CStringArray& names = g_pAppSettings->AudioLineNames;
  names.RemoveAll();
  if (mixerGetNumDevs() == 0 || !g_pAppSettings->AudioDeviceName[0]) return;
  HMIXER mixer = nullptr;
  MIXERCAPSA caps = {};
  const UINT id = ChooseMixer(g_pAppSettings->AudioDeviceName);
  if (mixerGetDevCapsA(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR ||
      mixerOpen(&mixer, id, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    return;
  ForEachSource(reinterpret_cast<HMIXEROBJ>(mixer), caps.cDestinations, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
                [&](const MIXERLINEA& source) {
                  names.Add(source.szName);
                  return false;
                });
  mixerClose(mixer);
}

int CAppController::FindMixerSourceName(DWORD componentType, CString& name, int recordingSide, LPCSTR mixerName) {
  if (mixerGetNumDevs() == 0) return 0;
  UINT id = ChooseMixer(mixerName);
  MIXERCAPSA caps = {};
  HMIXER mixer = nullptr;
  if (mixerGetDevCapsA(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR ||
      mixerOpen(&mixer, id, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    return 0;
  DWORD wantedDestination =
      recordingSide ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  int found = 0;
  ForEachSource(reinterpret_cast<HMIXEROBJ>(mixer), caps.cDestinations, wantedDestination,
                [&](const MIXERLINEA& source) {
                  if (source.dwComponentType != componentType) return false;
                  name = source.szName;
                  found = 1;
                  return true;
                });
  mixerClose(mixer);
  return found;
}
