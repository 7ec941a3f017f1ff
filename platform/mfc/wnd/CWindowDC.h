// A device context on a whole window, frame included (the screen for a null window),
// given back to the window when gone.
#pragma once

#include <mfc/wnd/CDC.h>

class CWnd;

class CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* pWnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};
