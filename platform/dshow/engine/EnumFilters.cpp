#include <dshow/engine/EnumFilters.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/engine/FilterGraph.h>

#include <new>

namespace plat {

EnumFilters::EnumFilters(FilterGraph& graph) : m_graph(graph), m_owner(graph.GetOwner()) {
  m_owner->AddRef();
  Reset();
}

EnumFilters::~EnumFilters() {
  m_filters.clear();
  m_owner->Release();
}

STDMETHODIMP EnumFilters::QueryInterface(REFIID riid, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  if (riid == IID_IEnumFilters || riid == IID_IUnknown) {
    *ppv = static_cast<IEnumFilters*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EnumFilters::AddRef() { return static_cast<ULONG>(++m_cRef); }

STDMETHODIMP_(ULONG) EnumFilters::Release() {
  const LONG count = --m_cRef;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP EnumFilters::Next(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) {
  CheckPointer(ppFilter, E_POINTER);
  if (pcFetched) *pcFetched = 0;
  else if (cFilters > 1) return E_INVALIDARG;
  if (m_graph.version() != m_version) return VFW_E_ENUM_OUT_OF_SYNC;
  ULONG fetched = 0;
  while (fetched < cFilters && m_position < m_filters.size()) {
    IBaseFilter* filter = m_filters[m_position++].get();
    filter->AddRef();
    ppFilter[fetched++] = filter;
  }
  if (pcFetched) *pcFetched = fetched;
  return fetched == cFilters ? S_OK : S_FALSE;
}

STDMETHODIMP EnumFilters::Skip(ULONG cFilters) {
  if (m_graph.version() != m_version) return VFW_E_ENUM_OUT_OF_SYNC;
  if (m_position + cFilters > m_filters.size()) {
    m_position = m_filters.size();
    return S_FALSE;
  }
  m_position += cFilters;
  return S_OK;
}

STDMETHODIMP EnumFilters::Reset() {
  CAutoLock lock(&m_graph.lock());
  m_filters = m_graph.filters();
  m_version = m_graph.version();
  m_position = 0;
  return S_OK;
}

STDMETHODIMP EnumFilters::Clone(IEnumFilters** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  auto* copy = new (std::nothrow) EnumFilters(m_graph);
  *ppEnum = copy;
  if (!copy) return E_OUTOFMEMORY;
  copy->m_filters = m_filters;
  copy->m_version = m_version;
  copy->m_position = m_position;
  copy->AddRef();
  return S_OK;
}

}  // namespace plat
