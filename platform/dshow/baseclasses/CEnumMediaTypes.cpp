#include <dshow/baseclasses/CEnumMediaTypes.h>

#include <dshow/baseclasses/CBasePin.h>

#include <new>

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pPin, CEnumMediaTypes* pEnumMediaTypes)
    : m_pPin(pPin), m_Version(pPin->GetMediaTypeVersion()) {
  if (pEnumMediaTypes) {
    m_Position = pEnumMediaTypes->m_Position;
    m_Version = pEnumMediaTypes->m_Version;
  }
  m_pPin->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { m_pPin->Release(); }

STDMETHODIMP CEnumMediaTypes::QueryInterface(REFIID riid, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  if (riid == IID_IEnumMediaTypes || riid == IID_IUnknown) {
    *ppv = static_cast<IEnumMediaTypes*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CEnumMediaTypes::AddRef() { return static_cast<ULONG>(++m_cRef); }

STDMETHODIMP_(ULONG) CEnumMediaTypes::Release() {
  const LONG count = --m_cRef;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

bool CEnumMediaTypes::AreWeOutOfSync() { return m_pPin->GetMediaTypeVersion() != m_Version; }

STDMETHODIMP CEnumMediaTypes::Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) {
  CheckPointer(ppMediaTypes, E_POINTER);
  if (pcFetched) *pcFetched = 0;
  else if (cMediaTypes > 1) return E_INVALIDARG;
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  ULONG fetched = 0;
  while (fetched < cMediaTypes) {
    CMediaType type;
    if (m_pPin->GetMediaType(m_Position, &type) != S_OK) break;
    ++m_Position;
    AM_MEDIA_TYPE* copy = CreateMediaType(&type);
    if (!copy) break;
    ppMediaTypes[fetched++] = copy;
  }
  if (pcFetched) *pcFetched = fetched;
  return fetched == cMediaTypes ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumMediaTypes::Skip(ULONG cMediaTypes) {
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  for (ULONG i = 0; i < cMediaTypes; ++i) {
    CMediaType type;
    if (m_pPin->GetMediaType(m_Position, &type) != S_OK) return S_FALSE;
    ++m_Position;
  }
  return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Reset() {
  m_Position = 0;
  m_Version = m_pPin->GetMediaTypeVersion();
  return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** ppEnum) {
  CheckPointer(ppEnum, E_POINTER);
  auto* copy = new (std::nothrow) CEnumMediaTypes(m_pPin, this);
  *ppEnum = copy;
  if (!copy) return E_OUTOFMEMORY;
  copy->AddRef();
  return S_OK;
}
