// A compressor picked as the recording options dialog picks one: the first entry of the
// device enumerator's category, bound to a filter. The caller releases it.
#pragma once

#include <dshow/dshow.h>

namespace edtest {

inline IBaseFilter* FirstCompressor(REFCLSID category) {
  ICreateDevEnum* devices = nullptr;
  IEnumMoniker* entries = nullptr;
  IMoniker* entry = nullptr;
  IBaseFilter* filter = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                 reinterpret_cast<void**>(&devices))) &&
      devices->CreateClassEnumerator(category, &entries, 0) == S_OK && entries->Next(1, &entry, nullptr) == S_OK)
    entry->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
  if (entry) entry->Release();
  if (entries) entries->Release();
  if (devices) devices->Release();
  return filter;
}

}  // namespace edtest
