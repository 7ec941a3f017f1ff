// The video area of the setup and picture windows: a static control that hosts the live
// picture. A double click switches it to full screen and back, unless its window forbids
// that.
#pragma once

#include <mfc/afxwin.h>

class CVideoStatic : public CWnd {
 public:
  CVideoStatic();

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetUserValue(int nValue) { m_nUserValue = nValue; }
  int GetUserValue() const { return m_nUserValue; }
  // A design rectangle kept for the owning window's layouts.
  void SetAreaRect(int nLeft, int nTop, int nRight, int nBottom) { m_rcArea.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetAreaRect(RECT& rect) const { rect = m_rcArea; }
  void SetAllowFullScreen(BOOL bAllow) { m_bAllowFullScreen = bAllow; }
  BOOL IsFullScreenAllowed() const { return m_bAllowFullScreen; }
  BOOL IsFullScreen() const { return m_bFullScreen; }
  // Tells the parent UM_ENTER_FULLSCREEN, then covers the screen with the client area.
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
  DECLARE_MESSAGE_MAP()

 private:
  int m_nUserValue;
  BOOL m_bFullScreen;
  WINDOWPLACEMENT m_savedPlacement;
  CRect m_rcArea;
  BOOL m_bAllowFullScreen;
};
