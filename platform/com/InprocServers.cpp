#include <com/GuidText.h>
#include <com/InprocServers.h>
#include <com/objbase.h>

#include <machine/Log.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <algorithm>
#include <optional>

namespace plat {
namespace {

// The default value of HKCR\CLSID\{clsid}\InprocServer32, if the class has one.
std::optional<std::string> serverPath(REFCLSID clsid) {
  std::string keyName = "CLSID\\" + GuidText::format(clsid) + "\\InprocServer32";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0, size = 0;
  std::string path;
  if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
    path.resize(size);
    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(path.data()), &size) != ERROR_SUCCESS)
      size = 0;
    path.resize(std::min<std::size_t>(size, path.find('\0')));
  }
  RegCloseKey(key);
  if (path.empty()) return std::nullopt;
  return path;
}

// An export as the function type it has (via void(*)(), which converts to any function type).
template <class Fn>
Fn exportOf(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

InprocServers& InprocServers::instance() {
  static InprocServers* servers = new InprocServers();  // never destroyed: objects may be released during exit
  return *servers;
}

HMODULE InprocServers::load(const std::string& path) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) return nullptr;
  // The same module under another spelling of its path: keep one load.
  if (std::find(m_loaded.begin(), m_loaded.end(), module) != m_loaded.end())
    FreeLibrary(module);
  else
    m_loaded.push_back(module);
  return module;
}

HRESULT InprocServers::getClassObject(REFCLSID clsid, REFIID iid, void** out) {
  std::optional<std::string> path = serverPath(clsid);
  if (!path) return REGDB_E_CLASSNOTREG;
  InprocServers& self = instance();
  std::lock_guard guard(self.m_lock);
  HMODULE module = self.load(*path);
  if (!module) {
    PLAT_LOG("com", "class %s: module %s does not load", GuidText::format(clsid).c_str(), path->c_str());
    return CO_E_DLLNOTFOUND;
  }
  auto getClassObject = exportOf<LPFNGETCLASSOBJECT>(module, "DllGetClassObject");
  if (!getClassObject) {
    std::erase(self.m_loaded, module);
    FreeLibrary(module);
    return CO_E_ERRORINDLL;
  }
  return getClassObject(clsid, iid, out);
}

void InprocServers::freeUnused() {
  InprocServers& self = instance();
  std::lock_guard guard(self.m_lock);
  std::erase_if(self.m_loaded, [](HMODULE module) {
    auto canUnloadNow = exportOf<LPFNCANUNLOADNOW>(module, "DllCanUnloadNow");
    if (!canUnloadNow || canUnloadNow() != S_OK) return false;
    FreeLibrary(module);
    return true;
  });
}

}  // namespace plat
