#include <com/BuiltinClassFactory.h>

namespace plat {

HRESULT BuiltinClassFactory::create(CreateInstanceFn create, REFIID iid, void** out) {
  auto* factory = new BuiltinClassFactory(create);
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

STDMETHODIMP BuiltinClassFactory::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IClassFactory) {
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BuiltinClassFactory::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) BuiltinClassFactory::Release() {
  ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BuiltinClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  *ppvObject = nullptr;
  return m_create(pUnkOuter, riid, ppvObject);
}

// The platform's own library never unloads, so there is nothing to keep loaded.
STDMETHODIMP BuiltinClassFactory::LockServer(BOOL) { return S_OK; }

}  // namespace plat
