// The range, pixel mapping and thumb drag that CSkinSlider and CBitmapSlider share. The
// thumb's centre travels between the margins, half a thumb in from each end; along the
// track, a position maps linearly onto that span. Horizontal sliders use x, widths and
// the left and right margins; vertical ones y, heights and the top and bottom margins.
#pragma once

#include <win32/types.h>

class CSliderTrack {
 public:
  CSliderTrack() = default;

  int GetMin() const { return m_nMin; }
  int GetMax() const { return m_nMax; }
  int GetPos() const { return m_nPos; }
  int GetPageSize() const { return m_nPage; }
  void SetMin(int nMin) { m_nMin = nMin; }
  void SetMax(int nMax) { m_nMax = nMax; }
  // Clamps to at most the maximum, then to at least the minimum.
  void SetPos(int nPos);
  // Returns the previous page size.
  int SetPageSize(int nPage);

  void SetMargins(int nLeft, int nTop, int nRight, int nBottom);
  void SetThumbSize(int cx, int cy);
  int GetThumbWidth() const { return m_nThumbWidth; }
  int GetThumbHeight() const { return m_nThumbHeight; }
  // The client size, taken again before every mapping.
  void SetChannelSize(int cx, int cy);
  void SetVertical(BOOL bVertical) { m_bVertical = bVertical; }
  BOOL IsVertical() const { return m_bVertical; }

  // The pixel of the thumb's centre for a position. A track without room (an empty
  // range or a client no larger than thumb and margins) maps everything to its start.
  int PosToPixel(int nPos) const;
  // The position of a centre pixel; the minimum on a track without room.
  int PixelToPos(int nPixel) const;

  // At the button-down that starts a drag: a press on the thumb keeps its distance from
  // the centre, a press elsewhere makes the centre jump to the pointer.
  void BeginDrag(POINT point);
  // The centre pixel the pointer asks for, kept within the thumb's travel.
  int DragPixel(POINT point) const;

  // The thumb's top-left corner at the current position: centred on its pixel along the
  // track, at the left or top margin across it.
  POINT ThumbOrigin() const;

 private:
  int Along(POINT point) const { return m_bVertical ? point.y : point.x; }
  int HalfThumb() const { return (m_bVertical ? m_nThumbHeight : m_nThumbWidth) / 2; }
  int StartMargin() const { return m_bVertical ? m_nMarginTop : m_nMarginLeft; }
  int EndMargin() const { return m_bVertical ? m_nMarginBottom : m_nMarginRight; }
  int Length() const { return m_bVertical ? m_nChannelHeight : m_nChannelWidth; }
  // The length the thumb's centre travels.
  int Travel() const;

  int m_nMax = 100;
  int m_nMin = 0;
  int m_nPos = 0;
  int m_nPage = 20;
  int m_nChannelWidth = 0;
  int m_nChannelHeight = 0;
  int m_nThumbWidth = 0;
  int m_nThumbHeight = 0;
  int m_nMarginLeft = 0;
  int m_nMarginRight = 0;
  int m_nMarginTop = 0;
  int m_nMarginBottom = 0;
  int m_nDragOffset = 0;
  BOOL m_bVertical = FALSE;
};
