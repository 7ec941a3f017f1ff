#include <dshow/engine/GraphControl.h>

#include <dshow/engine/FilterGraph.h>

namespace plat {

GraphControl::GraphControl(FilterGraph& graph) : m_graph(graph), m_owner(graph.GetOwner()) {}

STDMETHODIMP GraphControl::Run() { return m_graph.runGraph(); }

STDMETHODIMP GraphControl::Pause() { return m_graph.Pause(); }

STDMETHODIMP GraphControl::Stop() { return m_graph.Stop(); }

STDMETHODIMP GraphControl::GetState(LONG msTimeout, OAFilterState* pfs) {
  CheckPointer(pfs, E_POINTER);
  FILTER_STATE state = State_Stopped;
  const HRESULT hr = m_graph.GetState(static_cast<DWORD>(msTimeout), &state);
  *pfs = state;
  return hr;
}

STDMETHODIMP GraphControl::RenderFile(BSTR strFilename) {
  CheckPointer(strFilename, E_POINTER);
  return m_graph.RenderFile(strFilename, nullptr);
}

STDMETHODIMP GraphControl::AddSourceFilter(BSTR, IDispatch**) { return E_NOTIMPL; }

STDMETHODIMP GraphControl::get_FilterCollection(IDispatch**) { return E_NOTIMPL; }

STDMETHODIMP GraphControl::get_RegFilterCollection(IDispatch**) { return E_NOTIMPL; }

STDMETHODIMP GraphControl::StopWhenReady() {
  const HRESULT hr = m_graph.Pause();
  if (FAILED(hr)) return hr;
  return m_graph.Stop();
}

}  // namespace plat
