// IUnknown and the declaration macros of COM interfaces.
//
// Interfaces are plain structs of pure virtual methods with no virtual destructor, so
// their vtables hold exactly the interface's methods in declaration order (slot 1 to 3
// are QueryInterface, AddRef, Release), as callers that count slots rely on.
#pragma once

#include <com/guid.h>
#include <com/hresult.h>

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0
#define THIS_
#define THIS void
#define interface struct
#define DECLARE_INTERFACE(iface) struct iface
#define DECLARE_INTERFACE_(iface, base) struct iface : public base

// {00000000-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

struct IUnknown {
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) = 0;
  STDMETHOD_(ULONG, AddRef)() = 0;
  STDMETHOD_(ULONG, Release)() = 0;

 protected:
  ~IUnknown() = default;  // objects die through Release, never through delete on an interface
};
using LPUNKNOWN = IUnknown*;

// {00000001-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

struct IClassFactory : public IUnknown {
  STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
  STDMETHOD(LockServer)(BOOL fLock) = 0;

 protected:
  ~IClassFactory() = default;
};
using LPCLASSFACTORY = IClassFactory*;
