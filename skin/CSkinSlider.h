// The level and position bars of the TV, media player, picture, channel, video settings
// and control-bar windows: an owner-drawn button drawn entirely from bitmaps, a channel
// and a thumb, over a background colour and under an optional frame. The user drags the
// thumb with the mouse (the keyboard does not move it); while dragging it posts
// UM_SLIDER_TRACK (control id, position) to its parent, and UM_SLIDER_SET on each
// release. It remembers the position at the last release and at the one before.
#pragma once

#include "skin/CSliderControl.h"

class CSkinSlider : public CSliderControl {
 public:
  CSkinSlider();
  ~CSkinSlider() override;

  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

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

 protected:
  void PreSubclassWindow() override;

  void DrawChannel(CDC* pDC, const CRect& rcClient) override;
  void DrawOver(CDC* pDC, const CRect& rcClient) override;
  void OnThumbReleased() override;
  void DeleteBitmaps() override;

 private:
  int m_nLastPos;
  int m_nPrevPos;
  COLORREF m_crBk;
  HBITMAP m_hFrame;
  CRect m_rcFrame;
  CRect m_rcFrameMargins;
};
