// A top-level frame window. Frames are made with new (often by class name through their
// run-time class) and delete themselves when their window is gone; closing one destroys it.
#pragma once

#include <mfc/wnd/CWnd.h>

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  // Lets the system choose the position and size.
  static const CRect rectDefault;

  CFrameWnd();

  // lpszClassName NULL gives a frame class with an arrow cursor and the window colour.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                      DWORD dwExStyle = 0, void* pContext = nullptr);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  void PostNcDestroy() override;
};
