// The radio button of the skinned windows: an owner-drawn button showing its checked or
// unchecked image. A press tells the parent UM_RADIO_CLICKED; the parent decides the
// group's checks and sets them with SetCheck. The text rectangle, caption and value are
// kept for the owning window, which lays out and labels the group.
#pragma once

#include <mfc/afxwin.h>

class CSkinRadioButton : public CWnd {
 public:
  CSkinRadioButton();
  ~CSkinRadioButton() override;

  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // When both sources hold bitmaps: cuts each image out of its source at its rectangle.
  void SetBitmaps(HBITMAP hUnchecked, HBITMAP hChecked, const RECT& rcUnchecked, const RECT& rcChecked);
  void SetCheck(BOOL bCheck, BOOL bRedraw);
  BOOL GetCheck() const { return m_bChecked; }
  void SetTextRect(int nLeft, int nTop, int nRight, int nBottom) { m_rcText.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetTextRect(RECT& rect) const { rect = m_rcText; }
  void SetText(const CString& strText) { m_strText = strText; }
  CString GetText() const { return m_strText; }
  void SetValue(int nValue) { m_nValue = nValue; }
  int GetValue() const { return m_nValue; }

 protected:
  void PreSubclassWindow() override;

  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  HBITMAP m_bmUnchecked;
  HBITMAP m_bmChecked;
  BOOL m_bChecked;
  CRect m_rcText;
  CString m_strText;
  int m_nValue;
};
