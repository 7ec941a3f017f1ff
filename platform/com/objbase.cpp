// COM initialisation and object creation.
#include <com/Apartments.h>
#include <com/BuiltinClassFactory.h>
#include <com/ComPtr.h>
#include <com/InprocServers.h>
#include <com/objbase.h>

HRESULT CoInitialize(LPVOID) { return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

HRESULT CoInitializeEx(LPVOID, DWORD dwCoInit) { return plat::Apartments::enter(dwCoInit); }

void CoUninitialize() {
  if (plat::Apartments::leave()) plat::InprocServers::freeUnused();
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (!plat::Apartments::isInitialized()) return CO_E_NOTINITIALIZED;
  // Every class here is an in-process server; asked only for other kinds, none is registered.
  if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  if (plat::CreateInstanceFn create = plat::BuiltinClasses::find(rclsid))
    return plat::BuiltinClassFactory::create(create, riid, ppv);
  return plat::InprocServers::getClassObject(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  plat::ComPtr<IClassFactory> factory;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, factory.putVoid());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(pUnkOuter, riid, ppv);
}

void CoFreeUnusedLibraries() { plat::InprocServers::freeUnused(); }
