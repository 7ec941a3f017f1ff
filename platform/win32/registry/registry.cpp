#include <win32/registry.h>

#include <machine/Machine.h>
#include <win32/registry/RegistryStore.h>

#include <cstring>
#include <new>

namespace {

plat::RegistryStore& registry() { return plat::Machine::current().service<plat::RegistryStore>(); }

std::string_view nameOf(LPCSTR name) { return name ? std::string_view(name) : std::string_view(); }

// No exception crosses the API: running out of memory is an error code like any other.
template <class Call>
LSTATUS guarded(Call&& call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return ERROR_OUTOFMEMORY;
  }
}

// Copies value data with the size rules of RegQueryValueEx: no buffer asks for the size,
// a buffer too small gets ERROR_MORE_DATA and the size needed.
LSTATUS copyData(const plat::RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type) *type = value.type;
  if (!size) return ERROR_SUCCESS;
  const auto needed = static_cast<DWORD>(value.data.size());
  if (data && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

// Copies a name into a buffer of *count characters; on success *count is its length.
LSTATUS copyName(const std::string& name, LPSTR buffer, LPDWORD count) {
  if (name.size() >= *count) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *count = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

LSTATUS openOrCreate(HKEY hKey, LPCSTR lpSubKey, REGSAM sam, PHKEY phkResult, LPDWORD disposition, bool create) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  return guarded([&] {
    HKEY result = nullptr;
    bool created = false;
    const LSTATUS status = create ? registry().createKey(hKey, nameOf(lpSubKey), sam, result, created)
                                  : registry().openKey(hKey, nameOf(lpSubKey), sam, result);
    if (status != ERROR_SUCCESS) return status;
    *phkResult = result;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return status;
  });
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  return openOrCreate(hKey, lpSubKey, samDesired, phkResult, nullptr, false);
}

LSTATUS RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  if (phkResult && (!lpSubKey || !*lpSubKey)) {
    *phkResult = hKey;
    return guarded([&] { return registry().checkKey(hKey); });
  }
  return openOrCreate(hKey, lpSubKey, KEY_ALL_ACCESS, phkResult, nullptr, false);
}

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                        const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return openOrCreate(hKey, lpSubKey, samDesired, phkResult, lpdwDisposition, true);
}

LSTATUS RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  if (phkResult && (!lpSubKey || !*lpSubKey)) {
    *phkResult = hKey;
    return guarded([&] { return registry().checkKey(hKey); });
  }
  return openOrCreate(hKey, lpSubKey, KEY_ALL_ACCESS, phkResult, nullptr, true);
}

LSTATUS RegCloseKey(HKEY hKey) {
  return guarded([&] { return registry().closeKey(hKey); });
}

LSTATUS RegFlushKey(HKEY hKey) {
  return guarded([&] { return registry().checkKey(hKey); });
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  return guarded([&] {
    plat::RegistryValue value;
    const LSTATUS status = registry().queryValue(hKey, nameOf(lpValueName), value);
    return status == ERROR_SUCCESS ? copyData(value, lpType, lpData, lpcbData) : status;
  });
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  if (!lpData && cbData) return ERROR_NOACCESS;
  return guarded([&] {
    plat::RegistryValue value{dwType, {lpData, lpData + cbData}};
    return registry().setValue(hKey, nameOf(lpValueName), std::move(value));
  });
}

LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return guarded([&] { return registry().deleteKey(hKey, lpSubKey); });
}

LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  return guarded([&] { return registry().deleteValue(hKey, nameOf(lpValueName)); });
}

LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                      LPDWORD lpcchClass, LPFILETIME lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  return guarded([&] {
    std::string name;
    LSTATUS status = registry().subKeyName(hKey, dwIndex, name);
    if (status == ERROR_SUCCESS) status = copyName(name, lpName, lpcchName);
    if (status != ERROR_SUCCESS) return status;
    if (lpClass && lpcchClass && *lpcchClass) *lpClass = '\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{};
    return status;
  });
}

LSTATUS RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
  if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  return guarded([&] {
    std::string name;
    plat::RegistryValue value;
    LSTATUS status = registry().valueAt(hKey, dwIndex, name, value);
    if (status == ERROR_SUCCESS) status = copyName(name, lpValueName, lpcchValueName);
    return status == ERROR_SUCCESS ? copyData(value, lpType, lpData, lpcbData) : status;
  });
}

LSTATUS RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                         LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                         LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                         LPFILETIME lpftLastWriteTime) {
  return guarded([&] {
    plat::RegistryKeyInfo info;
    const LSTATUS status = registry().keyInfo(hKey, info);
    if (status != ERROR_SUCCESS) return status;
    if (lpClass && lpcchClass && *lpcchClass) *lpClass = '\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpcSubKeys) *lpcSubKeys = info.subKeys;
    if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = info.maxSubKeyLength;
    if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
    if (lpcValues) *lpcValues = info.values;
    if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = info.maxValueNameLength;
    if (lpcbMaxValueLen) *lpcbMaxValueLen = info.maxValueSize;
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{};
    return status;
  });
}
