// The property bag of a device moniker: "FriendlyName", "CLSID" and, for hardware,
// "DevicePath", read as VT_BSTR. A filter registered without a name has no
// "FriendlyName" (E_INVALIDARG, as for any value the bag lacks). Writing is refused.
#pragma once

#include <com/RefCount.h>
#include <com/ocidl.h>
#include <dshow/engine/DeviceCatalog.h>

namespace plat {

class DevicePropertyBag final : public IPropertyBag {
 public:
  static IPropertyBag* create(DeviceCatalog::Device device) { return new DevicePropertyBag(std::move(device)); }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) override;
  STDMETHODIMP Write(LPCOLESTR pszPropName, VARIANT* pVar) override;

 private:
  explicit DevicePropertyBag(DeviceCatalog::Device device) : m_device(std::move(device)) {}
  ~DevicePropertyBag() = default;

  RefCount m_refs;
  DeviceCatalog::Device m_device;
};

}  // namespace plat
