// The moniker of one device of a category: its display name is "@device:pnp:" and the
// device path for hardware, "@device:sw:" with category and class otherwise; it binds
// to the device's filter (IBaseFilter) and to its property bag (IPropertyBag).
#pragma once

#include <com/Moniker.h>
#include <dshow/engine/DeviceCatalog.h>

namespace plat {

class DeviceMoniker final : public Moniker {
 public:
  static IMoniker* create(REFCLSID category, DeviceCatalog::Device device) { return new DeviceMoniker(category, std::move(device)); }

 protected:
  std::wstring displayName() const override;
  HRESULT bindToObject(IBindCtx* bindCtx, REFIID iid, void** out) override;
  HRESULT bindToStorage(IBindCtx* bindCtx, REFIID iid, void** out) override;

 private:
  DeviceMoniker(REFCLSID category, DeviceCatalog::Device device) : m_category(category), m_device(std::move(device)) {}

  CLSID m_category;
  DeviceCatalog::Device m_device;
};

}  // namespace plat
