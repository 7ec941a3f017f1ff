// The system device enumerator (CLSID_SystemDeviceEnum): monikers for the devices of a
// category as they are at the call (DeviceCatalog), S_FALSE and no enumerator when the
// category is empty.
#pragma once

#include <dshow/axextend.h>
#include <dshow/baseclasses/CUnknown.h>

namespace plat {

class DeviceEnumerator : public CUnknown, public ICreateDevEnum {
 public:
  DeviceEnumerator(LPUNKNOWN outer, HRESULT* phr) : CUnknown("Device enumerator", outer, phr) {}
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker, DWORD dwFlags) override;
};

}  // namespace plat
