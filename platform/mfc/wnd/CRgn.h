// A region object.
#pragma once

#include <mfc/wnd/CGdiObject.h>

class CRgn : public CGdiObject {
 public:
  static CRgn* PASCAL FromHandle(HRGN hRgn) { return fromHandleAs<CRgn>(hRgn); }
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }  // NOLINT

  BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
  BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
  BOOL CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
    return Attach(::ExtCreateRegion(lpXForm, static_cast<DWORD>(nCount), pRgnData));
  }
  int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn(*this, pRgn1 ? static_cast<HRGN>(*pRgn1) : nullptr,
                        pRgn2 ? static_cast<HRGN>(*pRgn2) : nullptr, nCombineMode);
  }
  int CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
  BOOL EqualRgn(const CRgn* pRgn) const { return pRgn && ::EqualRgn(*this, *pRgn); }
  int OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
  int OffsetRgn(POINT point) { return ::OffsetRgn(*this, point.x, point.y); }
  int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(*this, lpRect); }
  BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
  BOOL PtInRegion(POINT point) const { return ::PtInRegion(*this, point.x, point.y); }
  int GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
    return static_cast<int>(::GetRegionData(*this, static_cast<DWORD>(nCount), lpRgnData));
  }
};
