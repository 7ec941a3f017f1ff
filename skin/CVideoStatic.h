// The video area of the setup and picture windows: a static control that hosts the live
// picture. A double click switches it to full screen and back, unless its window forbids
// that.
#pragma once

#include "skin/CFullScreenStatic.h"

class CVideoStatic : public CFullScreenStatic {
 public:
  CVideoStatic();

  void SetUserValue(int nValue) { m_nUserValue = nValue; }
  int GetUserValue() const { return m_nUserValue; }
  // A design rectangle kept for the owning window's layouts.
  void SetAreaRect(int nLeft, int nTop, int nRight, int nBottom) { m_rcArea.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetAreaRect(RECT& rect) const { rect = m_rcArea; }
  void SetAllowFullScreen(BOOL bAllow) { m_bAllowFullScreen = bAllow; }
  BOOL IsFullScreenAllowed() const { return m_bAllowFullScreen; }

 protected:
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  // The controller's video follows the control's size.
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  int m_nUserValue;
  CRect m_rcArea;
  BOOL m_bAllowFullScreen;
};
