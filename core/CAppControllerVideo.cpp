// The video area and the graphs behind it: the video window, where the video is placed,
// muting with its display, the graphs' events, teardown, the input and standard switches
// that restart the live graph, snapshots, and the questions the windows ask about an
// opened media file.
#include "core/CAppController.h"

#include "core/data/CAppSettings.h"
#include "core/CRunState.h"
#include "core/data/TunerProgramming.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/CaptureFileNames.h"
#include "graphs/CPlaybackGraph.h"

#include <mfc/afxwin.h>
#include <vendor/language/Language.h>
#include <win32/user.h>

#include <cstring>

void CAppController::ToggleMute() {
  if (!IsPreviewing() && !IsRecording() && !m_mediaOpened) return;
  if (m_muted) {
    SetAudioOn(1);
    DrawVolumeOsd(0);
  } else {
    SetAudioOn(0);
    DrawVolumeOsd(1);
  }
}

int CAppController::SetVideoWindow(HWND window) {
  if (!IsWindow(window)) return 0;
  m_hVideoWindow = window;
  return 1;
}

void CAppController::SetVideoOwner(HWND window) {
  if (!m_pCaptureGraph || (!IsPreviewing() && !IsMosaicMode())) return;
  m_pCaptureGraph->AttachVideoWindow(window);
  m_pCaptureGraph->SetVideoWindow(window);
}

void CAppController::SetVideoRect(int left, int top, int width, int height) {
  if (m_mediaOpened && m_pPlaybackGraph) {
    m_pPlaybackGraph->PlaceVideoWindow(left, top, width, height);
    return;
  }
  const int state = GetRunState();
  const bool live = IsPreviewing() || IsRecording() || state == 6 || state == 7 || state == 9 || state == 10;
  if (m_pCaptureGraph && live) m_pCaptureGraph->SetVideoPosition(left, top, width, height);
}

void CAppController::SetPlaybackFullScreen(int flag) {
  if (m_mediaOpened && m_pPlaybackGraph) m_pPlaybackGraph->SetFullScreen(flag);
}

IMediaEventEx* CAppController::GetGraphEventInterface() const {
  const int state = GetRunState();
  if (state != 4 && state != 1) return m_pCaptureGraph ? m_pCaptureGraph->GetEventInterface() : nullptr;
  if (state == 4 && m_pPlaybackGraph) return m_pPlaybackGraph->GetEventInterface();
  return nullptr;
}

void CAppController::DestroyCaptureGraph() {
  if (!m_pCaptureGraph) return;
  SetAudioOn(0);
  m_pCaptureGraph->Close();
  delete m_pCaptureGraph;
  m_pCaptureGraph = nullptr;
  SetAudioOn(1);
}

void CAppController::StopPreview() {
  if (!IsPreviewing() || !m_pCaptureGraph) return;
  m_pCaptureGraph->ResizeVideo();
  m_pCaptureGraph->Stop();
  m_pRunState->SetState(0);
}

int CAppController::StopAll() {
  if (!m_pRunState) return 0;
  if (GetRunState() == 4 && m_pPlaybackGraph) CloseMediaGraph();
  m_pRunState->SetState(0);
  m_mediaOpened = 0;
  return 1;
}

int CAppController::StartGraphInWindow() {
  if (!m_hVideoWindow || !m_pCaptureGraph || !g_pAppSettings || !m_pRunState) return 0;
  const CAppSettings& settings = *g_pAppSettings;
  BOOL started = FALSE;
  if (m_pCaptureGraph->SetWindowAndBuild(m_hVideoWindow)) {
    if (settings.VideoInput >= 1 && settings.VideoInput <= 4) m_pRunState->SetSubState(15 + settings.VideoInput);
    m_pCaptureGraph->SetInputType(settings.LineStandard);
    started = m_pCaptureGraph->ApplyTvSettings(GetInputKind(), settings.Sharpness, settings.Contrast,
                                               settings.Brightness, settings.Hue, settings.Saturation);
    if (!started) AfxMessageBox(GetMessageInfo(16));
  }
  if (started) return 1;
  delete m_pCaptureGraph;
  m_pCaptureGraph = nullptr;
  return 0;
}

int CAppController::SwitchInput(HWND window) {
  if (!IsWindow(window) || !m_pRunState || !g_pAppSettings) return 0;
  SetVideoWindow(window);
  if (!m_pCaptureGraph) {
    if (StartPreview(window)) return 1;
    m_pRunState->SetState(0);
    return 0;
  }
  const CAppSettings& settings = *g_pAppSettings;
  switch (settings.VideoInput) {
    case 1: case 2: m_pRunState->SetState(2); break;
    case 3: m_pRunState->SetState(11); break;
    case 4: m_pRunState->SetState(13); break;
    default: break;
  }
  if (settings.VideoInput >= 1 && settings.VideoInput <= 4) m_pRunState->SetSubState(15 + settings.VideoInput);
  m_pCaptureGraph->SetInputType(settings.LineStandard);
  SetAudioOn(0);
  if (!m_pCaptureGraph->ChangeInput(GetInputKind(), 720, settings.LineStandard == 4 ? 480 : 576)) {
    SetAudioOn(1);
    DestroyCaptureGraph();
    m_pRunState->SetState(0);
    return 0;
  }
  switch (GetRunState()) {
    case 2: TuneCurrentChannel(); break;
    case 11: ShowOsdText("Composite"); break;
    case 13: ShowOsdText("S-Video"); break;
    default: break;
  }
  SetAudioOn(1);
  return 1;
}

// A country without a table gives no line family; the one in use is kept then.
void CAppController::SetVideoStandard(int, int width, int height) {
  if (!IsPreviewing() || !g_pAppSettings) return;
  CAppSettings& settings = *g_pAppSettings;
  int family = settings.LineStandard;
  if (settings.VideoInput == 1 || settings.VideoInput == 2)
    family = GetCountryStandardCode(settings.CountryCode);
  else if (settings.VideoInput == 3 || settings.VideoInput == 4)
    family = settings.AvInputStandard == 0 || settings.AvInputStandard == 1 ? 4 : 3;
  if (family != -1) settings.LineStandard = family;
  if (!m_pCaptureGraph) return;
  SetAudioOn(0);
  m_pCaptureGraph->SetSize(width, settings.LineStandard == 4 ? 480 : height);
  if (GetRunState() == 2) RetuneSilently();
  SetAudioOn(1);
}

int CAppController::TakeSnapshot(CString& path) {
  path.Empty();
  if (!m_pCaptureGraph || !g_pAppSettings || !IsPreviewing()) return 0;
  CAppSettings& settings = *g_pAppSettings;
  if (!FolderExists(settings.PictureFolder, 0, 0)) {
    const CString folder = GetModuleFolder() + "Picture\\";
    if (!FolderExists(folder, 0, 0) && !CreateFolder(folder)) return 0;
    std::strncpy(settings.PictureFolder, folder, sizeof settings.PictureFolder - 1);
  }
  // The grabber writes the series' next free name, the one taken here.
  CStringArray names;
  const CString file = CString(settings.PictureFolder) + NextCaptureFileName(settings.PictureFolder, "*.bmp", ".bmp", names);
  if (!m_pCaptureGraph->SaveSnapshot(settings.PictureFolder, 0)) return 0;
  path = file;
  ShowOsdText("Still Pic");
  return 1;
}

int CAppController::IsMediaOpen() const { return m_pPlaybackGraph && m_mediaOpened && m_pPlaybackGraph->IsPaused(); }

int CAppController::IsMediaRunning() const {
  return m_pPlaybackGraph && m_mediaOpened && m_pPlaybackGraph->IsPlaying();
}

int CAppController::IsMediaPaused() const { return m_pPlaybackGraph && m_mediaOpened && m_pPlaybackGraph->IsClosed(); }

void CAppController::SeekMediaPercent(int percent) {
  if (m_pPlaybackGraph && m_mediaOpened) m_pPlaybackGraph->SeekPercent(percent);
}

int CAppController::GetMediaPositionPercent() const {
  return m_pPlaybackGraph && m_mediaOpened ? m_pPlaybackGraph->GetPositionPercent() : 0;
}
