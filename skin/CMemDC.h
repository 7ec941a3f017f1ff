// An off-screen drawing context for flicker-free painting: unless printing, it draws
// into a compatible bitmap of the given rectangle (with the target's mapping mode and an
// origin at the rectangle's corner) and copies it to the target when it goes.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CMemDC : public CDC {
 public:
  // Without a rectangle, the target's clip box.
  explicit CMemDC(CDC* pDC, const CRect* pRect = nullptr);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  CMemDC* operator->() { return this; }

 private:
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap;
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC;
};
