// A list view that never shows scroll bars, keeping a rectangle its owner lays it out by.
#pragma once

#include <mfc/afxwin.h>

class CNoScrollListCtrl : public CListCtrl {
 public:
  static constexpr DWORD kAddedStyle = LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_EDITLABELS;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetRect(int nLeft, int nTop, int nRight, int nBottom) { m_rect.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetRect(int& nLeft, int& nTop, int& nRight, int& nBottom) const;

 protected:
  afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CRect m_rect;
};
