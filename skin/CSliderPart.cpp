#include "skin/CSliderPart.h"

#include "skin/SkinBitmap.h"

#include <mfc/afxwin.h>

namespace {

constexpr COLORREF kPixelColor = 0xFF000000;

HBITMAP LoadResourceBitmap(UINT nId) { return ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId)); }

}  // namespace

BOOL CSliderPart::Load(UINT nNormalId, UINT nActiveId, BOOL bTransparent, COLORREF crMask, int x, int y) {
  if (nNormalId == 0) {
    Delete();
    return TRUE;
  }
  HBITMAP hNormal = LoadResourceBitmap(nNormalId);
  if (!hNormal) return FALSE;
  Delete();
  m_hNormal = hNormal;
  if (bTransparent) m_hNormalMask = CreateMask(m_hNormal, crMask, x, y);
  if (nActiveId != 0) {
    m_hActive = LoadResourceBitmap(nActiveId);
    if (!m_hActive) {
      Delete();
      return FALSE;
    }
    if (bTransparent) m_hActiveMask = CreateMask(m_hActive, crMask, x, y);
    m_bActive = TRUE;
  }
  m_bTransparent = bTransparent;
  m_bLoaded = TRUE;
  return TRUE;
}

void CSliderPart::Delete() {
  ReleaseBitmap(m_hNormal);
  ReleaseBitmap(m_hNormalMask);
  ReleaseBitmap(m_hActive);
  ReleaseBitmap(m_hActiveMask);
  m_bLoaded = FALSE;
  m_bActive = FALSE;
}

SIZE CSliderPart::Size() const {
  BITMAP bm{};
  if (!m_hNormal || !GetObject(m_hNormal, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

HBITMAP CSliderPart::CreateMask(HBITMAP hImage, COLORREF crMask, int x, int y) {
  BITMAP bm{};
  if (!GetObject(hImage, sizeof bm, &bm)) return nullptr;
  HBITMAP hMask = CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr);
  HDC hImageDC = CreateCompatibleDC(nullptr);
  HDC hMaskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ hOldImage = SelectObject(hImageDC, hImage);
  HGDIOBJ hOldMask = SelectObject(hMaskDC, hMask);
  const COLORREF crKey = crMask == kPixelColor ? GetPixel(hImageDC, x, y) : crMask;
  // Colour to monochrome: pixels of the background colour become 1.
  SetBkColor(hImageDC, crKey);
  BitBlt(hMaskDC, 0, 0, bm.bmWidth, bm.bmHeight, hImageDC, 0, 0, SRCCOPY);
  // Monochrome to colour: 0 takes the text colour (white, kept), 1 the background (black).
  SetTextColor(hImageDC, RGB(255, 255, 255));
  SetBkColor(hImageDC, RGB(0, 0, 0));
  BitBlt(hImageDC, 0, 0, bm.bmWidth, bm.bmHeight, hMaskDC, 0, 0, SRCAND);
  SelectObject(hMaskDC, hOldMask);
  SelectObject(hImageDC, hOldImage);
  DeleteDC(hMaskDC);
  DeleteDC(hImageDC);
  return hMask;
}
