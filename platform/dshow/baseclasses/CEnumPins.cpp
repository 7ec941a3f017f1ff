#include <dshow/baseclasses/CEnumPins.h>

#include <dshow/baseclasses/CBasePin.h>

#include <new>

CEnumPins::CEnumPins(CBaseFilter* pFilter, CEnumPins* pEnumPins)
    : m_Version(pFilter->GetPinVersion()), m_pFilter(pFilter) {
  if (pEnumPins) {
    m_Position = pEnumPins->m_Position;
    m_Version = pEnumPins->m_Version;
  }
  m_pFilter->AddRef();
}

CEnumPins::~CEnumPins() { m_pFilter->Release(); }

STDMETHODIMP CEnumPins::QueryInterface(REFIID riid, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  if (riid == IID_IEnumPins || riid == IID_IUnknown) {
    *ppv = static_cast<IEnumPins*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CEnumPins::AddRef() { return static_cast<ULONG>(++m_cRef); }

STDMETHODIMP_(ULONG) CEnumPins::Release() {
  const LONG count = --m_cRef;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP CEnumPins::Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) {
  CheckPointer(ppPins, E_POINTER);
  if (pcFetched) *pcFetched = 0;
  else if (cPins > 1) return E_INVALIDARG;
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  ULONG fetched = 0;
  const int count = m_pFilter->GetPinCount();
  while (fetched < cPins && m_Position < count) {
    CBasePin* pin = m_pFilter->GetPin(m_Position++);
    if (!pin) continue;
    ppPins[fetched] = pin;
    pin->AddRef();
    ++fetched;
  }
  if (pcFetched) *pcFetched = fetched;
  return fetched == cPins ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG cPins) {
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  const int left = m_pFilter->GetPinCount() - m_Position;
  if (static_cast<long>(cPins) > left) return S_FALSE;
  m_Position += static_cast<int>(cPins);
  return S_OK;
}

STDMETHODIMP CEnumPins::Reset() {
  m_Version = m_pFilter->GetPinVersion();
  m_Position = 0;
  return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  if (AreWeOutOfSync()) {
    *ppEnum = nullptr;
    return VFW_E_ENUM_OUT_OF_SYNC;
  }
  auto* copy = new (std::nothrow) CEnumPins(m_pFilter, this);
  *ppEnum = copy;
  if (!copy) return E_OUTOFMEMORY;
  copy->AddRef();
  return S_OK;
}
