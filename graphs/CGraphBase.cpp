#include "graphs/CGraphBase.h"

#include "graphs/GraphUtilities.h"
#include "graphs/HeldInterfaces.h"

#include <com/ComPtr.h>
#include <mfc/afxwin.h>
#include <win32/thread.h>

#include <cstdint>
#include <cwchar>

namespace {

using plat::ComPtr;

constexpr DWORD kSeekAbsoluteToKeyFrame = AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame;

// Each call of a chain of window calls keeps the first failure.
struct AllOk {
  bool ok = true;
  void operator+=(HRESULT hr) { ok = ok && hr == S_OK; }
};

}  // namespace

CGraphBase::~CGraphBase() {
  CGraphBase::ReleaseAll();
  ReleaseHeld(m_pGraph);
}

BOOL CGraphBase::Create() {
  if (m_pGraph || !CreateGraphManager(&m_pGraph)) return FALSE;
  AddToRot();
  return QueryInterfaces();
}

GraphControlFields CGraphBase::Controls() {
  return {m_pControl, m_pEvents, m_pBasicVideo, m_pBasicAudio, m_pVideoWindow, m_pSeeking};
}

BOOL CGraphBase::QueryInterfaces() {
  if (!m_pGraph) return FALSE;
  const bool controls = QueryGraphControls(m_pGraph, Controls());
  const bool streams = QueryHeld(m_pGraph, IID_IAMGraphStreams, m_pGraphStreams);
  return controls && streams;
}

BOOL CGraphBase::Attach(IGraphBuilder* graph) {
  ReleaseAll();
  if (!graph) return TRUE;
  graph->AddRef();
  m_pGraph = graph;
  AddToRot();
  return QueryInterfaces();
}

void CGraphBase::ReleaseAll() {
  ReleaseGraphControls(Controls());
  ReleaseHeld(m_pGraphStreams);
  RemoveFromRot();
  ReleaseHeld(m_pGraph);
}

void CGraphBase::AddToRot() {
  IRunningObjectTable* table = nullptr;
  if (FAILED(GetRunningObjectTable(0, &table)) || !table) return;
  // The pointer printed at its full width, as the 32-bit "%08p" shows it.
  WCHAR name[256];
  swprintf(name, 256, L"FilterGraph %0*llX pid %08x", static_cast<int>(2 * sizeof(void*)),
           static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(m_pGraph)),
           static_cast<unsigned>(GetCurrentProcessId()));
  IMoniker* moniker = nullptr;
  if (SUCCEEDED(CreateItemMoniker(L"!", name, &moniker)) && moniker) {
    table->Register(0, m_pGraph, moniker, &m_rotCookie);
    moniker->Release();
  }
  table->Release();
}

void CGraphBase::RemoveFromRot() {
  IRunningObjectTable* table = nullptr;
  if (FAILED(GetRunningObjectTable(0, &table)) || !table) return;
  table->Revoke(m_rotCookie);
  m_rotCookie = 0;
  table->Release();
}

BOOL CGraphBase::SetNotifyWindow(HWND window) {
  if (!m_pEvents) return FALSE;
  return m_pEvents->SetNotifyWindow(reinterpret_cast<OAHWND>(window), UM_GRAPH_EVENT, 0) == S_OK;
}

BOOL CGraphBase::RenderFile(LPCSTR path) {
  return m_pGraph && RenderFileAnsi(m_pGraph, path);
}

BOOL CGraphBase::ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) {
  if (!m_pGraph || !output || !input) return FALSE;
  return SUCCEEDED(m_pGraph->ConnectDirect(output, input, type));
}

void CGraphBase::Disconnect(IPin* pin) {
  if (m_pGraph && pin) m_pGraph->Disconnect(pin);
}

BOOL CGraphBase::SyncUsingStreamOffset() {
  if (!m_pGraphStreams) return FALSE;
  m_pGraphStreams->SyncUsingStreamOffset(TRUE);
  return TRUE;
}

BOOL CGraphBase::SetSyncSource(IBaseFilter* filter) {
  if (!m_pGraph) return FALSE;
  ComPtr<IMediaFilter> graphFilter;
  if (FAILED(m_pGraph->QueryInterface(IID_IMediaFilter, graphFilter.putVoid()))) return FALSE;
  if (!filter) {
    graphFilter->SetSyncSource(nullptr);
    return TRUE;
  }
  ComPtr<IReferenceClock> clock;
  if (FAILED(filter->QueryInterface(IID_IReferenceClock, clock.putVoid()))) return FALSE;
  return graphFilter->SetSyncSource(clock.get()) == S_OK;
}

BOOL CGraphBase::SetDefaultSyncSource() { return m_pGraph && SUCCEEDED(m_pGraph->SetDefaultSyncSource()); }

BOOL CGraphBase::ChangeState(RunState target, HRESULT (STDMETHODCALLTYPE IMediaControl::*change)()) {
  if (!m_pGraph || !m_pControl) return FALSE;
  if (m_runState == target) return TRUE;
  if (FAILED((m_pControl->*change)())) return FALSE;
  m_runState = target;
  return TRUE;
}

BOOL CGraphBase::Run() { return ChangeState(kRunning, &IMediaControl::Run); }
BOOL CGraphBase::Pause() { return ChangeState(kPaused, &IMediaControl::Pause); }
BOOL CGraphBase::Stop() { return ChangeState(kStopped, &IMediaControl::Stop); }

BOOL CGraphBase::SetOwnerWindow(HWND window) {
  if (!m_pVideoWindow) return FALSE;
  m_hOwner = window;
  const OAHWND owner = reinterpret_cast<OAHWND>(window);
  RECT client = {};
  GetClientRect(window, &client);
  AllOk all;
  all += m_pVideoWindow->put_Visible(OAFALSE);
  all += m_pVideoWindow->put_AutoShow(OATRUE);
  all += m_pVideoWindow->put_Owner(owner);
  all += m_pVideoWindow->SetWindowPosition(client.left, client.top, client.right - client.left,
                                           client.bottom - client.top);
  all += m_pVideoWindow->put_WindowStyle(kChildStyle);
  all += m_pVideoWindow->put_MessageDrain(owner);
  all += m_pVideoWindow->put_Visible(window ? OATRUE : OAFALSE);
  return all.ok;
}

BOOL CGraphBase::PlaceVideoWindow(HWND window, long left, long top, long width, long height) {
  if (!m_pVideoWindow) return FALSE;
  m_hOwner = window;
  PlaceVideoWindowIn(m_pVideoWindow, window, left, top, width, height);
  return TRUE;
}

BOOL CGraphBase::ParkVideoWindow() {
  if (!m_pVideoWindow) return FALSE;
  CWnd* main = AfxGetMainWnd();
  const HWND park = main ? main->GetSafeHwnd() : nullptr;
  if (!park || !IsWindow(park)) return FALSE;
  const OAHWND owner = reinterpret_cast<OAHWND>(park);
  AllOk all;
  all += m_pVideoWindow->put_Visible(OAFALSE);
  all += m_pVideoWindow->put_Owner(owner);
  all += m_pVideoWindow->put_Left(0);
  all += m_pVideoWindow->put_Top(0);
  all += m_pVideoWindow->put_Width(0);
  all += m_pVideoWindow->put_Height(0);
  all += m_pVideoWindow->put_WindowStyle(WS_CHILD | WS_DISABLED);
  all += m_pVideoWindow->put_MessageDrain(owner);
  return all.ok;
}

BOOL CGraphBase::SetFullScreen(BOOL on, HWND window) {
  if (!m_pVideoWindow || !IsWindow(window)) return FALSE;
  if (FAILED(m_pVideoWindow->put_FullScreenMode(on ? OATRUE : OAFALSE))) return FALSE;
  const OAHWND owner = reinterpret_cast<OAHWND>(window);
  m_pVideoWindow->put_Owner(owner);
  m_pVideoWindow->put_MessageDrain(owner);
  m_pVideoWindow->put_WindowStyle(kChildStyle);
  return TRUE;
}

BOOL CGraphBase::IsFullScreen() {
  if (!m_pVideoWindow) return FALSE;
  long mode = OAFALSE;
  return SUCCEEDED(m_pVideoWindow->get_FullScreenMode(&mode)) && mode == OATRUE;
}

BOOL CGraphBase::MoveAndShow(long left, long top, long width, long height) {
  if (!m_pVideoWindow) return FALSE;
  m_pVideoWindow->put_Visible(OAFALSE);
  m_pVideoWindow->SetWindowPosition(left, top, width, height);
  m_pVideoWindow->put_Visible(OATRUE);
  return TRUE;
}

BOOL CGraphBase::ResizeToOwner() {
  if (!m_pVideoWindow || !m_hOwner) return FALSE;
  RECT client = {};
  GetClientRect(m_hOwner, &client);
  m_pVideoWindow->put_Left(client.left);
  m_pVideoWindow->put_Top(client.top);
  m_pVideoWindow->put_Width(client.right - client.left);
  m_pVideoWindow->put_Height(client.bottom - client.top);
  return TRUE;
}

BOOL CGraphBase::SetVideoPosition(long left, long top, long width, long height) {
  if (!m_pVideoWindow) return FALSE;
  long visible = OAFALSE;
  m_pVideoWindow->get_Visible(&visible);
  m_pVideoWindow->put_Visible(OAFALSE);
  m_pVideoWindow->put_Left(left);
  m_pVideoWindow->put_Top(top);
  m_pVideoWindow->put_Width(width);
  m_pVideoWindow->put_Height(height);
  m_pVideoWindow->put_Visible(visible);
  return TRUE;
}

BOOL CGraphBase::NotifyOwnerMessage(HWND window, long message, LONG_PTR wParam, LONG_PTR lParam) {
  if (!m_pVideoWindow) return FALSE;
  return SUCCEEDED(m_pVideoWindow->NotifyOwnerMessage(reinterpret_cast<OAHWND>(window), message, wParam, lParam));
}

BOOL CGraphBase::GetCurrentPosition(double* seconds) {
  return ReadSeconds(m_pSeeking, &IMediaSeeking::GetCurrentPosition, seconds);
}

BOOL CGraphBase::GetStopPosition(double* seconds) {
  return ReadSeconds(m_pSeeking, &IMediaSeeking::GetStopPosition, seconds);
}

BOOL CGraphBase::GetDuration(double* seconds) { return ReadSeconds(m_pSeeking, &IMediaSeeking::GetDuration, seconds); }

BOOL CGraphBase::SetCurrentPosition(double seconds) {
  if (!m_pSeeking) return FALSE;
  LONGLONG current = UnitsFromSeconds(seconds);
  return SUCCEEDED(m_pSeeking->SetPositions(&current, kSeekAbsoluteToKeyFrame, nullptr, AM_SEEKING_NoPositioning));
}

BOOL CGraphBase::SetPositions(double start, double stop) {
  if (!m_pSeeking) return FALSE;
  LONGLONG current = UnitsFromSeconds(start);
  LONGLONG end = UnitsFromSeconds(stop);
  return SUCCEEDED(m_pSeeking->SetPositions(&current, kSeekAbsoluteToKeyFrame, &end, kSeekAbsoluteToKeyFrame));
}

BOOL CGraphBase::SetRate(double rate) { return m_pSeeking && SUCCEEDED(m_pSeeking->SetRate(rate)); }
