#include <dshow/baseclasses/CClassFactory.h>

std::atomic<LONG> CClassFactory::m_cLocked{0};

CClassFactory::CClassFactory(const CFactoryTemplate* pTemplate) : CBaseObject("Class factory"), m_pTemplate(pTemplate) {}

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** ppv) {
  CheckPointer(ppv, E_POINTER);
  if (riid == IID_IUnknown || riid == IID_IClassFactory) {
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() { return static_cast<ULONG>(++m_cRef); }

STDMETHODIMP_(ULONG) CClassFactory::Release() {
  const LONG count = --m_cRef;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP CClassFactory::CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** pv) {
  CheckPointer(pv, E_POINTER);
  *pv = nullptr;
  // An aggregated object can only be asked for its inner IUnknown.
  if (pUnkOuter && riid != IID_IUnknown) return E_NOINTERFACE;
  HRESULT hr = S_OK;
  CUnknown* object = m_pTemplate->CreateInstance(pUnkOuter, &hr);
  if (!object) return FAILED(hr) ? hr : E_OUTOFMEMORY;
  if (FAILED(hr)) {
    delete object;
    return hr;
  }
  object->NonDelegatingAddRef();
  hr = object->NonDelegatingQueryInterface(riid, pv);
  object->NonDelegatingRelease();
  return hr;
}

STDMETHODIMP CClassFactory::LockServer(BOOL fLock) {
  if (fLock) ++m_cLocked;
  else --m_cLocked;
  return S_OK;
}
