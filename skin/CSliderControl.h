// The window side that CSkinSlider and CBitmapSlider share: a control drawn entirely from
// bitmaps, a channel and a thumb, whose thumb the user drags with the mouse. While
// dragging it posts UM_SLIDER_TRACK (control id, position) to its parent, and
// UM_SLIDER_SET on each release. A paint fills the background (or copies what lies under
// a see-through channel), draws the channel, puts back what the thumb covered last, draws
// the thumb and the focus rectangle. How the channel is drawn, how an opaque image is
// fitted and what is drawn over all stay with each slider.
#pragma once

#include "skin/CSliderPart.h"
#include "skin/CSliderTrack.h"
#include "skin/CThumbBackground.h"

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSliderControl : public CWnd {
 public:
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
  // A disabled slider ignores input and draws no active images; disabling ends a drag.
  void Enable(BOOL bEnable = TRUE);
  void SetDrawFocusRect(BOOL bDraw = TRUE, BOOL bRedraw = FALSE);

  // The thumb's images, from the program's bitmap resources: see CSliderPart::Load.
  BOOL SetThumbBitmaps(UINT nThumbId, UINT nActiveId = 0, BOOL bTransparent = FALSE, COLORREF crMask = 0xFF000000,
                       int x = 0, int y = 0);

 protected:
  CSliderControl();
  ~CSliderControl() override;

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

  // The channel, over the background; only called with a channel image loaded.
  virtual void DrawChannel(CDC* pDC, const CRect& rcClient) = 0;
  // Drawn last, over the focus rectangle.
  virtual void DrawOver(CDC* pDC, const CRect& rcClient);
  // An opaque image from the image DC, taken from a source nSourceWidth wide; by default
  // 1:1, for sliders that do not stretch their images.
  virtual void DrawOpaque(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC, int xSrc, int ySrc, int nSourceWidth);
  // The thumb is let go at the end of a drag, before the parent hears of it.
  virtual void OnThumbReleased();
  // The channel, thumb and kept background images; the slider's own too where it has more.
  virtual void DeleteBitmaps();

  // Transparent images 1:1 through their mask; opaque ones through DrawOpaque, from a
  // source nSourceWidth wide (0: as wide as drawn).
  void DrawBitmap(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc, HBITMAP hMask,
                  BOOL bTransparent, int nSourceWidth = 0);
  // Takes the client size as the channel size.
  void MeasureChannel();
  void Notify(UINT message);

  CSliderTrack m_track;
  CSliderPart m_channel;
  CSliderPart m_thumb;
  BOOL m_bDragging;
  BOOL m_bEnabled;

 private:
  void Drag(CPoint point);
  void DrawThumb(CDC* pDC);

  CThumbBackground m_thumbBackground;
  BOOL m_bHasFocus;
  BOOL m_bFocusRectDrawn;
  BOOL m_bDrawFocusRect;
};
