#include <win32/gdi/OlePicture.h>

#include <win32/gdi/bitmap.h>
#include <win32/gdi/dc.h>
#include <win32/gdi/object.h>

#include <algorithm>
#include <cstdlib>

namespace plat {

OlePicture::OlePicture(HBITMAP bitmap, int width, int height) : m_bitmap(bitmap), m_width(width), m_height(height) {}

OlePicture::~OlePicture() { DeleteObject(m_bitmap); }

STDMETHODIMP OlePicture::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPicture) {
    *ppv = static_cast<IPicture*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) OlePicture::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) OlePicture::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP OlePicture::get_Handle(OLE_HANDLE* pHandle) {
  if (!pHandle) return E_POINTER;
  *pHandle = static_cast<OLE_HANDLE>(reinterpret_cast<std::uintptr_t>(m_bitmap));
  return S_OK;
}

STDMETHODIMP OlePicture::get_hPal(OLE_HANDLE* phPal) {
  if (!phPal) return E_POINTER;
  *phPal = 0;
  return S_OK;
}

STDMETHODIMP OlePicture::get_Type(SHORT* pType) {
  if (!pType) return E_POINTER;
  *pType = PICTYPE_BITMAP;
  return S_OK;
}

STDMETHODIMP OlePicture::get_Width(OLE_XSIZE_HIMETRIC* pWidth) {
  if (!pWidth) return E_POINTER;
  *pWidth = toHimetric(m_width);
  return S_OK;
}

STDMETHODIMP OlePicture::get_Height(OLE_YSIZE_HIMETRIC* pHeight) {
  if (!pHeight) return E_POINTER;
  *pHeight = toHimetric(m_height);
  return S_OK;
}

STDMETHODIMP OlePicture::Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                LPCRECT) {
  if (!hDC) return E_INVALIDARG;
  HDC memory = CreateCompatibleDC(hDC);
  if (!memory) return E_FAIL;
  HGDIOBJ old = SelectObject(memory, m_bitmap);
  // The source is in HIMETRIC from the picture's bottom-left corner, y going up: a
  // source running upwards (cySrc > 0) draws the picture upside down.
  const int y1 = m_height - toPixels(ySrc);
  const int y2 = m_height - toPixels(ySrc + cySrc);
  const int x1 = toPixels(xSrc);
  const int x2 = toPixels(xSrc + cxSrc);
  const bool flipX = x2 < x1;
  const bool flipY = y2 < y1;
  const BOOL drawn = StretchBlt(hDC, flipX ? x + cx - 1 : x, flipY ? y + cy - 1 : y, flipX ? -cx : cx, flipY ? -cy : cy,
                                memory, std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1), SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  return drawn ? S_OK : E_FAIL;
}

STDMETHODIMP OlePicture::set_hPal(OLE_HANDLE) { return E_NOTIMPL; }

STDMETHODIMP OlePicture::get_CurDC(HDC* phDC) {
  if (!phDC) return E_POINTER;
  *phDC = m_currentDc;
  return S_OK;
}

STDMETHODIMP OlePicture::SelectPicture(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) {
  HGDIOBJ previous = SelectObject(hDCIn, m_bitmap);
  if (!previous) return E_FAIL;
  if (phDCOut) *phDCOut = m_currentDc;
  if (phBmpOut) *phBmpOut = static_cast<OLE_HANDLE>(reinterpret_cast<std::uintptr_t>(previous));
  m_currentDc = hDCIn;
  return S_OK;
}

STDMETHODIMP OlePicture::get_KeepOriginalFormat(BOOL* pKeep) {
  if (!pKeep) return E_POINTER;
  *pKeep = m_keepOriginal;
  return S_OK;
}

STDMETHODIMP OlePicture::put_KeepOriginalFormat(BOOL keep) {
  m_keepOriginal = keep;
  return S_OK;
}

STDMETHODIMP OlePicture::PictureChanged() { return S_OK; }

STDMETHODIMP OlePicture::SaveAsFile(LPSTREAM, BOOL, LONG*) { return E_NOTIMPL; }

STDMETHODIMP OlePicture::get_Attributes(DWORD* pDwAttr) {
  if (!pDwAttr) return E_POINTER;
  *pDwAttr = 0;
  return S_OK;
}

}  // namespace plat
