// What an in-process server's DllRegisterServer and DllUnregisterServer write and
// remove: HKCR\CLSID\{clsid} with the class's friendly name as its default value, and
// under it InprocServer32 naming the module's file (its Windows name) and its
// threading model. A module calls these for each class it serves.
#pragma once

#include <com/guid.h>

namespace plat {

class ServerRegistration {
 public:
  // SELFREG_E_CLASS when the module's name or the registry cannot be had.
  static HRESULT registerServer(HMODULE module, REFCLSID clsid, const char* friendlyName,
                                const char* threadingModel = "Both");
  // Removes the class's key and everything under it; a class not registered is no error.
  static HRESULT unregisterServer(REFCLSID clsid);
};

}  // namespace plat
