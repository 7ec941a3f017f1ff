#include <com/GuidText.h>
#include <com/ServerRegistration.h>
#include <com/hresult.h>

#include <win32/module.h>
#include <win32/registry.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

namespace plat {
namespace {

bool setString(HKEY key, const char* name, const char* value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                        static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}

// Creates the key (and any missing parents) under HKCR and sets its string values;
// a null name is the default value.
bool writeKey(const std::string& path, std::initializer_list<std::pair<const char*, const char*>> values) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  bool written = true;
  for (const auto& [name, value] : values) written = written && setString(key, name, value);
  RegCloseKey(key);
  return written;
}

// Keys with sub-keys cannot be deleted, so the sub-keys go first.
LSTATUS deleteTree(HKEY parent, const std::string& name) {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) return status;
  char child[256];
  DWORD length = sizeof child;
  while (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    if (deleteTree(key, child) != ERROR_SUCCESS) break;
    length = sizeof child;
  }
  RegCloseKey(key);
  return RegDeleteKeyA(parent, name.c_str());
}

}  // namespace

HRESULT ServerRegistration::registerServer(HMODULE module, REFCLSID clsid, const char* friendlyName,
                                           const char* threadingModel) {
  char file[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, file, sizeof file);
  if (length == 0 || length >= sizeof file) return SELFREG_E_CLASS;
  std::string classKey = "CLSID\\" + GuidText::format(clsid);
  bool written = writeKey(classKey, {{nullptr, friendlyName}}) &&
                 writeKey(classKey + "\\InprocServer32", {{nullptr, file}, {"ThreadingModel", threadingModel}});
  return written ? S_OK : SELFREG_E_CLASS;
}

HRESULT ServerRegistration::unregisterServer(REFCLSID clsid) { return removeKey("CLSID", GuidText::format(clsid)); }

HRESULT ServerRegistration::registerProgId(const char* progId, REFCLSID clsid, const char* friendlyName) {
  const std::string guid = GuidText::format(clsid);
  const bool written = writeKey(progId, {{nullptr, friendlyName}}) &&
                       writeKey(std::string(progId) + "\\CLSID", {{nullptr, guid.c_str()}}) &&
                       writeKey("CLSID\\" + guid + "\\ProgID", {{nullptr, progId}});
  return written ? S_OK : SELFREG_E_CLASS;
}

HRESULT ServerRegistration::registerTypeLibrary(HMODULE module, REFGUID libid, WORD major, WORD minor,
                                                const char* helpString) {
  char file[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, file, sizeof file);
  if (length == 0 || length >= sizeof file) return SELFREG_E_TYPELIB;
  const std::string version =
      "TypeLib\\" + GuidText::format(libid) + "\\" + std::to_string(major) + "." + std::to_string(minor);
  const bool written = writeKey(version, {{nullptr, helpString}}) && writeKey(version + "\\0\\win32", {{nullptr, file}});
  return written ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT ServerRegistration::registerInterface(REFIID iid, const char* name, REFGUID libid) {
  const std::string key = "Interface\\" + GuidText::format(iid);
  const std::string library = GuidText::format(libid);
  const bool written = writeKey(key, {{nullptr, name}}) && writeKey(key + "\\TypeLib", {{nullptr, library.c_str()}});
  return written ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT ServerRegistration::removeKey(const char* parent, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, parent, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return S_OK;
  LSTATUS status = deleteTree(key, name);
  RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

}  // namespace plat
