// The video area of the TV and media player windows: a static control that hosts the
// live picture or the playing file. A double click switches it to full screen and back;
// every mouse move over it tells the parent (which shows its control bar). Without a
// picture in it, it is black.
#pragma once

#include <mfc/afxwin.h>

class CVideoStaticEx : public CWnd {
 public:
  CVideoStaticEx();

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL IsFullScreen() const { return m_bFullScreen; }
  // Tells the parent UM_ENTER_FULLSCREEN, covers the screen with the client area on top
  // of its siblings and takes the focus.
  void EnterFullScreen();
  // Back to the saved placement; tells the parent UM_LEAVE_FULLSCREEN.
  void LeaveFullScreen();
  void ToggleFullScreen();

 protected:
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  // The controller's video follows the control's size.
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bFullScreen;
  WINDOWPLACEMENT m_savedPlacement;
};
