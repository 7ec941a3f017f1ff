// The IPicture that OleLoadPicture gives: one bitmap, owned, deleted with the picture.
// Rendering stretches the bitmap onto a device context; SelectPicture selects it into
// one (returning what was selected); saving and palettes are not offered.
#pragma once

#include <com/RefCount.h>
#include <com/olectl.h>

namespace plat {

class OlePicture final : public IPicture {
 public:
  // Takes ownership of `bitmap`.
  OlePicture(HBITMAP bitmap, int width, int height);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP get_Handle(OLE_HANDLE* pHandle) override;
  STDMETHODIMP get_hPal(OLE_HANDLE* phPal) override;
  STDMETHODIMP get_Type(SHORT* pType) override;
  STDMETHODIMP get_Width(OLE_XSIZE_HIMETRIC* pWidth) override;
  STDMETHODIMP get_Height(OLE_YSIZE_HIMETRIC* pHeight) override;
  STDMETHODIMP Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                      OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) override;
  STDMETHODIMP set_hPal(OLE_HANDLE hPal) override;
  STDMETHODIMP get_CurDC(HDC* phDC) override;
  STDMETHODIMP SelectPicture(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) override;
  STDMETHODIMP get_KeepOriginalFormat(BOOL* pKeep) override;
  STDMETHODIMP put_KeepOriginalFormat(BOOL keep) override;
  STDMETHODIMP PictureChanged() override;
  STDMETHODIMP SaveAsFile(LPSTREAM pStream, BOOL fSaveMemCopy, LONG* pCbSize) override;
  STDMETHODIMP get_Attributes(DWORD* pDwAttr) override;

  static LONG toHimetric(int pixels) { return static_cast<LONG>((pixels * 2540LL + 48) / 96); }
  static int toPixels(LONG himetric) { return static_cast<int>((himetric * 96LL + 1270) / 2540); }

 private:
  ~OlePicture();

  RefCount m_refs;
  HBITMAP m_bitmap;
  int m_width;
  int m_height;
  HDC m_currentDc = nullptr;
  BOOL m_keepOriginal = FALSE;
};

}  // namespace plat
