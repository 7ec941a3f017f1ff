// The latching button of the skinned windows: like CSkinButton, with five state images
// cut side by side from one strip (normal, hover, checked, checked with hover, disabled)
// and a checked state that a press sets (latch mode) or toggles. Its hover hint goes to
// its parent.
#pragma once

#include <mfc/afxwin.h>

class CSkinButtonEx : public CWnd {
 public:
  CSkinButtonEx();
  ~CSkinButtonEx() override;

  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetName(const CString& strName) { m_strName = strName; }
  CString GetName() const { return m_strName; }
  // Keeps the design rectangle; with a strip bitmap, cuts the five state images.
  void SetImage(HBITMAP hStrip, int nLeft, int nTop, int nRight, int nBottom);
  void SetCommandId(int nCommandId) { m_nCommandId = nCommandId; }
  int GetCommandId() const { return m_nCommandId; }
  void SetShowCaption(BOOL bShow) { m_bShowCaption = bShow; }
  void SetCaption(const CString& strCaption) { m_strCaption = strCaption; }
  CString GetCaption() const { return m_strCaption; }
  void SetTextColor(COLORREF crText) { m_crText = crText; }
  COLORREF GetTextColor() const { return m_crText; }
  void SetHover(BOOL bHover) { m_bHover = bHover; }
  BOOL GetHover() const { return m_bHover; }
  // Without repainting.
  void SetChecked(BOOL bChecked) { m_bChecked = bChecked; }
  // A press sets the checked state (TRUE, the default) or toggles it (FALSE).
  void SetLatch(BOOL bLatch) { m_bLatch = bLatch; }
  void GetSkinRect(RECT& rect) const { rect = m_rcSkin; }
  BOOL IsDisabled() const { return m_bDisabled; }
  // Repaints.
  void SetDisabled(BOOL bDisabled);
  // TRUE clears the checked and hover flags, FALSE sets both; repaints.
  void SetReleased(BOOL bReleased);

 protected:
  void PreSubclassWindow() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  static constexpr int kImageCount = 5;
  enum Image { kNormal, kHover, kChecked, kCheckedHover, kDisabled };

  void ReleaseImages();
  void DrawCaption(HDC hdc, const CRect& rcClient);

  CString m_strName;
  HBITMAP m_bmImages[kImageCount];
  BOOL m_bHover;
  BOOL m_bChecked;
  BOOL m_bDisabled;
  int m_nCommandId;
  BOOL m_bShowCaption;
  BOOL m_bLatch;
  COLORREF m_crText;
  CString m_strCaption;
  HCURSOR m_hCursor;
  CRect m_rcSkin;
};
