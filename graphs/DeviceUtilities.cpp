#include "graphs/DeviceUtilities.h"

#include "graphs/DeviceEnumeration.h"

#include <com/ComPtr.h>
#include <com/oleauto.h>
#include <com/objbase.h>
#include <com/ocidl.h>
#include <com/olectl.h>
#include <win32/codepage.h>
#include <win32/module.h>
#include <win32/user/input.h>

#include <cctype>
#include <string>

namespace {

using plat::ComPtr;

std::string Upper(LPCSTR text) {
  std::string result = text ? text : "";
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

std::string FriendlyName(IMoniker* moniker) {
  ComPtr<IPropertyBag> properties;
  if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, properties.putVoid()))) return {};
  VARIANT name;
  VariantInit(&name);
  char buffer[256] = {};
  if (SUCCEEDED(properties->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
    WideCharToMultiByte(CP_ACP, 0, name.bstrVal, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  VariantClear(&name);
  return buffer;
}

}  // namespace

void EnumKsCaptureDevices(CDeviceEntryList& devices) { EnumCategoryDevices(devices, AM_KSCATEGORY_CAPTURE); }

BOOL MatchDeviceName(LPCSTR name, LPCSTR wanted) {
  if (!name || !wanted) return FALSE;
  return Upper(name) == Upper(wanted);
}

BOOL FindFilterInCategory(REFCLSID category, LPCSTR wanted, int index, IBaseFilter** filter) {
  if (!filter) return FALSE;
  *filter = nullptr;
  if (!wanted || index < 0) return FALSE;
  ComPtr<ICreateDevEnum> enumerator;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, enumerator.putVoid())))
    return FALSE;
  ComPtr<IEnumMoniker> monikers;
  if (enumerator->CreateClassEnumerator(category, monikers.put(), 0) != S_OK || !monikers) return FALSE;
  const std::string part = Upper(wanted);
  int skip = index > 1 ? index - 1 : 0;
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
    if (Upper(FriendlyName(moniker.get()).c_str()).find(part) == std::string::npos) continue;
    if (skip-- > 0) continue;
    return SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter))) &&
           *filter;
  }
  return FALSE;
}

BOOL FindVideoCaptureDevice(LPCSTR wanted, IBaseFilter** filter, int index) {
  return FindFilterInCategory(CLSID_VideoInputDeviceCategory, wanted, index, filter);
}

BOOL FindAudioCaptureDevice(LPCSTR wanted, IBaseFilter** filter, int index) {
  return FindFilterInCategory(CLSID_AudioInputDeviceCategory, wanted, index, filter);
}

BOOL FindDeviceByName(LPCSTR wanted, IBaseFilter** filter, BOOL audio, int index) {
  return audio ? FindAudioCaptureDevice(wanted, filter, index) : FindVideoCaptureDevice(wanted, filter, index);
}

BOOL IsFilterRegistered(REFCLSID clsid) {
  ComPtr<IBaseFilter> filter;
  return SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()));
}

void RegisterFilterModule(LPCSTR path) {
  HMODULE module = LoadLibraryA(path);
  if (!module) return;
  using RegisterServer = HRESULT (*)();
  if (auto entry = reinterpret_cast<RegisterServer>(GetProcAddress(module, "DllRegisterServer"))) entry();
  FreeLibrary(module);
}

BOOL ShowFilterPropertyPages(IBaseFilter* filter) {
  if (!filter) return FALSE;
  ComPtr<ISpecifyPropertyPages> specify;
  if (FAILED(filter->QueryInterface(IID_ISpecifyPropertyPages, specify.putVoid()))) return FALSE;
  CAUUID pages{};
  if (FAILED(specify->GetPages(&pages))) return FALSE;
  if (pages.cElems == 0) {
    CoTaskMemFree(pages.pElems);
    return FALSE;
  }
  IUnknown* objects[] = {filter};
  OleCreatePropertyFrame(GetActiveWindow(), 0, 0, nullptr, 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr);
  CoTaskMemFree(pages.pElems);
  return TRUE;
}
