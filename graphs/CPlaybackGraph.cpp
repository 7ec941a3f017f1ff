#include "graphs/CPlaybackGraph.h"

#include "graphs/CMpeg2SplitterFilter.h"
#include "graphs/CMpegVideoDecoderFilter.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/GraphUtilities.h"
#include "graphs/HeldInterfaces.h"

#include <mfc/afxdlgs.h>
#include <mfc/afxwin.h>
#include <win32/module.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// {202822C5-2C23-4530-9A80-B64513158173}
constexpr CLSID kClsidMpegAudioDecoder = {0x202822C5, 0x2C23, 0x4530, {0x9A, 0x80, 0xB6, 0x45, 0x13, 0x15, 0x81, 0x73}};

constexpr LPCSTR kVideoDecoderModule = "Filter\\QNMpegVD.ax";
constexpr LPCSTR kAudioDecoderModule = "Filter\\QNMpegAD.ax";

constexpr LPCSTR kMediaFileFilter =
    "MPEG File (*.mpg;*.mpeg)|*.mpg;*.mpeg|AVI File (*.avi)|*.avi|Mp3 File (*.mp3)|*.mp3|Wave File (*.wav)|*.wav|"
    "All Files (*.*)|*.*|";

constexpr double kStepSeconds = 10.0;
constexpr LONG kStateTimeoutMs = 10;
constexpr long kChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// The folder of the running program, with its trailing backslash, plus `relative`.
std::string InProgramFolder(LPCSTR relative) {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* lastBackslash = std::strrchr(path, '\\');
  if (lastBackslash) lastBackslash[1] = '\0';
  return std::string(lastBackslash ? path : "") + relative;
}

}  // namespace

CPlaybackGraph::~CPlaybackGraph() { CPlaybackGraph::ReleaseAll(); }

BOOL CPlaybackGraph::Create() {
  if (m_pGraph || !CreateGraphManager(&m_pGraph)) return FALSE;
  EnsureVideoDecoder();
  if (!IsFilterRegistered(kClsidMpegAudioDecoder)) EnsureAudioDecoder();
  return QueryInterfaces();
}

GraphControlFields CPlaybackGraph::Controls() {
  return {m_pControl, m_pEvents, m_pBasicVideo, m_pBasicAudio, m_pVideoWindow, m_pSeeking};
}

BOOL CPlaybackGraph::QueryInterfaces() { return m_pGraph && QueryGraphControls(m_pGraph, Controls()); }

void CPlaybackGraph::ReleaseAll() {
  ReleaseGraphControls(Controls());
  // The wrappers take their filters out of the graph, so they go before it.
  DeleteWrappers();
  ReleaseHeld(m_pGraph);
}

BOOL CPlaybackGraph::Attach(IGraphBuilder* graph) {
  ReleaseAll();
  if (!graph) return TRUE;
  graph->AddRef();
  m_pGraph = graph;
  return QueryInterfaces();
}

void CPlaybackGraph::DeleteWrappers() {
  delete m_pVideoDecoder;
  m_pVideoDecoder = nullptr;
  delete m_pSplitter;
  m_pSplitter = nullptr;
}

void CPlaybackGraph::EnsureVideoDecoder() {
  DeleteWrappers();
  m_pVideoDecoder = new CMpegVideoDecoderFilter(m_pGraph);
  if (!m_pVideoDecoder->Create(TRUE)) {
    RegisterFilterModule(InProgramFolder(kVideoDecoderModule).c_str());
    if (!m_pVideoDecoder->Create(TRUE)) {
      delete m_pVideoDecoder;
      m_pVideoDecoder = nullptr;
    }
  }
  m_pSplitter = new CMpeg2SplitterFilter(m_pGraph);
  m_pSplitter->AddToGraph();
}

// Registration reports nothing itself; whether the decoder can now be made is the result.
BOOL CPlaybackGraph::EnsureAudioDecoder() {
  RegisterFilterModule(InProgramFolder(kAudioDecoderModule).c_str());
  return IsFilterRegistered(kClsidMpegAudioDecoder);
}

int CPlaybackGraph::OpenAndPlay(HWND owner, LPCSTR path) {
  if (!owner || !path) return kBadArgument;
  if (m_state == kStatePaused) return Resume();
  if (m_state != kClosed && m_state != kStatePlaying) return kPlaying;
  return StartFile(owner, path);
}

int CPlaybackGraph::PlayFile(HWND owner) {
  if (!owner) return kBadArgument;
  if (m_state == kStatePaused) return Resume();
  if (m_state != kClosed && m_state != kStatePlaying) return kPlaying;
  CString path;
  if (!ChooseMediaFile(path)) return kCancelled;
  return StartFile(owner, path);
}

BOOL CPlaybackGraph::ChooseMediaFile(CString& path) {
  CWnd* main = AfxGetMainWnd();
  const HWND mainWindow = main ? main->GetSafeHwnd() : nullptr;
  if (mainWindow) ::SendMessageA(mainWindow, UM_FILE_DIALOG_OPENING, 0, 0);
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, kMediaFileFilter);
  const BOOL chosen = dialog.DoModal() == IDOK;
  if (mainWindow) ::SendMessageA(mainWindow, UM_FILE_DIALOG_CLOSED, 0, 0);
  if (chosen) path = dialog.GetPathName();
  return chosen;
}

int CPlaybackGraph::Resume() {
  if (!SetRate(1.0)) return kRateFailed;
  if (!Run()) return kRunFailed;
  m_state = kStatePlaying;
  return kPlaying;
}

int CPlaybackGraph::StartFile(HWND owner, LPCSTR path) {
  if (m_state == kStatePlaying) CloseAndRelease();
  if (!Create()) return kNoGraph;
  if (!RenderFile(path)) return kRenderFailed;
  SetVideoWindow(owner);
  if (!SetRate(1.0)) return kRateFailed;
  if (!Run()) return kRunFailed;
  m_state = kStatePlaying;
  GetDuration(&m_duration);
  return kPlaying;
}

BOOL CPlaybackGraph::RenderFile(LPCSTR path) {
  return m_pGraph && RenderFileAnsi(m_pGraph, path);
}

BOOL CPlaybackGraph::ReportsState(OAFilterState wanted) {
  OAFilterState state = State_Stopped;
  return SUCCEEDED(m_pControl->GetState(kStateTimeoutMs, &state)) && state == wanted;
}

BOOL CPlaybackGraph::Pause() {
  if (m_state != kStatePlaying || !m_pControl) return FALSE;
  if (!ReportsState(State_Paused) && FAILED(m_pControl->Pause())) return FALSE;
  m_state = kStatePaused;
  return TRUE;
}

BOOL CPlaybackGraph::Close() {
  if (m_state == kClosed) return FALSE;
  if (!Stop()) return FALSE;
  SetNotifyWindow(nullptr);
  m_duration = 0.0;
  m_state = kClosed;
  return TRUE;
}

BOOL CPlaybackGraph::CloseAndRelease() {
  if (!Close()) return FALSE;
  ReleaseAll();
  return TRUE;
}

BOOL CPlaybackGraph::Run() {
  if (!m_pGraph || !m_pControl) return FALSE;
  if (ReportsState(State_Running)) return TRUE;
  return SUCCEEDED(m_pControl->Run());
}

BOOL CPlaybackGraph::Stop() {
  if (!m_pGraph || !m_pControl) return FALSE;
  if (ReportsState(State_Stopped)) return TRUE;
  if (FAILED(m_pControl->Stop())) return FALSE;
  SetCurrentPosition(0.0);
  return TRUE;
}

// A duration that was never read (0) does not bound the step, which would rewind.
BOOL CPlaybackGraph::Forward() {
  double current = 0.0;
  if (m_state != kStatePlaying || !SetRate(1.0) || !GetCurrentPosition(&current)) return FALSE;
  double target = current + kStepSeconds;
  if (m_duration > 0.0 && target > m_duration) target = m_duration;
  if (!SetCurrentPosition(target)) return FALSE;
  m_state = kStatePlaying;
  return TRUE;
}

BOOL CPlaybackGraph::Backward() {
  double current = 0.0;
  if (m_state != kStatePlaying || !SetRate(1.0) || !GetCurrentPosition(&current)) return FALSE;
  if (!SetCurrentPosition(std::max(current - kStepSeconds, 0.0))) return FALSE;
  m_state = kStatePlaying;
  return TRUE;
}

BOOL CPlaybackGraph::SeekPercent(int percent) { return SetCurrentPosition(percent * m_duration * 0.01); }

// Clamped before the conversion: a tiny duration must not overflow the integer.
int CPlaybackGraph::GetPositionPercent() {
  double current = 0.0;
  if (!GetCurrentPosition(&current) || !(m_duration > 0.0)) return 0;
  // At the end the ratio of two converted times can fall a hair short of 100.
  if (current >= m_duration) return 100;
  return static_cast<int>(std::clamp(current * 100.0 / m_duration, 0.0, 100.0));
}

BOOL CPlaybackGraph::GetCurrentPosition(double* seconds) {
  return ReadSeconds(m_pSeeking, &IMediaSeeking::GetCurrentPosition, seconds);
}

BOOL CPlaybackGraph::GetDuration(double* seconds) {
  return ReadSeconds(m_pSeeking, &IMediaSeeking::GetDuration, seconds);
}

BOOL CPlaybackGraph::SetCurrentPosition(double seconds) {
  if (!m_pSeeking) return FALSE;
  LONGLONG current = UnitsFromSeconds(seconds);
  return SUCCEEDED(m_pSeeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame,
                                            nullptr, AM_SEEKING_NoPositioning));
}

BOOL CPlaybackGraph::SetRate(double rate) { return m_pSeeking && SUCCEEDED(m_pSeeking->SetRate(rate)); }

BOOL CPlaybackGraph::SetVideoWindow(HWND window) {
  if (!m_pVideoWindow) return FALSE;
  const OAHWND owner = reinterpret_cast<OAHWND>(window);
  m_pVideoWindow->put_Visible(OAFALSE);
  m_pVideoWindow->put_AutoShow(OATRUE);
  m_pVideoWindow->put_Owner(owner);
  if (window) {
    RECT client = {};
    GetClientRect(window, &client);
    m_pVideoWindow->SetWindowPosition(client.left, client.top, client.right - client.left,
                                      client.bottom - client.top);
  }
  m_pVideoWindow->put_WindowStyle(kChildStyle);
  m_pVideoWindow->put_MessageDrain(owner);
  if (window) {
    m_hOwner = window;
    m_pVideoWindow->put_Visible(OATRUE);
  }
  return TRUE;
}

BOOL CPlaybackGraph::PlaceVideoWindow(long left, long top, long width, long height) {
  if (!m_pVideoWindow || !m_hOwner) return FALSE;
  PlaceVideoWindowIn(m_pVideoWindow, m_hOwner, left, top, width, height);
  return TRUE;
}

void CPlaybackGraph::SetFullScreen(long value) {
  if (m_pVideoWindow) m_pVideoWindow->put_FullScreenMode(value);
}

BOOL CPlaybackGraph::SetNotifyWindow(HWND window) {
  if (!m_pEvents) return FALSE;
  m_pEvents->SetNotifyWindow(reinterpret_cast<OAHWND>(window), UM_GRAPH_EVENT, 0);
  return TRUE;
}

BOOL CPlaybackGraph::IsComplete() {
  if (!m_pEvents) return FALSE;
  long code = 0;
  LONG_PTR first = 0;
  LONG_PTR second = 0;
  while (SUCCEEDED(m_pEvents->GetEvent(&code, &first, &second, 0))) {
    m_pEvents->FreeEventParams(code, first, second);
    if (code == EC_COMPLETE) return TRUE;
  }
  return FALSE;
}
