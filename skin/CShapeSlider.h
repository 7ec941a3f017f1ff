// The shaped track of the full-screen control bar (seek and volume bars): its window
// region is its hit area, a background image fills it and a second image shows the part
// up to the position. Dragging posts UM_PROGRESS_TRACK to the parent while the mouse
// moves and UM_PROGRESS_SET on release, with the notification tag the bar stored in it
// (a pointer to the slider's name text) and the position. The position maps linearly
// onto the bounding box of the hit region; a vertical slider has its maximum at the top
// (upward) and a horizontal one at the right (rightward) unless told otherwise.
#pragma once

#include "skin/CShapeToolTip.h"

#include <mfc/afxwin.h>

class CShapeSlider : public CWnd {
 public:
  CShapeSlider();
  ~CShapeSlider() override;

  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(int nMin, int nMax, BOOL bRedraw);
  void SetMin(int nMin, BOOL bRedraw);
  void SetMax(int nMax, BOOL bRedraw);
  int GetMin() const { return m_nMin; }
  int GetMax() const { return m_nMax; }
  // Clamps into [min, max], the maximum tested first, and repaints.
  void SetPos(int nPos);
  // The position of the point's x (horizontal) or y (vertical) pixel.
  void SetPosFromPoint(int x, int y);
  int GetPos() const { return m_nPos; }
  // Returns the previous page.
  int SetPage(int nPage);
  // Copies the region as the hit region, once: FALSE for none or when one is held.
  BOOL SetRegion(HRGN hRgn);
  // Keeps the cursor when cursor use is on; FALSE otherwise and for none.
  BOOL SetCursor(HCURSOR hCursor);
  // Stores the flag, enables or disables the window and repaints.
  BOOL EnableButton(BOOL bEnable);
  // Cuts each rectangle out of its source: the first image (not drawn), the fill of a
  // touched display-only slider, the fill, the fill while disabled, the background.
  // As CShapeButton's: one tool over the client area, made on first use.
  BOOL SetTooltipText(const CString* pText, BOOL bActivate = TRUE);
  BOOL SetTooltipText(LPCTSTR lpszText, BOOL bActivate = TRUE);
  void ActivateTooltip(BOOL bActivate = TRUE);
  void SetStateBitmaps(HBITMAP h1, HBITMAP h2, HBITMAP h3, HBITMAP h4, HBITMAP h5, const RECT& rc1, const RECT& rc2,
                       const RECT& rc3, const RECT& rc4, const RECT& rc5);

  // What the bar sets.
  void SetName(const CString& strName) { m_strName = strName; }
  CString GetName() const { return m_strName; }
  void SetNotifyTag(WPARAM nNotifyTag) { m_nNotifyTag = nNotifyTag; }
  void SetHorizontal(BOOL bHorizontal) { m_bHorizontal = bHorizontal; }
  void SetUseCursor(BOOL bUseCursor) { m_bUseCursor = bUseCursor; }
  // A display-only slider shows its position and ignores the mouse's.
  void SetDisplayOnly(BOOL bDisplayOnly) { m_bDisplayOnly = bDisplayOnly; }
  void SetUpward(BOOL bUpward) { m_bUpward = bUpward; }
  void SetRightward(BOOL bRightward) { m_bRightward = bRightward; }

  // The pixel along the slider for a position (x for a horizontal slider, y from the top
  // for a vertical one), and back.
  int PosToPixel(int nPos) const;
  int PixelToPos(int nPixel) const;

 protected:
  void PreSubclassWindow() override;
  // Every message is relayed to the tooltip, made on first use.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  static constexpr int kImageCount = 5;

  BOOL HitTest(CPoint point) const;
  // The bounding box of the hit region; the client rectangle without one.
  CRect ReferenceBox() const;
  CRect FilledRect(const CRect& rcClient) const;
  HBITMAP FillImage() const;
  void Drag(CPoint point);
  void ReleaseImages();

  BOOL m_bDisplayOnly;
  BOOL m_bHorizontal;
  BOOL m_bEnabled;
  BOOL m_bUseCursor;
  HCURSOR m_hCursor;
  BOOL m_bDragging;
  BOOL m_bTouched;
  HRGN m_hRegion;
  BOOL m_bUpward;
  BOOL m_bRightward;
  int m_nMax;
  int m_nMin;
  int m_nPos;
  int m_nPage;
  HBITMAP m_bmImages[kImageCount];
  CString m_strName;
  WPARAM m_nNotifyTag;
  CShapeToolTip m_ToolTip;
};
