// Property bags: named VARIANT values an object reads its settings from (a device's
// "FriendlyName"). Property pages: an object names the pages that edit it
// (ISpecifyPropertyPages); a property frame (olectl.h) hosts each page through its site.
// Connection points: an object's outgoing interfaces, each with the sinks advised on it
// (IConnectionPointContainer, IConnectionPoint); IProvideClassInfo gives an object's class
// description, from which a container learns its event interface.
#pragma once

#include <com/oaidl.h>
#include <win32/user/message.h>

// {55272A00-42CB-11CE-8135-00AA004BB851}
DEFINE_GUID(IID_IPropertyBag, 0x55272A00, 0x42CB, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51);

struct IPropertyBag : public IUnknown {
  // *pVar comes in with the wanted type (VT_EMPTY for the stored one) and leaves owning the value.
  STDMETHOD(Read)(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
  STDMETHOD(Write)(LPCOLESTR pszPropName, VARIANT* pVar) = 0;

 protected:
  ~IPropertyBag() = default;
};

// A counted array of GUIDs allocated with CoTaskMemAlloc; the receiver frees pElems.
struct CAUUID {
  ULONG cElems;
  GUID* pElems;
};
using LPCAUUID = CAUUID*;

// {B196B28B-BAB4-101A-B69C-00AA00341D07}
DEFINE_GUID(IID_ISpecifyPropertyPages, 0xB196B28B, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);

struct ISpecifyPropertyPages : public IUnknown {
  STDMETHOD(GetPages)(CAUUID* pPages) = 0;

 protected:
  ~ISpecifyPropertyPages() = default;
};

// A page's title and size (pixels), the strings allocated with CoTaskMemAlloc.
struct PROPPAGEINFO {
  ULONG cb;
  LPOLESTR pszTitle;
  SIZE size;
  LPOLESTR pszDocString;
  LPOLESTR pszHelpFile;
  DWORD dwHelpContext;
};
using LPPROPPAGEINFO = PROPPAGEINFO*;

#define PROPPAGESTATUS_DIRTY 0x01
#define PROPPAGESTATUS_VALIDATE 0x02
#define PROPPAGESTATUS_CLEAN 0x04

// {B196B28C-BAB4-101A-B69C-00AA00341D07}
DEFINE_GUID(IID_IPropertyPageSite, 0xB196B28C, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);

struct IPropertyPageSite : public IUnknown {
  STDMETHOD(OnStatusChange)(DWORD dwFlags) = 0;
  STDMETHOD(GetLocaleID)(LCID* pLocaleID) = 0;
  STDMETHOD(GetPageContainer)(IUnknown** ppUnk) = 0;
  STDMETHOD(TranslateAccelerator)(LPMSG pMsg) = 0;

 protected:
  ~IPropertyPageSite() = default;
};

// {B196B28D-BAB4-101A-B69C-00AA00341D07}
DEFINE_GUID(IID_IPropertyPage, 0xB196B28D, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);

struct IPropertyPage : public IUnknown {
  STDMETHOD(SetPageSite)(IPropertyPageSite* pPageSite) = 0;
  STDMETHOD(Activate)(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
  STDMETHOD(Deactivate)() = 0;
  STDMETHOD(GetPageInfo)(PROPPAGEINFO* pPageInfo) = 0;
  // cObjects 0 lets go of the objects.
  STDMETHOD(SetObjects)(ULONG cObjects, IUnknown** ppUnk) = 0;
  STDMETHOD(Show)(UINT nCmdShow) = 0;
  STDMETHOD(Move)(LPCRECT pRect) = 0;
  STDMETHOD(IsPageDirty)() = 0;
  STDMETHOD(Apply)() = 0;
  STDMETHOD(Help)(LPCOLESTR pszHelpDir) = 0;
  STDMETHOD(TranslateAccelerator)(LPMSG pMsg) = 0;

 protected:
  ~IPropertyPage() = default;
};

struct IConnectionPoint;
struct IEnumConnections;
struct IEnumConnectionPoints;

// {B196B284-BAB4-101A-B69C-00AA00341D07}
DEFINE_GUID(IID_IConnectionPointContainer, 0xB196B284, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);
struct IConnectionPointContainer : public IUnknown {
  STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** ppEnum) = 0;
  STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

#define CONNECT_E_NOCONNECTION static_cast<HRESULT>(0x80040200L)
#define CONNECT_E_CANNOTCONNECT static_cast<HRESULT>(0x80040202L)

// {B196B286-BAB4-101A-B69C-00AA00341D07}
DEFINE_GUID(IID_IConnectionPoint, 0xB196B286, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);
struct IConnectionPoint : public IUnknown {
  STDMETHOD(GetConnectionInterface)(IID* pIID) = 0;
  STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) = 0;
  // The sink must answer the point's interface (or IDispatch for a dispinterface).
  STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
  STDMETHOD(Unadvise)(DWORD dwCookie) = 0;
  STDMETHOD(EnumConnections)(IEnumConnections** ppEnum) = 0;

 protected:
  ~IConnectionPoint() = default;
};

// {B196B283-BAB4-101A-B69C-00AA00341D07}
DEFINE_GUID(IID_IProvideClassInfo, 0xB196B283, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);
struct IProvideClassInfo : public IUnknown {
  STDMETHOD(GetClassInfo)(ITypeInfo** ppTI) = 0;

 protected:
  ~IProvideClassInfo() = default;
};
