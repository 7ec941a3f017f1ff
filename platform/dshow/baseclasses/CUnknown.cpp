#include <dshow/baseclasses/CUnknown.h>

std::atomic<LONG> CBaseObject::m_cObjects{0};

CBaseObject::CBaseObject(const char*) { ++m_cObjects; }

CBaseObject::~CBaseObject() { --m_cObjects; }

CUnknown::CUnknown(const char* pName, LPUNKNOWN pUnk, HRESULT*)
    : CBaseObject(pName), m_pUnknown(pUnk ? pUnk : &m_inner) {}

STDMETHODIMP CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  if (riid == IID_IUnknown) return GetInterface(&m_inner, ppv);
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingAddRef() { return static_cast<ULONG>(++m_cRef); }

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingRelease() {
  const LONG count = --m_cRef;
  if (count == 0) {
    // A destructor that AddRefs and Releases itself must not come back here.
    m_cRef = 1;
    delete this;
    return 0;
  }
  return static_cast<ULONG>(count);
}

HRESULT GetInterface(LPUNKNOWN pUnk, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  *ppv = pUnk;
  pUnk->AddRef();
  return S_OK;
}
