// "quartz.dll": the in-process server of the graph library's classes (the filter graph,
// the capture graph builder, the device enumerator, the platform's filters). The machine's
// registry names it for those classes, so CoCreateInstance loads it on demand and a
// program that reaches the graph only through COM needs no link to the graph library.
// Loading it loads the graph library, whose classes are then built in; the module stays
// loaded for the life of the process, as the library's objects may outlive any count.
#include <com/BuiltinClassFactory.h>
#include <com/objbase.h>

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  const plat::CreateInstanceFn create = plat::BuiltinClasses::find(rclsid);
  if (!create) return CLASS_E_CLASSNOTAVAILABLE;
  return plat::BuiltinClassFactory::create(create, riid, ppv);
}

STDAPI DllCanUnloadNow() { return S_FALSE; }
