// The exports of a filter module built on the base classes. Include this header in
// exactly one source file of the module, after defining
//   CFactoryTemplate g_Templates[] = {...};  int g_cTemplates = ...;
// It defines DllGetClassObject, DllCanUnloadNow, DllEntryPoint and
// AMovieDllRegisterServer2; the module writes DllRegisterServer, DllUnregisterServer and
// DllMain itself. The templates' init routines run when the module is loaded and
// unloaded (there is no loader call of DllMain here).
#pragma once

#include <dshow/baseclasses/CClassFactory.h>
#include <dshow/baseclasses/FilterRegistration.h>
#include <dshow/baseclasses/dllsetup.h>

#include <new>

extern CFactoryTemplate g_Templates[];
extern int g_cTemplates;

STDAPI DllGetClassObject(REFCLSID rClsID, REFIID riid, void** pv) {
  CheckPointer(pv, E_POINTER);
  *pv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
  for (int i = 0; i < g_cTemplates; ++i) {
    if (!g_Templates[i].IsClassID(rClsID)) continue;
    auto* factory = new (std::nothrow) CClassFactory(&g_Templates[i]);
    if (!factory) return E_OUTOFMEMORY;
    factory->AddRef();
    *pv = static_cast<IClassFactory*>(factory);
    return S_OK;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return CClassFactory::IsLocked() || CBaseObject::ObjectsActive() > 0 ? S_FALSE : S_OK; }

STDAPI AMovieDllRegisterServer2(BOOL bRegister) {
  return plat::FilterRegistration::registerTemplates(plat::FilterRegistration::moduleOf(&g_cTemplates), g_Templates,
                                                     g_cTemplates, bRegister);
}

extern "C" BOOL WINAPI DllEntryPoint(HINSTANCE, ULONG, LPVOID) { return TRUE; }

namespace {
// Runs the templates' init routines at load and unload, as DllEntryPoint would.
struct OrvaneFilterModuleInit {
  OrvaneFilterModuleInit() {
    for (int i = 0; i < g_cTemplates; ++i)
      if (g_Templates[i].m_lpfnInit) g_Templates[i].m_lpfnInit(TRUE, g_Templates[i].m_ClsID);
  }
  ~OrvaneFilterModuleInit() {
    for (int i = 0; i < g_cTemplates; ++i)
      if (g_Templates[i].m_lpfnInit) g_Templates[i].m_lpfnInit(FALSE, g_Templates[i].m_ClsID);
  }
} g_orvaneFilterModuleInit;
}  // namespace
