// Embedding: the interfaces between a container and an object it hosts in its window.
// The container gives the object its client site (IOleObject::SetClientSite), whose
// IDispatch answers the ambient properties; DoVerb activates the object in place in the
// container's window at a rectangle; IOleInPlaceObject moves it (SetObjectRects) and takes
// it out again. Types the platform has no use for travel as opaque pointers.
#pragma once

#include <com/objidl.h>
#include <com/oaidl.h>
#include <win32/user/message.h>

#define OLEIVERB_PRIMARY 0L
#define OLEIVERB_SHOW (-1L)
#define OLEIVERB_HIDE (-3L)
#define OLEIVERB_UIACTIVATE (-4L)
#define OLEIVERB_INPLACEACTIVATE (-5L)

#define OLECLOSE_SAVEIFDIRTY 0
#define OLECLOSE_NOSAVE 1

#define OLEOBJ_E_NOVERBS static_cast<HRESULT>(0x80040180L)
#define OLE_E_NOT_INPLACEACTIVE static_cast<HRESULT>(0x80040010L)
#define OLEMISC_ACTIVATEWHENVISIBLE 0x100
#define OLEMISC_SETCLIENTSITEFIRST 0x20000

struct IOleContainer;

// {00000118-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IOleClientSite, 0x00000118, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IOleClientSite : public IUnknown {
  STDMETHOD(SaveObject)() = 0;
  STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) = 0;
  STDMETHOD(GetContainer)(IOleContainer** ppContainer) = 0;
  STDMETHOD(ShowObject)() = 0;
  STDMETHOD(OnShowWindow)(BOOL fShow) = 0;
  STDMETHOD(RequestNewObjectLayout)() = 0;

 protected:
  ~IOleClientSite() = default;
};

// {00000112-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IOleObject, 0x00000112, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IOleObject : public IUnknown {
  STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) = 0;
  STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) = 0;
  STDMETHOD(SetHostNames)(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) = 0;
  STDMETHOD(Close)(DWORD dwSaveOption) = 0;
  STDMETHOD(SetMoniker)(DWORD dwWhichMoniker, IMoniker* pmk) = 0;
  STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) = 0;
  STDMETHOD(InitFromData)(IUnknown* pDataObject, BOOL fCreation, DWORD dwReserved) = 0;
  STDMETHOD(GetClipboardData)(DWORD dwReserved, IUnknown** ppDataObject) = 0;
  // lprcPosRect: where the object goes in hwndParent's client area.
  STDMETHOD(DoVerb)(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                    LPCRECT lprcPosRect) = 0;
  STDMETHOD(EnumVerbs)(IUnknown** ppEnumOleVerb) = 0;
  STDMETHOD(Update)() = 0;
  STDMETHOD(IsUpToDate)() = 0;
  STDMETHOD(GetUserClassID)(CLSID* pClsid) = 0;
  STDMETHOD(GetUserType)(DWORD dwFormOfType, LPOLESTR* pszUserType) = 0;
  STDMETHOD(SetExtent)(DWORD dwDrawAspect, SIZE* psizel) = 0;
  STDMETHOD(GetExtent)(DWORD dwDrawAspect, SIZE* psizel) = 0;
  STDMETHOD(Advise)(IUnknown* pAdvSink, DWORD* pdwConnection) = 0;
  STDMETHOD(Unadvise)(DWORD dwConnection) = 0;
  STDMETHOD(EnumAdvise)(IUnknown** ppenumAdvise) = 0;
  STDMETHOD(GetMiscStatus)(DWORD dwAspect, DWORD* pdwStatus) = 0;
  STDMETHOD(SetColorScheme)(void* pLogpal) = 0;

 protected:
  ~IOleObject() = default;
};

// {00000114-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IOleWindow, 0x00000114, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IOleWindow : public IUnknown {
  STDMETHOD(GetWindow)(HWND* phwnd) = 0;
  STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) = 0;

 protected:
  ~IOleWindow() = default;
};

// {00000113-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IOleInPlaceObject, 0x00000113, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
struct IOleInPlaceObject : public IOleWindow {
  STDMETHOD(InPlaceDeactivate)() = 0;
  STDMETHOD(UIDeactivate)() = 0;
  STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT lprcClipRect) = 0;
  STDMETHOD(ReactivateAndUndo)() = 0;

 protected:
  ~IOleInPlaceObject() = default;
};
