#include "skin/CBitmapSlider.h"

#include "skin/SkinMessages.h"

#include <algorithm>
#include <climits>

namespace {

// A cut mark without an end is a line this wide at its start.
constexpr int kMarkWidth = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CBitmapSlider, CSliderControl)
  ON_WM_KEYDOWN()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CBitmapSlider::CBitmapSlider() : m_nChannelImageWidth(0), m_nSelStart(0), m_nSelEnd(-1), m_bShowSelection(TRUE) {}

CBitmapSlider::~CBitmapSlider() {
  DestroyWindow();
  DeleteBitmaps();
}

BOOL CBitmapSlider::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CBitmapSlider::SetSelStart(int nStart) {
  m_nSelStart = nStart;
  if (m_hWnd) Invalidate();
}

void CBitmapSlider::SetSelEnd(int nEnd) {
  if (nEnd < m_nSelStart) return;
  m_nSelEnd = nEnd;
  if (m_hWnd) Invalidate();
}

BOOL CBitmapSlider::SetChannelBitmaps(UINT nChannelId, UINT nActiveId, BOOL bTransparent, COLORREF crMask, int x,
                                      int y) {
  if (!m_channel.Load(nChannelId, nActiveId, bTransparent, crMask, x, y)) return FALSE;
  m_nChannelImageWidth = m_channel.Size().cx;
  MeasureChannel();
  return TRUE;
}

void CBitmapSlider::DrawChannel(CDC* pDC, const CRect& rcClient) {
  const BOOL bTransparent = m_channel.IsTransparent();
  const int w = rcClient.Width();
  const int h = rcClient.Height();
  if (m_channel.HasActive() && m_bEnabled) {
    if (m_track.IsVertical()) {
      const int nCentre = m_track.PosToPixel(m_track.GetPos());
      DrawBitmap(pDC, 0, nCentre, w, h - nCentre, m_channel.Normal(), 0, nCentre, m_channel.ActiveMask(), bTransparent,
                 m_nChannelImageWidth);
      DrawBitmap(pDC, 0, 0, w, nCentre, m_channel.Active(), 0, 0, m_channel.NormalMask(), bTransparent,
                 m_nChannelImageWidth);
      return;
    }
    DrawBitmap(pDC, 0, 0, w, h, m_channel.Normal(), 0, 0, m_channel.ActiveMask(), bTransparent, m_nChannelImageWidth);
    if (m_bShowSelection) DrawSelection(pDC, rcClient);
    return;
  }
  DrawBitmap(pDC, 0, 0, w, h, m_channel.Normal(), 0, 0, m_channel.NormalMask(), bTransparent, m_nChannelImageWidth);
}

void CBitmapSlider::DrawSelection(CDC* pDC, const CRect& rcClient) {
  const BOOL bTransparent = m_channel.IsTransparent();
  const int nStart = m_track.PosToPixel(m_nSelStart);
  if (m_nSelEnd > m_nSelStart) {
    // The span between the pixels of the two marks.
    const int nSpan = m_track.PosToPixel(m_nSelEnd) - nStart;
    DrawBitmap(pDC, nStart, 0, nSpan, rcClient.Height(), m_channel.Active(), 0, 0, m_channel.NormalMask(),
               bTransparent, m_nChannelImageWidth);
  } else if (m_nSelEnd == 0 && m_nSelStart > 0) {
    DrawBitmap(pDC, nStart, 0, kMarkWidth, rcClient.Height(), m_channel.Active(), 0, 0, m_channel.NormalMask(),
               bTransparent, m_nChannelImageWidth);
  }
}

void CBitmapSlider::DrawOpaque(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC, int xSrc, int ySrc,
                               int nSourceWidth) {
  CRect rcClient;
  GetClientRect(&rcClient);
  pDC->StretchBlt(x, y, cx, cy, pImageDC, xSrc, ySrc, nSourceWidth, rcClient.Height(), SRCCOPY);
}

void CBitmapSlider::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!m_bEnabled) {
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  // In 64 bits, so a step past the ends of the int range clamps instead of wrapping.
  const long long pos = m_track.GetPos();
  long long target = 0;
  switch (nChar) {
    case VK_PRIOR: target = pos - m_track.GetPageSize(); break;
    case VK_NEXT: target = pos + m_track.GetPageSize(); break;
    case VK_END: target = m_track.GetMax(); break;
    case VK_HOME: target = m_track.GetMin(); break;
    case VK_LEFT:
    case VK_UP: target = pos - 1; break;
    case VK_RIGHT:
    case VK_DOWN: target = pos + 1; break;
    default:
      CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
      return;
  }
  SetPos(static_cast<int>(std::clamp<long long>(target, INT_MIN, INT_MAX)));
  Notify(UM_SLIDER_SET);
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

LRESULT CBitmapSlider::OnNcHitTest(CPoint) { return HTCLIENT; }
