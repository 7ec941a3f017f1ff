// VARIANT, the tagged value of automation, the error record and log that property bags
// report through, and automation itself: IDispatch, its call frames, and the type
// information (ITypeInfo, ITypeLib) a server describes its interfaces with.
#pragma once

#include <com/hresult.h>
#include <com/unknwn.h>
#include <com/wtypes.h>

// A VARIANT owns what it holds: a VT_BSTR its string, a VT_UNKNOWN one reference.
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    struct IDispatch* pdispVal;
    LONG* plVal;   // VT_BYREF | VT_I4
    BSTR* pbstrVal;  // VT_BYREF | VT_BSTR
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;
using LPVARIANTARG = VARIANT*;

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT(STDAPICALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};
using LPEXCEPINFO = EXCEPINFO*;

// {3127CA40-446E-11CE-8135-00AA004BB851}
DEFINE_GUID(IID_IErrorLog, 0x3127CA40, 0x446E, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51);

struct IErrorLog : public IUnknown {
  STDMETHOD(AddError)(LPCOLESTR pszPropName, EXCEPINFO* pExcepInfo) = 0;

 protected:
  ~IErrorLog() = default;
};

using DISPID = LONG;
using MEMBERID = DISPID;
struct ITypeInfo;
struct ITypeLib;

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)
#define DISPID_AMBIENT_USERMODE (-709)

#define DISP_E_UNKNOWNINTERFACE static_cast<HRESULT>(0x80020001L)
#define DISP_E_PARAMNOTFOUND static_cast<HRESULT>(0x80020004L)
#define DISP_E_BADPARAMCOUNT static_cast<HRESULT>(0x8002000EL)
#define TYPE_E_ELEMENTNOTFOUND static_cast<HRESULT>(0x8002802BL)
#define TYPE_E_LIBNOTREGISTERED static_cast<HRESULT>(0x8002801DL)

// Arguments in reverse order: rgvarg[0] is the last one.
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};
// {00020400-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IDispatch, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IDispatch : public IUnknown {
  STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) = 0;
  STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
  STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) = 0;
  STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                    VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;

 protected:
  ~IDispatch() = default;
};

enum TYPEKIND { TKIND_ENUM, TKIND_RECORD, TKIND_MODULE, TKIND_INTERFACE, TKIND_DISPATCH, TKIND_COCLASS, TKIND_ALIAS, TKIND_UNION };
enum INVOKEKIND { INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8 };

#define IMPLTYPEFLAG_FDEFAULT 0x1
#define IMPLTYPEFLAG_FSOURCE 0x2

// What the platform's type information tells of a type: its identity, kind and members.
struct TYPEATTR {
  GUID guid;
  TYPEKIND typekind;
  WORD cFuncs;
  WORD cImplTypes;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
};

// One member of a type: its dispatch id, how it is invoked, and how many arguments it takes.
struct FUNCDESC {
  MEMBERID memid;
  INVOKEKIND invkind;
  SHORT cParams;
};

using HREFTYPE = DWORD;

// {00020401-0000-0000-C000-000000000046}
DEFINE_GUID(IID_ITypeInfo, 0x00020401, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct ITypeInfo : public IUnknown {
  STDMETHOD(GetTypeAttr)(TYPEATTR** ppTypeAttr) = 0;
  STDMETHOD(GetFuncDesc)(UINT index, FUNCDESC** ppFuncDesc) = 0;
  // The member's name first, then its parameters' names.
  STDMETHOD(GetNames)(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) = 0;
  STDMETHOD(GetRefTypeOfImplType)(UINT index, HREFTYPE* pRefType) = 0;
  STDMETHOD(GetImplTypeFlags)(UINT index, INT* pImplTypeFlags) = 0;
  STDMETHOD(GetIDsOfNames)(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) = 0;
  // memid DISPID_UNKNOWN (MEMBERID_NIL) describes the type itself.
  STDMETHOD(GetDocumentation)(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                              BSTR* pBstrHelpFile) = 0;
  STDMETHOD(GetRefTypeInfo)(HREFTYPE hRefType, ITypeInfo** ppTInfo) = 0;
  STDMETHOD(GetContainingTypeLib)(ITypeLib** ppTLib, UINT* pIndex) = 0;
  STDMETHOD_(void, ReleaseTypeAttr)(TYPEATTR* pTypeAttr) = 0;
  STDMETHOD_(void, ReleaseFuncDesc)(FUNCDESC* pFuncDesc) = 0;

 protected:
  ~ITypeInfo() = default;
};

struct TLIBATTR {
  GUID guid;
  LCID lcid;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
};

// {00020402-0000-0000-C000-000000000046}
DEFINE_GUID(IID_ITypeLib, 0x00020402, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct ITypeLib : public IUnknown {
  STDMETHOD_(UINT, GetTypeInfoCount)() = 0;
  STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** ppTInfo) = 0;
  STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** ppTinfo) = 0;
  STDMETHOD(GetLibAttr)(TLIBATTR** ppTLibAttr) = 0;
  // index -1 documents the library itself.
  STDMETHOD(GetDocumentation)(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                              BSTR* pBstrHelpFile) = 0;
  STDMETHOD_(void, ReleaseTLibAttr)(TLIBATTR* pTLibAttr) = 0;

 protected:
  ~ITypeLib() = default;
};
