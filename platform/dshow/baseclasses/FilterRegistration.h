// Registration of filters in the machine's registry, as a filter module's
// DllRegisterServer does it: each class of the module's table as a COM in-process
// server (HKCR\CLSID\{clsid}), and each filter with a setup record in a filter category
// (HKCR\CLSID\{category}\Instance\{clsid}: "FriendlyName", "CLSID", "FilterData"; see
// RegisteredFilter). The graph's intelligent connect and the device enumerator read
// the categories back through filtersIn.
#pragma once

#include <dshow/baseclasses/CFactoryTemplate.h>
#include <dshow/baseclasses/RegisteredFilter.h>

#include <vector>

namespace plat {

class FilterRegistration {
 public:
  // Registers (or, with bRegister FALSE, removes) every class of the table.
  static HRESULT registerTemplates(HMODULE module, const CFactoryTemplate* templates, int count, BOOL bRegister);
  static HRESULT registerFilter(const RegisteredFilter& filter, REFCLSID category);
  // A filter not registered is no error.
  static HRESULT unregisterFilter(REFCLSID clsid, REFCLSID category);
  // Every readable entry of the category, in the registry's key order.
  static std::vector<RegisteredFilter> filtersIn(REFCLSID category);
  // The module (as LoadLibraryA names it) whose image holds `address`, or null.
  static HMODULE moduleOf(const void* address);
};

}  // namespace plat
