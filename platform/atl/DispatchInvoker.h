// Calling a dual interface's method through IDispatch::Invoke: the arguments of the call
// frame (last one first) become the method's parameters, by the parameter's type:
//
//   long         an argument convertible to VT_I4 (or a VT_BYREF | VT_I4 one, read)
//   BSTR         an argument convertible to VT_BSTR, freed after the call
//   long*, BSTR* a VT_BYREF argument of that type; when the argument is left out, the
//                last such parameter is the call's result and earlier ones are null
//
// A missing value argument gives DISP_E_BADPARAMCOUNT, too many arguments likewise, an
// argument of the wrong type DISP_E_TYPEMISMATCH (its index in *argError).
#pragma once

#include <com/oleauto.h>

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

namespace plat::atl {

template <class T>
struct ArgumentSlot;

template <>
struct ArgumentSlot<long> {
  long value = 0;
  HRESULT load(VARIANT* arg, bool) {
    if (!arg) return DISP_E_BADPARAMCOUNT;
    if (arg->vt == (VT_BYREF | VT_I4)) {
      value = arg->plVal ? *arg->plVal : 0;
      return S_OK;
    }
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, arg, 0, VT_I4))) return DISP_E_TYPEMISMATCH;
    value = converted.lVal;
    return S_OK;
  }
  long get() { return value; }
  void store(VARIANT*) {}
};

template <>
struct ArgumentSlot<BSTR> {
  VARIANT value{};
  HRESULT load(VARIANT* arg, bool) {
    if (!arg) return DISP_E_BADPARAMCOUNT;
    VariantInit(&value);
    return FAILED(VariantChangeType(&value, arg, 0, VT_BSTR)) ? DISP_E_TYPEMISMATCH : S_OK;
  }
  BSTR get() { return value.bstrVal; }
  void store(VARIANT*) {}
  ~ArgumentSlot() { VariantClear(&value); }
};

template <>
struct ArgumentSlot<long*> {
  long local = 0;
  LONG* byReference = nullptr;  // the caller's VT_I4, written back after the call
  bool used = false;
  bool isResult = false;
  HRESULT load(VARIANT* arg, bool last) {
    if (arg) {
      if (arg->vt != (VT_BYREF | VT_I4) || !arg->plVal) return DISP_E_TYPEMISMATCH;
      byReference = arg->plVal;
      local = *byReference;
      used = true;
    } else if (last) {
      used = isResult = true;
    }
    return S_OK;
  }
  long* get() { return used ? &local : nullptr; }
  void store(VARIANT* result) {
    if (byReference) *byReference = static_cast<LONG>(local);
    if (!isResult || !result) return;
    result->vt = VT_I4;
    result->lVal = static_cast<LONG>(local);
  }
};

template <>
struct ArgumentSlot<BSTR*> {
  BSTR local = nullptr;
  BSTR* target = nullptr;
  bool isResult = false;
  HRESULT load(VARIANT* arg, bool last) {
    if (arg) {
      if (arg->vt != (VT_BYREF | VT_BSTR)) return DISP_E_TYPEMISMATCH;
      target = arg->pbstrVal;
    } else if (last) {
      target = &local;
      isResult = true;
    }
    return S_OK;
  }
  BSTR* get() { return target; }
  void store(VARIANT* result) {
    if (!isResult) return;
    if (result) {
      result->vt = VT_BSTR;
      result->bstrVal = std::exchange(local, nullptr);
    }
  }
  ~ArgumentSlot() { SysFreeString(local); }
};

template <class M>
struct MethodTraits;

template <class C, class... A>
struct MethodTraits<HRESULT (C::*)(A...)> {
  using Class = C;
  using Slots = std::tuple<ArgumentSlot<A>...>;
  static constexpr std::size_t count = sizeof...(A);
};

template <auto Method, std::size_t... I>
HRESULT invokeWith(typename MethodTraits<decltype(Method)>::Class* object, DISPPARAMS* params, VARIANT* result,
                   UINT* argError, std::index_sequence<I...>) {
  using Traits = MethodTraits<decltype(Method)>;
  const UINT supplied = params ? params->cArgs : 0;
  if (supplied > Traits::count) return DISP_E_BADPARAMCOUNT;
  typename Traits::Slots slots;
  HRESULT hr = S_OK;
  [[maybe_unused]] auto load = [&](auto& slot, std::size_t index) {
    if (FAILED(hr)) return;
    VARIANT* arg = index < supplied ? &params->rgvarg[supplied - 1 - index] : nullptr;
    hr = slot.load(arg, index + 1 == Traits::count);
    if (FAILED(hr) && argError) *argError = static_cast<UINT>(supplied - 1 - index);
  };
  (load(std::get<I>(slots), I), ...);
  if (FAILED(hr)) return hr;
  if (result) VariantInit(result);
  hr = (object->*Method)(std::get<I>(slots).get()...);
  if (SUCCEEDED(hr)) (std::get<I>(slots).store(result), ...);
  return hr;
}

// The thunk of one dispatch-table entry.
template <auto Method, class Object>
HRESULT invoke(Object* object, DISPPARAMS* params, VARIANT* result, UINT* argError) {
  using Traits = MethodTraits<decltype(Method)>;
  return invokeWith<Method>(static_cast<typename Traits::Class*>(object), params, result, argError,
                            std::make_index_sequence<Traits::count>{});
}

}  // namespace plat::atl
