// In-process servers: modules registered under HKCR\CLSID\{clsid}\InprocServer32 (the
// default value names the module by Windows path or by a name found beside the program).
// A module is loaded on first use and stays loaded, whether or not its objects are
// still alive, until an unload pass finds its DllCanUnloadNow answering S_OK.
#pragma once

#include <com/unknwn.h>

#include <mutex>
#include <string>
#include <vector>

namespace plat {

class InprocServers {
 public:
  // DllGetClassObject of the class's module. REGDB_E_CLASSNOTREG when the class has no
  // server, CO_E_DLLNOTFOUND when its module does not load, CO_E_ERRORINDLL when the
  // module is no COM server.
  static HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out);
  // Unloads every module whose DllCanUnloadNow answers S_OK.
  static void freeUnused();

 private:
  static InprocServers& instance();
  HMODULE load(const std::string& path);

  // Held across calls into the modules, so no module unloads while it is being asked
  // for a class; recursive, as a server may create other objects while it answers.
  std::recursive_mutex m_lock;
  std::vector<HMODULE> m_loaded;
};

}  // namespace plat
