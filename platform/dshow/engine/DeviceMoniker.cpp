#include <dshow/engine/DeviceMoniker.h>

#include <com/ComPtr.h>
#include <com/GuidText.h>
#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <dshow/engine/DevicePropertyBag.h>

namespace plat {

std::wstring DeviceMoniker::displayName() const {
  if (!m_device.devicePath.empty()) return L"@device:pnp:" + m_device.devicePath;
  return L"@device:sw:" + AnsiText::toWide(GuidText::format(m_category)) + L"\\" +
         AnsiText::toWide(GuidText::format(m_device.clsid));
}

HRESULT DeviceMoniker::bindToObject(IBindCtx*, REFIID iid, void** out) {
  return CoCreateInstance(m_device.clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
}

HRESULT DeviceMoniker::bindToStorage(IBindCtx*, REFIID iid, void** out) {
  ComPtr<IPropertyBag> bag = ComPtr<IPropertyBag>::adopt(DevicePropertyBag::create(m_device));
  return bag->QueryInterface(iid, out);
}

}  // namespace plat
