// A plain text label: its text drawn straight on the control in the bold label font,
// sized to the control's height, in its text colour over whatever lies behind it.
#pragma once

#include <mfc/afxwin.h>

class CTextLabel : public CWnd {
 public:
  CTextLabel();

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Neither redraws.
  void SetText(const CString& strText) { m_strText = strText; }
  CString GetText() const { return m_strText; }
  // Where the owning window lays it out; the label itself does not use it.
  void SetPlacement(int nLeft, int nTop, int nRight, int nBottom) { m_rcPlacement.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetPlacement(RECT& rect) const { rect = m_rcPlacement; }
  void SetTextColor(COLORREF crText) { m_crText = crText; }
  COLORREF GetTextColor() const { return m_crText; }

 protected:
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strText;
  CRect m_rcPlacement;
  COLORREF m_crText;
};
