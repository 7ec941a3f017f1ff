// The platform's COM classes of the filter-graph area (graph manager, clock, allocator,
// capture graph builder, device enumerator and the platform's filters), made creatable
// by CLSID when the library loads; filters with a setup record also join the catalogue
// intelligent connect draws from.
#pragma once

#include <com/BuiltinClasses.h>
#include <dshow/baseclasses/CFactoryTemplate.h>

namespace plat {

class PlatformClasses {
 public:
  // Adapts a base-class creation function to COM's: aggregation only for IUnknown.
  template <LPFNNewCOMObject New>
  static HRESULT create(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    HRESULT hr = S_OK;
    CUnknown* object = New(outer, &hr);
    if (!object) return E_OUTOFMEMORY;
    if (FAILED(hr)) {
      delete object;
      return hr;
    }
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(iid, out);
    object->NonDelegatingRelease();
    return hr;
  }

  // Registers every class; the library calls it once as it loads.
  static bool registerAll();
};

}  // namespace plat
