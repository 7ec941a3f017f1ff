// Classes the platform itself provides (the filter graph manager, the device
// enumerator…). They need no registry entry: CoCreateInstance and CoGetClassObject look
// here first, then under HKCR\CLSID. A platform library adds its classes when it loads.
#pragma once

#include <com/unknwn.h>

namespace plat {

// Creates one object; refuses an outer object with CLASS_E_NOAGGREGATION unless the class aggregates.
using CreateInstanceFn = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

class BuiltinClasses {
 public:
  // A second add for the same class replaces the first.
  static void add(REFCLSID clsid, CreateInstanceFn create);
  // Null when the class is not built in.
  static CreateInstanceFn find(REFCLSID clsid);
};

}  // namespace plat
