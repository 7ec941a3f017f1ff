// A pen object.
#pragma once

#include <mfc/wnd/CGdiObject.h>

class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

  static CPen* PASCAL FromHandle(HPEN hPen) { return fromHandleAs<CPen>(hPen); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT

  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) { return Attach(::CreatePen(nPenStyle, nWidth, crColor)); }
  int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
};
