// The IDispatch half of a dual interface: names and type information come from the
// server's type library (com/TypeLibrary.h), calls go through the class's dispatch table,
// one entry per DISPID and kind (method, property get, property put), each calling the
// interface's own vtable method (DispatchInvoker.h). T provides:
//
//   static const plat::LibraryDescription& typeLibrary();
//   static std::span<const plat::atl::DispatchEntry<T>> dispatchTable();
#pragma once

#include <atl/DispatchInvoker.h>
#include <com/ComPtr.h>
#include <com/TypeLibrary.h>

#include <span>

namespace plat::atl {

template <class T>
struct DispatchEntry {
  DISPID dispid;
  WORD flags;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
  HRESULT (*call)(T* object, DISPPARAMS* params, VARIANT* result, UINT* argError);
};

template <class T, class Interface, const IID* InterfaceId>
class IDispatchImpl : public Interface {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo) override {
    if (!ppTInfo) return E_POINTER;
    *ppTInfo = nullptr;
    if (iTInfo != 0) return DISP_E_BADINDEX;
    return TypeLibraries::typeInfo(T::typeLibrary(), *InterfaceId, ppTInfo);
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override {
    ComPtr<ITypeInfo> info;
    const HRESULT hr = GetTypeInfo(0, lcid, info.put());
    return FAILED(hr) ? hr : info->GetIDsOfNames(rgszNames, cNames, rgDispId);
  }
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                      EXCEPINFO*, UINT* puArgErr) override {
    // A property get may come as a method call too; a put never does.
    for (const DispatchEntry<T>& entry : T::dispatchTable()) {
      if (entry.dispid != dispIdMember) continue;
      const bool matches = (entry.flags & wFlags) != 0 ||
                           (entry.flags == DISPATCH_PROPERTYGET && (wFlags & DISPATCH_METHOD)) ||
                           (entry.flags == DISPATCH_METHOD && (wFlags & DISPATCH_PROPERTYGET));
      if (matches) return entry.call(static_cast<T*>(this), pDispParams, pVarResult, puArgErr);
    }
    return DISP_E_MEMBERNOTFOUND;
  }
};

}  // namespace plat::atl
