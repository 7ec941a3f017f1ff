// The two position bars of the video editor window: a static control drawn entirely from
// bitmaps, a channel and a thumb, with a selection span between two cut marks drawn in
// the active channel image. The user drags the thumb with the mouse or steps it with the
// keys; while dragging it posts UM_SLIDER_TRACK (control id, position) to its parent,
// and UM_SLIDER_SET on each release and after each key step.
#pragma once

#include "skin/CSliderPart.h"
#include "skin/CSliderTrack.h"
#include "skin/CThumbBackground.h"

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CBitmapSlider : public CWnd {
 public:
  CBitmapSlider();
  ~CBitmapSlider() override;

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

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
  // A disabled slider ignores the mouse and the keys and draws no active images;
  // disabling ends a drag.
  void Enable(BOOL bEnable = TRUE);
  void SetDrawFocusRect(BOOL bDraw = TRUE, BOOL bRedraw = FALSE);

  // The cut marks; an end below the start is refused. Each repaints.
  void SetSelStart(int nStart);
  void SetSelStartAtPos() { SetSelStart(m_track.GetPos()); }
  int GetSelStart() const { return m_nSelStart; }
  void SetSelEnd(int nEnd);
  void SetSelEndAtPos() { SetSelEnd(m_track.GetPos()); }
  int GetSelEnd() const { return m_nSelEnd; }
  // Whether the span between the marks is drawn (on by default).
  void SetShowSelection(BOOL bShow) { m_bShowSelection = bShow; }

  // The images, from the program's bitmap resources: see CSliderPart::Load.
  BOOL SetChannelBitmaps(UINT nChannelId, UINT nActiveId = 0, BOOL bTransparent = FALSE,
                         COLORREF crMask = 0xFF000000, int x = 0, int y = 0);
  BOOL SetThumbBitmaps(UINT nThumbId, UINT nActiveId = 0, BOOL bTransparent = FALSE, COLORREF crMask = 0xFF000000,
                       int x = 0, int y = 0);

 protected:
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  // Takes the client size as the channel size.
  void MeasureChannel();
  void Drag(CPoint point);
  void Notify(UINT message);
  // Transparent images 1:1 through their mask; opaque ones stretched from a source
  // nSourceWidth wide and as high as the control.
  void DrawBitmap(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc, HBITMAP hMask,
                  BOOL bTransparent, int nSourceWidth);
  void DrawChannel(CDC* pDC, const CRect& rcClient);
  void DrawSelection(CDC* pDC, const CRect& rcClient);
  void DrawThumb(CDC* pDC);
  void DeleteBitmaps();

  CSliderTrack m_track;
  CSliderPart m_channel;
  CSliderPart m_thumb;
  int m_nChannelImageWidth;
  CThumbBackground m_thumbBackground;
  BOOL m_bDragging;
  BOOL m_bHasFocus;
  BOOL m_bFocusRectDrawn;
  BOOL m_bDrawFocusRect;
  BOOL m_bEnabled;
  int m_nSelStart;
  int m_nSelEnd;
  BOOL m_bShowSelection;
};
