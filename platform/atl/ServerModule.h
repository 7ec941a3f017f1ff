// The in-process server side of a module of controls: its class table, class objects,
// object count for DllCanUnloadNow, and registration of its classes, ProgIDs, type
// library and interfaces. One per module, defined by the module as a static object;
// `anchor` is any address inside the module, so the module's file and handle are known.
#pragma once

#include <com/BuiltinClasses.h>
#include <com/TypeLibrary.h>

#include <atomic>
#include <span>

namespace plat::atl {

struct ClassEntry {
  const CLSID* clsid;
  CreateInstanceFn create;
  const char* friendlyName;
  const char* progId;  // may be null
};

struct InterfaceEntry {
  const IID* iid;
  const char* name;
};

class ServerModule {
 public:
  ServerModule(std::span<const ClassEntry> classes, std::span<const InterfaceEntry> interfaces,
               const LibraryDescription& library, const void* anchor);
  ServerModule(const ServerModule&) = delete;
  ServerModule& operator=(const ServerModule&) = delete;

  HMODULE instance() const;
  HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out) const;
  HRESULT canUnloadNow() const { return m_objects.load() == 0 ? S_OK : S_FALSE; }
  HRESULT registerServer() const;
  HRESULT unregisterServer() const;

  // Every object of the module counts itself while it lives.
  void objectCreated() { ++m_objects; }
  void objectDestroyed() { --m_objects; }

 private:
  std::span<const ClassEntry> m_classes;
  std::span<const InterfaceEntry> m_interfaces;
  const LibraryDescription& m_library;
  const void* m_anchor;
  std::atomic<long> m_objects{0};
};

}  // namespace plat::atl
