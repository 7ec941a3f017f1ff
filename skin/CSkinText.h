// A text area over resource bitmap 165 with a bold label font fitted to its height: the
// record plan list's status line. ShowText draws a new text at once.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSkinText : public CWnd {
 public:
  CSkinText();

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetTextColor(COLORREF crText) { m_crText = crText; }
  // Stores the text only.
  void SetText(const CString& strText) { m_strText = strText; }
  // Replaces the text and draws it at once.
  void ShowText(const CString& strText);

 protected:
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void DrawBackground(CDC& dc);
  void DrawTextWithFont(CDC& dc, const CString& strText);

  CString m_strText;
  COLORREF m_crText;
};
