// Media playback: the media player's file played through a playback graph of its own
// while the live graph is stopped, and the way back to the live picture. Run state 1 is
// media mode with no file, 4 a file playing or paused; timer 655 on the media player's
// window runs while the file plays.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/CPlaybackGraph.h"

#include <win32/user.h>

#include <cstring>
#include <new>

namespace {

constexpr int kMediaMode = 1;
constexpr int kMediaPlaying = 4;
constexpr int kTvState = 2;
constexpr int kCompositeState = 11;
constexpr int kSVideoState = 13;

// The capture size of the settings' size code; false for a code that has none.
bool CaptureSize(int code, int& width, int& height) {
  switch (code) {
    case 1: width = 320; height = 240; return true;
    case 2: width = 640; height = 480; return true;
    case 3: width = 720; height = 576; return true;
    case 4: width = 720; height = 480; return true;
    default: return false;
  }
}

}  // namespace

void CAppController::CloseTvForMedia() {
  if (m_pCaptureGraph) {
    SetAudioOn(0);
    if (IsPreviewing()) m_pCaptureGraph->Stop();
    SetAudioOn(1);
  }
  EnterMediaMode();
}

void CAppController::PlayMediaFile(HWND videoWindow, HWND timerWindow, LPCSTR path) {
  const int state = GetRunState();
  if (state != kMediaMode && state != kMediaPlaying) return;
  if (IsMediaOpen()) StopMediaFile();
  if (!m_pPlaybackGraph) {
    m_pRunState->SetState(kMediaPlaying);
    m_pPlaybackGraph = new (std::nothrow) CPlaybackGraph;
    if (!m_pPlaybackGraph) {
      StopMediaFile();
      return;
    }
  }
  if (!IsWindow(videoWindow) || !path || std::strlen(path) < 3) {
    StopMediaFile();
    return;
  }
  // A graph that failed to start keeps its half-built graph and could never open another
  // file, so any failure ends the file here.
  if (m_pPlaybackGraph->OpenAndPlay(videoWindow, path) != CPlaybackGraph::kPlaying) {
    StopMediaFile();
    return;
  }
  KillMediaTimer();
  m_hAvWindow = timerWindow;
  StartMediaTimer();
  SetGraphNotifyWindow(MainWindow());
  m_mediaOpened = 1;
}

BOOL CAppController::RestartMediaTimer(HWND owner) {
  if (!IsMediaOpen()) return FALSE;
  if (m_mediaTimer == kNoTimer) StartMediaTimer();
  // Paused, the graph resumes without asking for a file.
  switch (m_pPlaybackGraph->PlayFile(owner)) {
    case CPlaybackGraph::kPlaying:
      return TRUE;
    case CPlaybackGraph::kRateFailed:
    case CPlaybackGraph::kRunFailed:
      StopMediaFile();
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL CAppController::MediaPause() {
  if (!m_pPlaybackGraph || !m_pPlaybackGraph->IsPlaying() || !m_pPlaybackGraph->Pause()) return FALSE;
  KillMediaTimer();
  return TRUE;
}

BOOL CAppController::MediaForward() {
  if (!m_pPlaybackGraph || !m_pPlaybackGraph->IsPlaying()) return FALSE;
  m_pPlaybackGraph->Forward();
  return TRUE;
}

BOOL CAppController::MediaBackward() {
  if (!m_pPlaybackGraph || !m_pPlaybackGraph->IsPlaying()) return FALSE;
  m_pPlaybackGraph->Backward();
  return TRUE;
}

BOOL CAppController::IsMediaComplete() {
  return m_pPlaybackGraph && m_pPlaybackGraph->IsPlaying() && m_pPlaybackGraph->IsComplete();
}

void CAppController::SetAvWindow(HWND window) {
  if (IsWindow(window) && GetRunState() == kMediaPlaying) m_hAvWindow = window;
}

void CAppController::StopMediaFile() {
  if (GetRunState() == kMediaPlaying && m_pPlaybackGraph) CloseMediaGraph();
  EnterMediaMode();
  m_mediaOpened = 0;
}

BOOL CAppController::ReturnToTv(int restoreChannel, int resize) {
  const int state = GetRunState();
  if (state != kMediaMode && state != kMediaPlaying) return FALSE;
  if (state == kMediaPlaying && m_pPlaybackGraph) CloseMediaGraph();
  m_mediaOpened = 0;
  if (!m_pCaptureGraph) {
    SetIdle();
    // The capture device in use went while the file played: the preview of the one left.
    if (!m_deviceLost) return FALSE;
    m_deviceLost = 0;
    return OpenPreview() ? TRUE : FALSE;
  }
  SetAudioOn(0);
  RestartLiveGraph(resize);
  switch (m_pRunState->GetSubState()) {
    case 16:
    case 17: {
      m_pRunState->SetState(kTvState);
      const int list = GetActiveChannelListIndex();
      if (restoreChannel && g_pChannelList && (list == 1 || list == 2)) TuneCurrentListChannel();
      break;
    }
    case 18: m_pRunState->SetState(kCompositeState); break;
    case 19: m_pRunState->SetState(kSVideoState); break;
    default: break;
  }
  SetAudioOn(1);
  return TRUE;
}

// The live graph was stopped for the file: at the settings' capture size it is switched
// to its input again and runs; otherwise it runs as it was.
void CAppController::RestartLiveGraph(int resize) {
  int width = 0;
  int height = 0;
  if (resize && g_pAppSettings && CaptureSize(g_pAppSettings->LineStandard, width, height) &&
      m_pCaptureGraph->ChangeInput(GetInputKind(), width, height))
    return;
  m_pCaptureGraph->Run();
}

void CAppController::StartMediaTimer() {
  const UINT_PTR timer = SetTimer(m_hAvWindow, kMediaTimer, kMediaTimerMs, nullptr);
  m_mediaTimer = timer ? timer : kNoTimer;
  m_hMediaTimerWnd = m_hAvWindow;
}

void CAppController::KillMediaTimer() {
  if (m_mediaTimer != kNoTimer) KillTimer(m_hMediaTimerWnd, m_mediaTimer);
  m_mediaTimer = kNoTimer;
  m_hMediaTimerWnd = nullptr;
}

void CAppController::CloseMediaGraph() {
  KillMediaTimer();
  m_pPlaybackGraph->Close();
  delete m_pPlaybackGraph;
  m_pPlaybackGraph = nullptr;
}
