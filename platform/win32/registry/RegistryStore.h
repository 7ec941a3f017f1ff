// The registry of the machine: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE
// and HKEY_USERS with their keys and values, and this process's open key handles.
//
// One per machine (Machine::service<RegistryStore>()). Every change is written to registry.ini
// in the machine root before the call returns, and every call first re-reads the file
// when another process (or another RegistryStore on the same root) has replaced it, so
// programs see each other's writes as they would on one Windows PC. Open handles follow
// their key across such re-reads by path; a key deleted meanwhile reports
// ERROR_KEY_DELETED. A new registry.ini is seeded from machine.ini [Windows]:
//   HKCU\Control Panel\International                      "iCountry"       ← RegionCountry
//   HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion     "ProductName"    ← ProductName
//                                                         "CurrentVersion" ← MajorVersion.MinorVersion
// each as REG_SZ, and only when machine.ini has the entry (so a test can leave one out).
//
// registry.ini, readable and editable by hand (lines starting with ";" are comments):
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion]
//   "ProductName"=sz:"Microsoft Windows XP"
//   @=sz:"the default value"
//   "Path"=expand:"%SystemRoot%\\system32"
//   "Names"=multi:"first","second"
//   "Count"=dword:0000001e
//   "FilterData"=hex:02,00,00,00,00,00,20,00
//   "Odd"=hex(7):61,00
// Every key has its own [section] holding its full path, names spelt as first given.
// Names and strings are quoted with \\ for "\", \" for a quote and \xHH for control
// characters; in a [path] a control character or "%" in a name is written %HH. sz, expand
// and multi drop the terminating NULs the data ends with; dword is four little-endian
// bytes as one number; hex lists every byte. Data that does not fit its type's short form
// (a string without its NUL, a DWORD of another size, any other type) is written as
// hex(type) so that every value comes back byte for byte.
#pragma once

#include <win32/registry/RegistryFile.h>
#include <win32/registry/RegistryKey.h>
#include <win32/types.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace plat {

class IniDocument;
class Machine;

class RegistryStore {
 public:
  explicit RegistryStore(Machine& machine);
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  // Each returns a Windows error code. Paths are sub-key paths below `parent` as the
  // Reg* functions take them; an empty path names `parent` itself.
  LSTATUS openKey(HKEY parent, std::string_view path, REGSAM access, HKEY& result);
  LSTATUS createKey(HKEY parent, std::string_view path, REGSAM access, HKEY& result, bool& created);
  LSTATUS closeKey(HKEY key);
  // Succeeds when the handle names a live key.
  LSTATUS checkKey(HKEY key);
  LSTATUS deleteKey(HKEY parent, std::string_view path);

  LSTATUS queryValue(HKEY key, std::string_view name, RegistryValue& value);
  LSTATUS setValue(HKEY key, std::string_view name, RegistryValue value);
  LSTATUS deleteValue(HKEY key, std::string_view name);

  LSTATUS subKeyName(HKEY key, DWORD index, std::string& name);
  LSTATUS valueAt(HKEY key, DWORD index, std::string& name, RegistryValue& value);
  LSTATUS keyInfo(HKEY key, RegistryKeyInfo& info);

 private:
  struct OpenKey {
    std::shared_ptr<RegistryKey> key;
    REGSAM access;
  };

  LSTATUS resolve(HKEY handle, REGSAM needed, std::shared_ptr<RegistryKey>& key) const;
  HKEY addHandle(std::shared_ptr<RegistryKey> key, REGSAM access);
  std::shared_ptr<RegistryKey> find(const std::vector<std::string>& path) const;
  // Re-reads registry.ini when it changed on disk, keeping open handles on their keys.
  void refresh();
  void seed(const IniDocument& machineIni);
  // Runs a change under the writer lock and writes the file when it changed something.
  template <class Change>
  LSTATUS change(Change&& apply);

  std::mutex m_lock;
  RegistryFile m_file;
  RegistryRoots m_roots;
  std::unordered_map<HKEY, OpenKey> m_handles;
  std::uintptr_t m_nextHandle = 0x1000;
  bool m_changed = false;
};

}  // namespace plat
