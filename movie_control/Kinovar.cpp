// The Kinovar module, "Kinovar.ocx": the TV control's in-process server exports.
#include "CKinovarModule.h"

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  return CKinovarModule::Server().getClassObject(rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow() { return CKinovarModule::Server().canUnloadNow(); }

STDAPI DllRegisterServer() { return CKinovarModule::Server().registerServer(); }

STDAPI DllUnregisterServer() { return CKinovarModule::Server().unregisterServer(); }

namespace {
// The type library is known as soon as the module is loaded.
const bool g_libraryKnown = (CKinovarModule::Server(), true);
}  // namespace
