#include <dshow/filters/PinProperties.h>

#include <cstring>

namespace plat {

HRESULT PinProperties::get(REFGUID category, const REGPINMEDIUM* medium, REFGUID set, DWORD id, LPVOID data, DWORD size,
                           DWORD* returned) {
  if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
  if (id == AMPROPERTY_PIN_CATEGORY && category != GUID_NULL) {
    if (returned) *returned = sizeof(GUID);
    if (!data) return S_OK;
    if (size < sizeof(GUID)) return E_UNEXPECTED;
    std::memcpy(data, &category, sizeof(GUID));
    return S_OK;
  }
  if (id == AMPROPERTY_PIN_MEDIUM && medium) {
    if (returned) *returned = sizeof(REGPINMEDIUM);
    if (!data) return S_OK;
    if (size < sizeof(REGPINMEDIUM)) return E_UNEXPECTED;
    std::memcpy(data, medium, sizeof(REGPINMEDIUM));
    return S_OK;
  }
  return E_PROP_ID_UNSUPPORTED;
}

HRESULT PinProperties::querySupported(REFGUID set, DWORD id, DWORD* support) {
  if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
  if (id != AMPROPERTY_PIN_CATEGORY && id != AMPROPERTY_PIN_MEDIUM) return E_PROP_ID_UNSUPPORTED;
  if (support) *support = KSPROPERTY_SUPPORT_GET;
  return S_OK;
}

}  // namespace plat
