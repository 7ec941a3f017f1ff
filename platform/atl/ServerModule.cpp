#include <atl/ServerModule.h>

#include <com/BuiltinClassFactory.h>
#include <com/GuidText.h>
#include <com/ServerRegistration.h>
#include <win32/module.h>

namespace plat::atl {

ServerModule::ServerModule(std::span<const ClassEntry> classes, std::span<const InterfaceEntry> interfaces,
                           const LibraryDescription& library, const void* anchor)
    : m_classes(classes), m_interfaces(interfaces), m_library(library), m_anchor(anchor) {
  TypeLibraries::add(library);
}

HMODULE ServerModule::instance() const {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(m_anchor), &module);
  return module;
}

HRESULT ServerModule::getClassObject(REFCLSID clsid, REFIID iid, void** out) const {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const ClassEntry& entry : m_classes)
    if (*entry.clsid == clsid) return BuiltinClassFactory::create(entry.create, iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerModule::registerServer() const {
  HMODULE module = instance();
  HRESULT hr = S_OK;
  for (const ClassEntry& entry : m_classes) {
    if (SUCCEEDED(hr)) hr = ServerRegistration::registerServer(module, *entry.clsid, entry.friendlyName, "Apartment");
    if (SUCCEEDED(hr) && entry.progId) hr = ServerRegistration::registerProgId(entry.progId, *entry.clsid, entry.friendlyName);
  }
  if (SUCCEEDED(hr))
    hr = ServerRegistration::registerTypeLibrary(module, *m_library.libid, m_library.major, m_library.minor, m_library.doc);
  for (const InterfaceEntry& entry : m_interfaces)
    if (SUCCEEDED(hr)) hr = ServerRegistration::registerInterface(*entry.iid, entry.name, *m_library.libid);
  return hr;
}

HRESULT ServerModule::unregisterServer() const {
  for (const ClassEntry& entry : m_classes) {
    ServerRegistration::unregisterServer(*entry.clsid);
    if (entry.progId) ServerRegistration::removeKey("", entry.progId);
  }
  for (const InterfaceEntry& entry : m_interfaces) ServerRegistration::removeKey("Interface", GuidText::format(*entry.iid));
  return ServerRegistration::removeKey("TypeLib", GuidText::format(*m_library.libid));
}

}  // namespace plat::atl
