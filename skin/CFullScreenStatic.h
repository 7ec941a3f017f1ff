// The video area that CVideoStatic and CVideoStaticEx share: a static control hosting a
// picture, which it never paints itself, that switches to covering the screen and back.
// Entering tells the parent UM_ENTER_FULLSCREEN before the control moves; leaving puts
// the placement saved on entering back, then tells the parent UM_LEAVE_FULLSCREEN.
#pragma once

#include <mfc/afxwin.h>

class CFullScreenStatic : public CWnd {
 public:
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL IsFullScreen() const { return m_bFullScreen; }
  virtual void EnterFullScreen();
  void LeaveFullScreen();
  void ToggleFullScreen();

 protected:
  CFullScreenStatic();

  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  // Moves the control over the screen once its placement is saved; by default the client
  // area covers it from the top.
  virtual void CoverScreen();

  BOOL m_bFullScreen;

 private:
  WINDOWPLACEMENT m_savedPlacement;
};
