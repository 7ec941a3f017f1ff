// The device context of a WM_PAINT handler: BeginPaint when made, EndPaint when gone.
#pragma once

#include <mfc/wnd/CDC.h>
#include <win32/user/paint.h>

class CWnd;

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};
