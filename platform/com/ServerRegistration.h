// What an in-process server's DllRegisterServer and DllUnregisterServer write and
// remove: HKCR\CLSID\{clsid} with the class's friendly name as its default value, and
// under it InprocServer32 naming the module's file (its Windows name) and its
// threading model. A module calls these for each class it serves; a server with a type
// library registers it, its interfaces and its ProgIDs too.
#pragma once

#include <com/guid.h>
#include <win32/types.h>

#include <string>

namespace plat {

class ServerRegistration {
 public:
  // SELFREG_E_CLASS when the module's name or the registry cannot be had.
  static HRESULT registerServer(HMODULE module, REFCLSID clsid, const char* friendlyName,
                                const char* threadingModel = "Both");
  // Removes the class's key and everything under it; a class not registered is no error.
  static HRESULT unregisterServer(REFCLSID clsid);

  // HKCR\<progId> naming the class, and the class's ProgID key.
  static HRESULT registerProgId(const char* progId, REFCLSID clsid, const char* friendlyName);
  // HKCR\TypeLib\{libid}\<major>.<minor> with its help string, and 0\win32 naming the
  // module that serves the library.
  static HRESULT registerTypeLibrary(HMODULE module, REFGUID libid, WORD major, WORD minor, const char* helpString);
  // HKCR\Interface\{iid} with its name and its TypeLib.
  static HRESULT registerInterface(REFIID iid, const char* name, REFGUID libid);
  // Removes HKCR\<parent>\<name> and everything under it; a missing key is no error.
  static HRESULT removeKey(const char* parent, const std::string& name);
};

}  // namespace plat
