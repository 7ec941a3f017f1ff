// An edit drawn over a framed skin image: a frame for the focused face (image 1, frame
// set 1) and one for the unfocused face (image 2, set 2) around the field, image 3 inside,
// and the text in blue while focused, black otherwise. Enter reaches the parent as
// UM_EDIT_ENTER before the edit acts on it, so a dialog never takes it for its default
// button. The face is drawn again on every change the edit reports (EN_UPDATE reaching the
// parent too), on painting, clicks, moves and showing; asked for its colours it answers a
// transparent background on a brush of the field colour that lives as long as it does.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSkinEdit : public CEdit {
 public:
  static constexpr UINT UM_EDIT_ENTER = 3024;
  static constexpr COLORREF kFieldColor = 0xCED7D6;

  CSkinEdit();
  ~CSkinEdit() override;

  // Nothing happens unless all three bitmaps are given; image n is cut from bitmap n at
  // rectangle n.
  void SetBitmaps(HBITMAP hImage1, HBITMAP hImage2, HBITMAP hImage3, const RECT& rc1, const RECT& rc2, const RECT& rc3);
  void SetFrameRect(const RECT* pRect);
  void SetFrameMargins(int nLeft, int nTop, int nRight, int nBottom);
  void SetAltFrameRect(const RECT* pRect);
  void SetAltFrameMargins(int nLeft, int nTop, int nRight, int nBottom);
  void SetHighlight(BOOL bHighlight) { m_bHighlight = bHighlight; }
  BOOL GetHighlight() const { return m_bHighlight; }
  // Whether the focus is on the edit or a child of it.
  BOOL IsFocused() const;
  virtual void Redraw();

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  // Enter was pressed: what the edit does before telling its parent.
  virtual void OnEnter() {}
  // The font the text is drawn in, made for one redraw (nullptr: the window's font).
  virtual HFONT MakeTextFont() const;
  // After each redraw: the formatting rectangle and the size of the text drawn in it.
  virtual void OnTextDrawn(const CRect& rcFormat, const CSize& sizeText) {}
  void DrawFrame(HDC hdc, const CRect& area, bool focused) const;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  afx_msg void OnChange();
  afx_msg BOOL OnUpdate();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

  HBITMAP m_hImages[3];
  CRect m_rcFrame;
  CRect m_rcMargins;
  CRect m_rcAltFrame;
  CRect m_rcAltMargins;
  COLORREF m_crText;
  COLORREF m_crFocusText;
  BOOL m_bHighlight;
  CBrush m_brField;
};
