// The level and position bars of the TV, media player, picture, channel, video settings
// and control-bar windows: an owner-drawn button drawn entirely from bitmaps, a channel
// and a thumb, over a background colour and under an optional frame. The user drags the
// thumb with the mouse (the keyboard does not move it); while dragging it posts
// UM_SLIDER_TRACK (control id, position) to its parent, and UM_SLIDER_SET on each
// release. It remembers the position at the last release and at the one before.
#pragma once

#include "skin/CSliderPart.h"
#include "skin/CSliderTrack.h"
#include "skin/CThumbBackground.h"

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSkinSlider : public CWnd {
 public:
  CSkinSlider();
  ~CSkinSlider() override;

  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
  void SetMin(int nMin, BOOL bRedraw = FALSE);
  void SetMax(int nMax, BOOL bRedraw = FALSE);
  int GetMin() const { return m_track.GetMin(); }
  int GetMax() const { return m_track.GetMax(); }
  // Clamped into the range; repaints, notifies nobody.
  void SetPos(int nPos);
  int GetPos() const { return m_track.GetPos(); }
  int SetPageSize(int nSize) { return m_track.SetPageSize(nSize); }
  void SetMargins(int nLeft, int nTop, int nRight, int nBottom);
  // A disabled slider ignores the mouse and draws no active images; disabling ends a drag.
  void Enable(BOOL bEnable = TRUE);
  void SetDrawFocusRect(BOOL bDraw = TRUE, BOOL bRedraw = FALSE);
  // Both remembered release positions, clamped into the range.
  void SetLastPos(int nPos);
  // The older remembered release position only.
  void SetPrevPos(int nPos) { m_nPrevPos = nPos; }
  int GetPrevPos() const { return m_nPrevPos; }
  void SetBkColor(COLORREF crBk) { m_crBk = crBk; }
  COLORREF GetBkColor() const { return m_crBk; }
  // The frame drawn over everything: its resource bitmap, the framed rectangle in it, and
  // the widths of its four edges.
  BOOL SetFrameBitmap(UINT nId);
  void SetFrameRect(const RECT* pRect);
  void SetFrameMargins(const RECT* pMargins);

  // The images, from the program's bitmap resources: see CSliderPart::Load. The control
  // keeps its size whatever the fit flag says.
  BOOL SetChannelBitmaps(UINT nChannelId, UINT nActiveId = 0, BOOL bFit = FALSE, BOOL bTransparent = FALSE,
                         COLORREF crMask = 0xFF000000, int x = 0, int y = 0);
  BOOL SetThumbBitmaps(UINT nThumbId, UINT nActiveId = 0, BOOL bTransparent = FALSE, COLORREF crMask = 0xFF000000,
                       int x = 0, int y = 0);

 protected:
  void PreSubclassWindow() override;

  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // Takes the client size as the channel size.
  void MeasureChannel();
  void Drag(CPoint point);
  void Notify(UINT message);
  void DrawBitmap(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc, HBITMAP hMask,
                  BOOL bTransparent);
  void DrawChannel(CDC* pDC, const CRect& rcClient);
  void DrawThumb(CDC* pDC);
  void DeleteBitmaps();

  CSliderTrack m_track;
  CSliderPart m_channel;
  CSliderPart m_thumb;
  CThumbBackground m_thumbBackground;
  BOOL m_bDragging;
  BOOL m_bHasFocus;
  BOOL m_bFocusRectDrawn;
  BOOL m_bDrawFocusRect;
  BOOL m_bEnabled;
  int m_nLastPos;
  int m_nPrevPos;
  COLORREF m_crBk;
  HBITMAP m_hFrame;
  CRect m_rcFrame;
  CRect m_rcFrameMargins;
};
