#include <dshow/engine/GraphSeeking.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/engine/FilterGraph.h>

#include <algorithm>

namespace plat {

namespace {
LONGLONG resolve(const LONGLONG* requested, DWORD flags, LONGLONG current) {
  switch (flags & AM_SEEKING_PositioningBitsMask) {
    case AM_SEEKING_AbsolutePositioning: return *requested;
    case AM_SEEKING_RelativePositioning:
    case AM_SEEKING_IncrementalPositioning: return current + *requested;
    default: return current;
  }
}
}  // namespace

GraphSeeking::GraphSeeking(FilterGraph& graph) : m_graph(graph), m_owner(graph.GetOwner()) {}

std::vector<ComPtr<IMediaSeeking>> GraphSeeking::seekers() {
  std::vector<ComPtr<IMediaSeeking>> found;
  for (const ComPtr<IBaseFilter>& filter : m_graph.renderers()) {
    ComPtr<IMediaSeeking> seeking;
    if (SUCCEEDED(filter->QueryInterface(IID_IMediaSeeking, seeking.putVoid()))) found.push_back(seeking);
  }
  return found;
}

STDMETHODIMP GraphSeeking::GetCapabilities(DWORD* pCapabilities) {
  CheckPointer(pCapabilities, E_POINTER);
  DWORD caps = AM_SEEKING_CanGetCurrentPos;
  bool any = false;
  for (const ComPtr<IMediaSeeking>& seeking : seekers()) {
    DWORD one = 0;
    if (FAILED(seeking->GetCapabilities(&one))) continue;
    caps = any ? (caps & (one | AM_SEEKING_CanGetCurrentPos)) : (one | AM_SEEKING_CanGetCurrentPos);
    any = true;
  }
  *pCapabilities = caps;
  return S_OK;
}

STDMETHODIMP GraphSeeking::SetTimeFormat(const GUID* pFormat) {
  CheckPointer(pFormat, E_POINTER);
  if (m_graph.state() != State_Stopped) return VFW_E_WRONG_STATE;
  return MediaTimeSeeking::SetTimeFormat(pFormat);
}

STDMETHODIMP GraphSeeking::GetDuration(LONGLONG* pDuration) {
  CheckPointer(pDuration, E_POINTER);
  HRESULT result = E_NOTIMPL;
  LONGLONG longest = 0;
  for (const ComPtr<IMediaSeeking>& seeking : seekers()) {
    LONGLONG one = 0;
    if (FAILED(seeking->GetDuration(&one))) continue;
    longest = std::max(longest, one);
    result = S_OK;
  }
  *pDuration = longest;
  return result;
}

STDMETHODIMP GraphSeeking::GetStopPosition(LONGLONG* pStop) {
  CheckPointer(pStop, E_POINTER);
  CAutoLock lock(&m_graph.lock());
  if (m_stop >= 0) {
    *pStop = m_stop;
    return S_OK;
  }
  return GetDuration(pStop);
}

STDMETHODIMP GraphSeeking::GetCurrentPosition(LONGLONG* pCurrent) {
  CheckPointer(pCurrent, E_POINTER);
  CAutoLock lock(&m_graph.lock());
  LONGLONG position = m_start + static_cast<LONGLONG>(static_cast<double>(m_graph.streamTime()) * m_rate);
  LONGLONG stop = 0;
  if (SUCCEEDED(GetStopPosition(&stop)) && stop > 0) position = std::min(position, stop);
  *pCurrent = std::max<LONGLONG>(position, 0);
  return S_OK;
}

STDMETHODIMP GraphSeeking::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) {
  const bool moveCurrent = pCurrent && (dwCurrentFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning;
  const bool moveStop = pStop && (dwStopFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning;
  CAutoLock lock(&m_graph.lock());
  LONGLONG now = 0;
  GetCurrentPosition(&now);
  LONGLONG stop = 0;
  GetStopPosition(&stop);
  const LONGLONG target = moveCurrent ? resolve(pCurrent, dwCurrentFlags, now) : now;
  const LONGLONG newStop = moveStop ? resolve(pStop, dwStopFlags, stop) : stop;

  const bool running = m_graph.state() == State_Running;
  if (running && moveCurrent) m_graph.Pause();
  // Each renderer passes the seek to its source, which flushes and starts over.
  HRESULT result = seekers().empty() ? E_NOTIMPL : S_OK;
  for (const ComPtr<IMediaSeeking>& seeking : seekers()) {
    LONGLONG current = target;
    LONGLONG end = newStop;
    const HRESULT hr = seeking->SetPositions(moveCurrent ? &current : nullptr,
                                             moveCurrent ? AM_SEEKING_AbsolutePositioning : AM_SEEKING_NoPositioning,
                                             moveStop ? &end : nullptr,
                                             moveStop ? AM_SEEKING_AbsolutePositioning : AM_SEEKING_NoPositioning);
    if (FAILED(hr)) result = hr;
  }
  if (moveCurrent) {
    m_start = target;
    m_resume = false;
    m_graph.restartStreamTime();
  }
  if (moveStop) m_stop = newStop;
  if (moveCurrent && (dwCurrentFlags & AM_SEEKING_ReturnTime)) *pCurrent = target;
  if (moveStop && (dwStopFlags & AM_SEEKING_ReturnTime)) *pStop = newStop;
  if (running && moveCurrent) m_graph.runGraph();
  return result;
}

void GraphSeeking::graphStopping() {
  CAutoLock lock(&m_graph.lock());
  LONGLONG now = 0;
  GetCurrentPosition(&now);
  if (now == m_start) return;
  m_start = now;
  m_resume = true;
}

void GraphSeeking::graphStarting() {
  CAutoLock lock(&m_graph.lock());
  if (!m_resume) return;
  m_resume = false;
  // Sources that cannot seek (a live capture) simply start afresh.
  for (const ComPtr<IMediaSeeking>& seeking : seekers()) {
    LONGLONG current = m_start;
    seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  }
}

STDMETHODIMP GraphSeeking::SetRate(double dRate) {
  if (dRate <= 0.0) return E_INVALIDARG;
  CAutoLock lock(&m_graph.lock());
  HRESULT result = S_OK;
  for (const ComPtr<IMediaSeeking>& seeking : seekers()) {
    const HRESULT hr = seeking->SetRate(dRate);
    if (FAILED(hr) && hr != E_NOTIMPL) result = hr;
  }
  if (SUCCEEDED(result)) m_rate = dRate;
  return result;
}

STDMETHODIMP GraphSeeking::GetRate(double* pdRate) {
  CheckPointer(pdRate, E_POINTER);
  *pdRate = m_rate;
  return S_OK;
}

}  // namespace plat
