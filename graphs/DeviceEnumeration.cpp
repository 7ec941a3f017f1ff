#include "graphs/DeviceEnumeration.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <com/oleauto.h>
#include <com/ocidl.h>
#include <dshow/axextend.h>
#include <dshow/uuids.h>
#include <win32/codepage.h>

namespace {

CString NarrowText(LPCWSTR text) {
  char buffer[256] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof(buffer) - 1, nullptr, nullptr);
  return CString(buffer);
}

CString FriendlyName(IMoniker* moniker) {
  plat::ComPtr<IPropertyBag> properties;
  if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, properties.putVoid()))) return CString();
  VARIANT name;
  VariantInit(&name);
  CString result;
  if (SUCCEEDED(properties->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
    result = NarrowText(name.bstrVal);
  VariantClear(&name);
  return result;
}

CString DevicePath(IMoniker* moniker) {
  LPOLESTR displayName = nullptr;
  if (FAILED(moniker->GetDisplayName(nullptr, nullptr, &displayName)) || !displayName) return CString();
  CString path = NarrowText(displayName);
  CoTaskMemFree(displayName);
  return path;
}

}  // namespace

void EnumCategoryDevices(CDeviceEntryList& devices, REFCLSID category) {
  plat::ComPtr<ICreateDevEnum> enumerator;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                              enumerator.putVoid())))
    return;
  plat::ComPtr<IEnumMoniker> monikers;
  if (enumerator->CreateClassEnumerator(category, monikers.put(), 0) != S_OK || !monikers) return;
  plat::ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
    devices.AddTail(CDeviceEntry(FriendlyName(moniker.get()), DevicePath(moniker.get())));
  }
}

void EnumVideoDevices(CDeviceEntryList& devices) { EnumCategoryDevices(devices, CLSID_VideoInputDeviceCategory); }

void EnumAudioDevices(CDeviceEntryList& devices) { EnumCategoryDevices(devices, CLSID_AudioInputDeviceCategory); }
