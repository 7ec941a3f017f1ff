// The push button of every skinned window: an owner-drawn button that paints one of four
// state images (normal, hover, pressed, disabled) cut side by side from one skin strip.
// The window creates it from a button entry, finds it by its skin name and takes its
// click as WM_COMMAND(command id, 0) on release inside it. Hover follows the pointer by
// capturing the mouse while the pointer is over the button; entering it sends a hover
// hint to the window in front.
#pragma once

#include <mfc/afxwin.h>

class CSkinButton : public CWnd {
 public:
  CSkinButton();
  ~CSkinButton() override;

  // A child button window with the given caption, style, rectangle and control id.
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetName(const CString& strName) { m_strName = strName; }
  CString GetName() const { return m_strName; }
  // Keeps the design rectangle; with a strip bitmap, cuts the four state images of
  // (right - left) x (bottom - top) from (i * width, 0), releasing the old ones.
  void SetImage(HBITMAP hStrip, int nLeft, int nTop, int nRight, int nBottom);
  void SetCommandId(int nCommandId) { m_nCommandId = nCommandId; }
  int GetCommandId() const { return m_nCommandId; }
  void SetShowCaption(BOOL bShow) { m_bShowCaption = bShow; }
  void SetCaption(const CString& strCaption) { m_strCaption = strCaption; }
  CString GetCaption() const { return m_strCaption; }
  void SetTextColor(COLORREF crText) { m_crText = crText; }
  COLORREF GetTextColor() const { return m_crText; }
  // The flags, without repainting.
  void SetHover(BOOL bHover) { m_bHover = bHover; }
  BOOL GetHover() const { return m_bHover; }
  void SetPressed(BOOL bPressed) { m_bPressed = bPressed; }
  BOOL GetPressed() const { return m_bPressed; }
  void SetNoHover(BOOL bNoHover) { m_bNoHover = bNoHover; }
  BOOL GetNoHover() const { return m_bNoHover; }
  void GetSkinRect(RECT& rect) const { rect = m_rcSkin; }
  BOOL IsEnabled() const { return !m_bDisabled; }
  // Repaints.
  void SetDisabled(BOOL bDisabled);
  // Takes a copy of cursor 106 of "winhlp32.exe" in the Windows folder as the button's
  // cursor; without that file (or cursor) the button keeps the class cursor.
  void LoadHandCursor();

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
  void ReleaseImages();
  // UM_HOVER_HINT(command id, 0) to the window of the current display mode, found by its
  // title; nothing without a display-mode object or such a window.
  void SendHoverHint() const;
  void DrawCaption(HDC hdc, const CRect& rcClient);

  CString m_strName;
  HBITMAP m_bmNormal;
  HBITMAP m_bmHover;
  HBITMAP m_bmPressed;
  HBITMAP m_bmDisabled;
  BOOL m_bHover;
  BOOL m_bPressed;
  BOOL m_bDisabled;
  BOOL m_bNoHover;
  int m_nCommandId;
  BOOL m_bShowCaption;
  COLORREF m_crText;
  CString m_strCaption;
  HCURSOR m_hCursor;
  CRect m_rcSkin;
};
