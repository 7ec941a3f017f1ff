#include "skin/CSliderTrack.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

int TruncateToInt(double value) {
  return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

void CSliderTrack::SetPos(int nPos) { m_nPos = std::max(std::min(nPos, m_nMax), m_nMin); }

int CSliderTrack::SetPageSize(int nPage) {
  const int nOld = m_nPage;
  m_nPage = nPage;
  return nOld;
}

void CSliderTrack::SetMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_nMarginLeft = nLeft;
  m_nMarginTop = nTop;
  m_nMarginRight = nRight;
  m_nMarginBottom = nBottom;
}

void CSliderTrack::SetThumbSize(int cx, int cy) {
  m_nThumbWidth = cx;
  m_nThumbHeight = cy;
}

void CSliderTrack::SetChannelSize(int cx, int cy) {
  m_nChannelWidth = cx;
  m_nChannelHeight = cy;
}

int CSliderTrack::Travel() const {
  const int nThumb = m_bVertical ? m_nThumbHeight : m_nThumbWidth;
  return Length() - EndMargin() - nThumb - StartMargin();
}

int CSliderTrack::PosToPixel(int nPos) const {
  const int nStart = HalfThumb() + StartMargin();
  const double range = static_cast<double>(m_nMax) - m_nMin;
  if (range <= 0 || Travel() <= 0) return nStart;
  return nStart + TruncateToInt((static_cast<double>(nPos) - m_nMin) / range * Travel());
}

int CSliderTrack::PixelToPos(int nPixel) const {
  const double range = static_cast<double>(m_nMax) - m_nMin;
  if (range <= 0 || Travel() <= 0) return m_nMin;
  const double offset = static_cast<double>(nPixel) - HalfThumb() - StartMargin();
  return TruncateToInt(offset / Travel() * range + m_nMin);
}

void CSliderTrack::BeginDrag(POINT point) {
  const int nCentre = PosToPixel(m_nPos);
  const int nDistance = Along(point) - nCentre;
  m_nDragOffset = std::abs(nDistance) <= HalfThumb() ? nDistance : 0;
}

int CSliderTrack::DragPixel(POINT point) const {
  const int nLow = HalfThumb() + StartMargin();
  const int nHigh = Length() - EndMargin() - HalfThumb();
  return std::max(nLow, std::min(Along(point) - m_nDragOffset, nHigh));
}

POINT CSliderTrack::ThumbOrigin() const {
  const int nCentre = PosToPixel(m_nPos);
  if (m_bVertical) return POINT{m_nMarginLeft, nCentre - m_nThumbHeight / 2};
  return POINT{nCentre - m_nThumbWidth / 2, m_nMarginTop};
}
