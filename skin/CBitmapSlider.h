// The two position bars of the video editor window: a static control drawn entirely from
// bitmaps, a channel and a thumb, with a selection span between two cut marks drawn in
// the active channel image. The user drags the thumb with the mouse or steps it with the
// keys; while dragging it posts UM_SLIDER_TRACK (control id, position) to its parent,
// and UM_SLIDER_SET on each release and after each key step.
#pragma once

#include "skin/CSliderControl.h"

class CBitmapSlider : public CSliderControl {
 public:
  CBitmapSlider();
  ~CBitmapSlider() override;

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

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

 protected:
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  DECLARE_MESSAGE_MAP()

  void DrawChannel(CDC* pDC, const CRect& rcClient) override;
  // Opaque images are stretched from a source nSourceWidth wide and as high as the control.
  void DrawOpaque(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC, int xSrc, int ySrc,
                  int nSourceWidth) override;

 private:
  void DrawSelection(CDC* pDC, const CRect& rcClient);

  int m_nChannelImageWidth;
  int m_nSelStart;
  int m_nSelEnd;
  BOOL m_bShowSelection;
};
