#include "skin/CSkinSlider.h"

#include "skin/SkinBitmap.h"

#include <algorithm>

CSkinSlider::CSkinSlider() : m_nLastPos(0), m_nPrevPos(0), m_crBk(0xFFFFFF), m_hFrame(nullptr) {}

CSkinSlider::~CSkinSlider() {
  DestroyWindow();
  DeleteBitmaps();
}

BOOL CSkinSlider::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CSkinSlider::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

void CSkinSlider::SetLastPos(int nPos) {
  m_nLastPos = std::max(std::min(nPos, m_track.GetMax()), m_track.GetMin());
  m_nPrevPos = m_nLastPos;
}

BOOL CSkinSlider::SetFrameBitmap(UINT nId) {
  HBITMAP hFrame = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId));
  if (!hFrame) return FALSE;
  ReleaseBitmap(m_hFrame);
  m_hFrame = hFrame;
  return TRUE;
}

void CSkinSlider::SetFrameRect(const RECT* pRect) {
  if (pRect) m_rcFrame = *pRect;
}

void CSkinSlider::SetFrameMargins(const RECT* pMargins) {
  if (pMargins) m_rcFrameMargins = *pMargins;
}

BOOL CSkinSlider::SetChannelBitmaps(UINT nChannelId, UINT nActiveId, BOOL, BOOL bTransparent, COLORREF crMask, int x,
                                    int y) {
  if (!m_channel.Load(nChannelId, nActiveId, bTransparent, crMask, x, y)) return FALSE;
  MeasureChannel();
  return TRUE;
}

void CSkinSlider::DeleteBitmaps() {
  CSliderControl::DeleteBitmaps();
  ReleaseBitmap(m_hFrame);
}

void CSkinSlider::DrawOver(CDC* pDC, const CRect& rcClient) {
  if (m_hFrame) {
    DrawFrameBitmap(*pDC, rcClient, m_hFrame, m_rcFrame, m_rcFrameMargins.left, m_rcFrameMargins.top,
                    m_rcFrameMargins.right, m_rcFrameMargins.bottom);
  }
}

void CSkinSlider::DrawChannel(CDC* pDC, const CRect& rcClient) {
  const BOOL bTransparent = m_channel.IsTransparent();
  const int w = rcClient.Width();
  const int h = rcClient.Height();
  if (m_channel.HasActive() && m_bEnabled) {
    const int nCentre = m_track.PosToPixel(m_track.GetPos());
    if (m_track.IsVertical()) {
      DrawBitmap(pDC, 0, nCentre, w, h - nCentre, m_channel.Normal(), 0, nCentre, m_channel.ActiveMask(), bTransparent);
      DrawBitmap(pDC, 0, 0, w, nCentre, m_channel.Active(), 0, 0, m_channel.NormalMask(), bTransparent);
    } else {
      DrawBitmap(pDC, nCentre, 0, w - nCentre, h, m_channel.Normal(), nCentre, 0, m_channel.ActiveMask(), bTransparent);
      DrawBitmap(pDC, 0, 0, nCentre, h, m_channel.Active(), 0, 0, m_channel.NormalMask(), bTransparent);
    }
    return;
  }
  pDC->FillSolidRect(&rcClient, m_crBk);
  DrawBitmap(pDC, 0, 0, w, h, m_channel.Normal(), 0, 0, m_channel.NormalMask(), bTransparent);
}

void CSkinSlider::OnThumbReleased() {
  m_nPrevPos = m_nLastPos;
  m_nLastPos = m_track.GetPos();
}
