// A digits-only edit with a maximum, for the channel and time fields: a typed digit that
// would make the number exceed the maximum is swallowed (the minimum is not tested while
// typing). Text that comes in any other way (a character sent, a paste, a replaced
// selection) is held to the same rule and refused whole when it breaks it; text set by the
// program must be digits and is cut down to the maximum. It tells its parent when it takes
// the focus, with its tag, and draws its text in a bold face as high as the field.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

#include <climits>

class CDigitEdit : public CEdit {
 public:
  static constexpr UINT UM_DIGITEDIT_FOCUS = 1089;

  CDigitEdit();

  // A visible child that takes digits only.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetText(const CString& strText);
  CString GetText() const { return m_strText; }
  void SetTag(int nTag);
  int GetTag() const { return m_nTag; }
  void SetRect(const RECT& rect) { m_rect = rect; }
  CRect GetRect() const { return m_rect; }
  COLORREF SetBkColor(COLORREF crBk);
  void EnableEdit(BOOL bEnable);
  BOOL IsEditEnabled() const { return m_bEnabled; }
  void UpdateFont();
  void SetPointFont(LPCSTR lpszFace);
  // The font from a description (height in pixels, or in tenths of a point); it stays
  // until the field's height changes.
  BOOL SetLogFont(const LOGFONTA& logFont);
  BOOL SetPointLogFont(const LOGFONTA& logFont);
  BOOL GetLogFont(LOGFONTA& logFont) const;
  CString GetFontFace() const;
  // Pixels after each character of the shown digits; returns the old value.
  int SetCharExtra(int nCharExtra);
  void SetMargins();
  // Both, only when nMax >= nMin.
  void SetRange(int nMax, int nMin);
  int GetMax() const { return m_nMax; }
  int GetMin() const { return m_nMin; }
  // The number shown, never more than the maximum (an empty field counts as 0); as while
  // typing, the minimum is left to the caller.
  int GetValue() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  // White text on the field's background colour.
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnChar(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReplaceSel(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // Whether `text` may stand in the field: digits only (or nothing), its number within the
  // maximum.
  bool Fits(const CString& text) const;
  // The field's text with the current selection replaced by `piece`.
  CString WithSelectionReplaced(const CString& piece) const;
  BOOL UseFont(BOOL created);

  CFont m_font;
  int m_nFontHeight;
  CString m_strText;
  int m_nTag;
  BOOL m_bEnabled;
  COLORREF m_crBk;
  CBrush m_brush;
  COLORREF m_crBrush;
  int m_nCharExtra;
  CRect m_rect;
  int m_nMax;
  int m_nMin;
};
