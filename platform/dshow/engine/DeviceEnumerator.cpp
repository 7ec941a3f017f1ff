#include <dshow/engine/DeviceEnumerator.h>

#include <com/EnumMoniker.h>
#include <dshow/engine/DeviceCatalog.h>
#include <dshow/engine/DeviceMoniker.h>

#include <new>

namespace plat {

CUnknown* DeviceEnumerator::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) DeviceEnumerator(outer, phr);
}

STDMETHODIMP DeviceEnumerator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICreateDevEnum) return GetInterface(static_cast<ICreateDevEnum*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP DeviceEnumerator::CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker, DWORD) {
  CheckPointer(ppEnumMoniker, E_POINTER);
  *ppEnumMoniker = nullptr;
  EnumMoniker::List monikers;
  for (DeviceCatalog::Device& device : DeviceCatalog::devices(clsidDeviceClass))
    monikers.push_back(ComPtr<IMoniker>::adopt(DeviceMoniker::create(clsidDeviceClass, std::move(device))));
  if (monikers.empty()) return S_FALSE;
  *ppEnumMoniker = EnumMoniker::create(std::move(monikers));
  return *ppEnumMoniker ? S_OK : E_OUTOFMEMORY;
}

}  // namespace plat
