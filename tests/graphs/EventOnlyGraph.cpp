#include "EventOnlyGraph.h"

namespace test {

STDMETHODIMP EventOnlyGraph::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IFilterGraph || riid == IID_IGraphBuilder) {
    *ppv = static_cast<IGraphBuilder*>(this);
  } else if (riid == IID_IMediaEventEx || riid == IID_IMediaEvent) {
    *ppv = static_cast<IMediaEventEx*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) EventOnlyGraph::Release() {
  const ULONG left = --m_references;
  if (left == 0) delete this;
  return left;
}

}  // namespace test
