// The controller's side of the volume mixer: the volume scale and the mixer source names
// that the settings' defaults take.
#include "core/CAppController.h"

#include "core/CVolumeMixer.h"

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

}  // namespace

void CAppController::InitVolumeScale() {
  m_volumeMaximum = 65535;
  m_volumeMinimum = 1;
  m_volumeStep = 655;
  m_volumeLevels = 100;
}

void CAppController::ApplyVolume(int level) {
  if (!m_pVolumeMixer) return;
  long value = m_volumeMinimum + static_cast<long>(m_volumeStep) * level;
  value = std::clamp<long>(value, m_volumeMinimum, m_volumeMaximum);
  m_pVolumeMixer->SetVolume(static_cast<DWORD>(value));
}

int CAppController::FindMixerSourceName(DWORD componentType, CString& name, int recordingSide, LPCSTR mixerName) {
  if (mixerGetNumDevs() == 0) return 0;
  UINT id = ChooseMixer(mixerName);
  MIXERCAPSA caps = {};
  HMIXER mixer = nullptr;
  if (mixerGetDevCapsA(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR ||
      mixerOpen(&mixer, id, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    return 0;
  auto mixerObject = reinterpret_cast<HMIXEROBJ>(mixer);
  DWORD wantedDestination =
      recordingSide ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  int found = 0;
  for (DWORD destination = 0; !found && destination < caps.cDestinations; ++destination) {
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwDestination = destination;
    if (mixerGetLineInfoA(mixerObject, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) !=
            MMSYSERR_NOERROR ||
        line.dwComponentType != wantedDestination)
      continue;
    for (DWORD source = 0; !found && source < line.cConnections; ++source) {
      MIXERLINEA sourceLine = {};
      sourceLine.cbStruct = sizeof(sourceLine);
      sourceLine.dwDestination = destination;
      sourceLine.dwSource = source;
      if (mixerGetLineInfoA(mixerObject, &sourceLine, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) ==
              MMSYSERR_NOERROR &&
          sourceLine.dwComponentType == componentType) {
        sourceLine.szName[sizeof(sourceLine.szName) - 1] = '\0';
        name = sourceLine.szName;
        found = 1;
      }
    }
  }
  mixerClose(mixer);
  return found;
}
