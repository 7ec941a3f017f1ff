// A device context on a window's client area (the screen for a null window), given
// back to the window when gone.
#pragma once

#include <mfc/wnd/CDC.h>

class CWnd;

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};
