// A brush object: solid or from a pattern bitmap.
#pragma once

#include <mfc/wnd/CBitmap.h>

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
  explicit CBrush(CBitmap* pBitmap) { CreatePatternBrush(pBitmap); }

  static CBrush* PASCAL FromHandle(HBRUSH hBrush) { return fromHandleAs<CBrush>(hBrush); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT

  BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
  BOOL CreatePatternBrush(CBitmap* pBitmap) {
    return pBitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject))) : FALSE;
  }
  int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};
