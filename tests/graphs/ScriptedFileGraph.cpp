#include "ScriptedFileGraph.h"

namespace test {

ScriptedFileGraph::ScriptedFileGraph(IGraphBuilder* engine) : m_engine(engine) {}

STDMETHODIMP ScriptedFileGraph::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IFilterGraph || riid == IID_IGraphBuilder) {
    *ppv = static_cast<IGraphBuilder*>(this);
  } else if (riid == IID_IMediaControl) {
    *ppv = static_cast<IMediaControl*>(this);
  } else if (riid == IID_IMediaSeeking) {
    *ppv = static_cast<IMediaSeeking*>(this);
  } else {
    return m_engine->QueryInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ScriptedFileGraph::Release() {
  const ULONG left = --m_references;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP ScriptedFileGraph::RenderFile(LPCWSTR file, LPCWSTR) {
  rendered.emplace_back(file);
  return renderAnswer;
}

STDMETHODIMP ScriptedFileGraph::Run() {
  ++runs;
  if (FAILED(runAnswer)) return runAnswer;
  state = State_Running;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::Pause() {
  ++pauses;
  state = State_Paused;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::Stop() {
  ++stops;
  if (FAILED(stopAnswer)) return stopAnswer;
  state = State_Stopped;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::GetState(LONG, OAFilterState* pfs) {
  if (!pfs) return E_POINTER;
  *pfs = state;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::SetTimeFormat(const GUID* format) {
  if (!format) return E_POINTER;
  mediaTimeSet = *format == TIME_FORMAT_MEDIA_TIME;
  return mediaTimeSet ? S_OK : E_INVALIDARG;
}

STDMETHODIMP ScriptedFileGraph::GetDuration(LONGLONG* pDuration) {
  if (!pDuration) return E_POINTER;
  *pDuration = duration;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::GetCurrentPosition(LONGLONG* pCurrent) {
  if (!pCurrent) return E_POINTER;
  if (FAILED(positionAnswer)) return positionAnswer;
  *pCurrent = position;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                             DWORD dwStopFlags) {
  if (!pCurrent) return E_POINTER;
  seeks.push_back({*pCurrent, dwCurrentFlags, pStop != nullptr, dwStopFlags});
  position = *pCurrent;
  return S_OK;
}

STDMETHODIMP ScriptedFileGraph::SetRate(double dRate) {
  rates.push_back(dRate);
  return rateAnswer;
}

}  // namespace test
