// Property frames: OleCreatePropertyFrame shows a modal "#32770" frame titled
// "<caption> Properties" ("Properties" without a caption) over hwndOwner at x, y (screen
// pixels), with one tab button per page CLSID above the page area and OK and Cancel below.
// Every page is created with CoCreateInstance, given its site and the objects, and
// activated into the frame; the first tab is shown. OK applies every page, Cancel and the
// close box apply nothing; the call returns when the frame is closed. The robot closes it
// as a user would; with nobody to answer, OK is taken, as a message box takes its default.
// Fails with the page's creation HRESULT when a page cannot be made, before anything shows.
//
// OLE pictures: OleLoadPicture reads a picture file (Windows bitmap, JPEG or PNG) from a
// stream into an IPicture holding a bitmap. The picture owns its bitmap: releasing the
// last reference deletes the HBITMAP, so a caller that keeps the bitmap copies it first.
// Sizes are in HIMETRIC (0.01 mm), 96 pixels to the inch.
#pragma once

#include <com/objidl.h>
#include <com/ocidl.h>
#include <com/unknwn.h>

using OLE_HANDLE = UINT;
using OLE_XPOS_HIMETRIC = LONG;
using OLE_YPOS_HIMETRIC = LONG;
using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1
#define PICTYPE_METAFILE 2
#define PICTYPE_ICON 3
#define PICTYPE_ENHMETAFILE 4

// The data is not a picture this platform reads.
#define CTL_E_INVALIDPICTURE static_cast<HRESULT>(0x800A01E1L)

// {7BF80980-BF32-101A-8BBB-00AA00300CAB}
DEFINE_GUID(IID_IPicture, 0x7BF80980, 0xBF32, 0x101A, 0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB);

struct IPicture : public IUnknown {
  STDMETHOD(get_Handle)(OLE_HANDLE* pHandle) = 0;
  STDMETHOD(get_hPal)(OLE_HANDLE* phPal) = 0;
  STDMETHOD(get_Type)(SHORT* pType) = 0;
  STDMETHOD(get_Width)(OLE_XSIZE_HIMETRIC* pWidth) = 0;
  STDMETHOD(get_Height)(OLE_YSIZE_HIMETRIC* pHeight) = 0;
  STDMETHOD(Render)(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                    OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) = 0;
  STDMETHOD(set_hPal)(OLE_HANDLE hPal) = 0;
  STDMETHOD(get_CurDC)(HDC* phDC) = 0;
  STDMETHOD(SelectPicture)(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) = 0;
  STDMETHOD(get_KeepOriginalFormat)(BOOL* pKeep) = 0;
  STDMETHOD(put_KeepOriginalFormat)(BOOL keep) = 0;
  STDMETHOD(PictureChanged)() = 0;
  STDMETHOD(SaveAsFile)(LPSTREAM pStream, BOOL fSaveMemCopy, LONG* pCbSize) = 0;
  STDMETHOD(get_Attributes)(DWORD* pDwAttr) = 0;

 protected:
  ~IPicture() = default;
};
using LPPICTURE = IPicture*;

// lSize 0 reads the stream to its end; otherwise lSize bytes from its position.
HRESULT OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL fRunmode, REFIID riid, LPVOID* lplpvObj);

HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption, ULONG cObjects,
                               LPUNKNOWN* ppUnk, ULONG cPages, LPCLSID pPageClsID, LCID lcid, DWORD dwReserved,
                               LPVOID pvReserved);
