#include <dshow/baseclasses/FilterRegistration.h>

#include <com/GuidText.h>
#include <com/ServerRegistration.h>
#include <dshow/AnsiText.h>
#include <dshow/uuids.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <string>

namespace plat {

namespace {

std::string instanceFolder(REFCLSID category) { return "CLSID\\" + GuidText::format(category) + "\\Instance"; }

std::string readString(HKEY key, const char* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return {};
  std::string text(size, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) return {};
  text.resize(size);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::optional<RegisteredFilter> readEntry(HKEY folder, const char* keyName) {
  HKEY entry = nullptr;
  if (RegOpenKeyExA(folder, keyName, 0, KEY_READ, &entry) != ERROR_SUCCESS) return std::nullopt;
  GUID clsid{};
  std::optional<RegisteredFilter> filter;
  DWORD type = 0;
  DWORD size = 0;
  if (GuidText::parse(readString(entry, "CLSID"), clsid) &&
      RegQueryValueExA(entry, "FilterData", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_BINARY) {
    std::vector<BYTE> data(size);
    if (RegQueryValueExA(entry, "FilterData", nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
      filter = RegisteredFilter::decode(clsid, AnsiText::toWide(readString(entry, "FriendlyName")), data.data(), size);
  }
  RegCloseKey(entry);
  return filter;
}

}  // namespace

HRESULT FilterRegistration::registerTemplates(HMODULE module, const CFactoryTemplate* templates, int count,
                                              BOOL bRegister) {
  HRESULT result = S_OK;
  for (int i = 0; i < count; ++i) {
    const CFactoryTemplate& entry = templates[i];
    HRESULT hr = S_OK;
    if (bRegister) {
      hr = ServerRegistration::registerServer(module, *entry.m_ClsID, AnsiText::fromWide(entry.m_Name).c_str(), "Both");
      if (SUCCEEDED(hr) && entry.m_pAMovieSetup_Filter)
        hr = registerFilter(RegisteredFilter::fromSetup(*entry.m_pAMovieSetup_Filter), CLSID_LegacyAmFilterCategory);
    } else {
      if (entry.m_pAMovieSetup_Filter) unregisterFilter(*entry.m_ClsID, CLSID_LegacyAmFilterCategory);
      hr = ServerRegistration::unregisterServer(*entry.m_ClsID);
    }
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

HRESULT FilterRegistration::registerFilter(const RegisteredFilter& filter, REFCLSID category) {
  const std::string path = instanceFolder(category) + "\\" + GuidText::format(filter.clsid);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  const std::string name = AnsiText::fromWide(filter.name);
  const std::string clsid = GuidText::format(filter.clsid);
  const std::vector<BYTE> data = filter.encode();
  LSTATUS status =
      RegSetValueExA(key, "FriendlyName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()), static_cast<DWORD>(name.size() + 1));
  if (status == ERROR_SUCCESS)
    status = RegSetValueExA(key, "CLSID", 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                            static_cast<DWORD>(clsid.size() + 1));
  if (status == ERROR_SUCCESS)
    status = RegSetValueExA(key, "FilterData", 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT FilterRegistration::unregisterFilter(REFCLSID clsid, REFCLSID category) {
  HKEY folder = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, instanceFolder(category).c_str(), 0, KEY_ALL_ACCESS, &folder) != ERROR_SUCCESS)
    return S_OK;
  RegDeleteKeyA(folder, GuidText::format(clsid).c_str());
  RegCloseKey(folder);
  return S_OK;
}

std::vector<RegisteredFilter> FilterRegistration::filtersIn(REFCLSID category) {
  std::vector<RegisteredFilter> filters;
  HKEY folder = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, instanceFolder(category).c_str(), 0, KEY_READ, &folder) != ERROR_SUCCESS)
    return filters;
  for (DWORD index = 0;; ++index) {
    char name[MAX_PATH];
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(folder, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (auto filter = readEntry(folder, name)) filters.push_back(std::move(*filter));
  }
  RegCloseKey(folder);
  return filters;
}

HMODULE FilterRegistration::moduleOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module))
    return nullptr;
  return module;
}

}  // namespace plat
