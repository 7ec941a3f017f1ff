// A shaped push button of the full-screen control bar: its window region is its hit area
// and its outline, and it paints one of four state images (normal, over, down, disabled),
// each cut from its own source bitmap. A click inside the region sends the parent
// UM_BAR_COMMAND with the command tag the bar stored in it (a pointer to the button's
// name text).
#pragma once

#include "skin/CShapeToolTip.h"

#include <mfc/afxwin.h>

class CShapeButton : public CWnd {
 public:
  CShapeButton();
  ~CShapeButton() override;

  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Cuts each rectangle out of its source into a new image; a source without a bitmap
  // leaves its image empty.
  void SetStateBitmaps(HBITMAP hNormal, HBITMAP hOver, HBITMAP hDown, HBITMAP hDisabled, const RECT& rcNormal,
                       const RECT& rcOver, const RECT& rcDown, const RECT& rcDisabled);
  // Copies the region as the hit region; FALSE for none.
  BOOL SetRegion(HRGN hRgn);
  BOOL IsButtonEnabled() const { return m_bEnabled; }
  // Enables or disables the window and repaints; returns what EnableWindow returned.
  BOOL EnableButton(BOOL bEnable);
  // One tool over the client area, made on first use, carries the text; FALSE for a null
  // string or an empty text. The tip shows while `bActivate` is set.
  BOOL SetTooltipText(const CString* pText, BOOL bActivate = TRUE);
  BOOL SetTooltipText(LPCTSTR lpszText, BOOL bActivate = TRUE);
  // Only once a tool exists.
  void ActivateTooltip(BOOL bActivate = TRUE);

  // What the bar sets before and after creating the button.
  void SetName(const CString& strName) { m_strName = strName; }
  CString GetName() const { return m_strName; }
  void SetCommandTag(WPARAM nCommandTag) { m_nCommandTag = nCommandTag; }
  WPARAM GetCommandTag() const { return m_nCommandTag; }
  // Whether WM_CREATE gives the window the hit region as its shape (TRUE by default).
  void SetRegionAtCreate(BOOL bRegionAtCreate) { m_bRegionAtCreate = bRegionAtCreate; }
  void SetUseCursor(BOOL bUseCursor) { m_bUseCursor = bUseCursor; }
  void SetCursor(HCURSOR hCursor) { m_hCursor = hCursor; }

 protected:
  void PreSubclassWindow() override;
  // Every message is relayed to the tooltip, made on first use.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  // Whether the point lies in the window's current region; no region, no hit.
  BOOL HitTest(CPoint point) const;
  void ReleaseImages();

  BOOL m_bEnabled;
  CShapeToolTip m_ToolTip;
  HRGN m_hRegion;
  CString m_strName;
  WPARAM m_nCommandTag;
  HCURSOR m_hCursor;
  BOOL m_bDown;
  BOOL m_bOver;
  HBITMAP m_bmNormal;
  HBITMAP m_bmOver;
  HBITMAP m_bmDown;
  HBITMAP m_bmDisabled;
  BOOL m_bRegionAtCreate;
  BOOL m_bUseCursor;
};
