// MFC's static control over the system "STATIC" class.
#pragma once

#include <mfc/wnd/CWnd.h>

class CStatic : public CWnd {
 public:
  BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
  }
};
