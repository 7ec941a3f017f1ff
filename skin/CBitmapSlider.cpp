#include "skin/CBitmapSlider.h"

#include "skin/CMemDC.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"

#include <algorithm>
#include <climits>

namespace {

// A cut mark without an end is a line this wide at its start.
constexpr int kMarkWidth = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CBitmapSlider, CWnd)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_DESTROY()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CBitmapSlider::CBitmapSlider()
    : m_nChannelImageWidth(0),
      m_bDragging(FALSE),
      m_bHasFocus(FALSE),
      m_bFocusRectDrawn(FALSE),
      m_bDrawFocusRect(TRUE),
      m_bEnabled(TRUE),
      m_nSelStart(0),
      m_nSelEnd(-1),
      m_bShowSelection(TRUE) {}

CBitmapSlider::~CBitmapSlider() {
  DestroyWindow();
  DeleteBitmaps();
}

BOOL CBitmapSlider::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CBitmapSlider::SetRange(int nMin, int nMax, BOOL bRedraw) {
  SetMin(nMin, FALSE);
  SetMax(nMax, bRedraw);
}

void CBitmapSlider::SetMin(int nMin, BOOL bRedraw) {
  m_track.SetMin(nMin);
  if (bRedraw && m_hWnd) Invalidate();
}

void CBitmapSlider::SetMax(int nMax, BOOL bRedraw) {
  m_track.SetMax(nMax);
  if (bRedraw && m_hWnd) Invalidate();
}

void CBitmapSlider::SetPos(int nPos) {
  m_track.SetPos(nPos);
  if (m_hWnd) Invalidate();
}

void CBitmapSlider::SetMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_track.SetMargins(nLeft, nTop, nRight, nBottom);
}

void CBitmapSlider::Enable(BOOL bEnable) {
  m_bEnabled = bEnable;
  if (!m_bEnabled && m_bDragging) {
    m_bDragging = FALSE;
    if (GetCapture() == this) ::ReleaseCapture();
  }
  if (m_hWnd) Invalidate();
}

void CBitmapSlider::SetDrawFocusRect(BOOL bDraw, BOOL bRedraw) {
  m_bDrawFocusRect = bDraw;
  if (bRedraw && m_hWnd) Invalidate();
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

BOOL CBitmapSlider::SetThumbBitmaps(UINT nThumbId, UINT nActiveId, BOOL bTransparent, COLORREF crMask, int x, int y) {
  if (!m_thumb.Load(nThumbId, nActiveId, bTransparent, crMask, x, y)) return FALSE;
  const SIZE size = m_thumb.Size();
  m_track.SetThumbSize(size.cx, size.cy);
  if (!m_channel.IsLoaded()) MeasureChannel();
  return TRUE;
}

void CBitmapSlider::MeasureChannel() {
  if (!m_hWnd) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  m_track.SetChannelSize(rcClient.Width(), rcClient.Height());
}

void CBitmapSlider::DeleteBitmaps() {
  m_channel.Delete();
  m_thumb.Delete();
  m_thumbBackground.Delete();
}

LRESULT CBitmapSlider::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CBitmapSlider::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  MeasureChannel();
  CMemDC memDC(&dc, &rcClient);
  if (m_channel.IsTransparent()) {
    memDC.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dc, 0, 0, SRCCOPY);
  } else {
    memDC.FillSolidRect(&rcClient, dc.GetBkColor());
  }
  if (m_bFocusRectDrawn && (m_channel.IsTransparent() || !m_channel.IsLoaded())) {
    memDC.DrawFocusRect(&rcClient);
    m_bFocusRectDrawn = FALSE;
  }
  if (m_channel.IsLoaded()) DrawChannel(&memDC, rcClient);
  m_thumbBackground.Restore(&memDC, m_track.GetThumbWidth(), m_track.GetThumbHeight());
  if (m_thumb.IsLoaded()) DrawThumb(&memDC);
  if (m_bDrawFocusRect && m_bHasFocus && m_bEnabled) {
    memDC.DrawFocusRect(&rcClient);
    m_bFocusRectDrawn = TRUE;
  }
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

void CBitmapSlider::DrawThumb(CDC* pDC) {
  const int cx = m_track.GetThumbWidth();
  const int cy = m_track.GetThumbHeight();
  const POINT origin = m_track.ThumbOrigin();
  const int x = origin.x;
  const int y = origin.y;
  if (m_channel.IsTransparent() || !m_channel.IsLoaded()) m_thumbBackground.Save(pDC, x, y, cx, cy);
  const BOOL bActive = m_bDragging && m_thumb.HasActive();
  // The thumb keeps its own size, opaque or not.
  DrawBitmap(pDC, x, y, cx, cy, bActive ? m_thumb.Active() : m_thumb.Normal(), 0, 0,
             bActive ? m_thumb.ActiveMask() : m_thumb.NormalMask(), m_thumb.IsTransparent(), cx);
}

void CBitmapSlider::DrawBitmap(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc,
                               HBITMAP hMask, BOOL bTransparent, int nSourceWidth) {
  if (bTransparent) {
    DrawMaskedBitmap(*pDC, x, y, cx, cy, hImage, xSrc, ySrc, hMask);
    return;
  }
  CDC imageDC;
  imageDC.CreateCompatibleDC(pDC);
  HGDIOBJ hOld = imageDC.SelectObject(static_cast<HGDIOBJ>(hImage));
  CRect rcClient;
  GetClientRect(&rcClient);
  pDC->StretchBlt(x, y, cx, cy, &imageDC, xSrc, ySrc, nSourceWidth, rcClient.Height(), SRCCOPY);
  imageDC.SelectObject(hOld);
}

void CBitmapSlider::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!m_bEnabled) return;
  SetCapture();
  SetFocus();
  m_bDragging = TRUE;
  MeasureChannel();
  m_track.BeginDrag(point);
  Drag(point);
  Invalidate();
  CWnd::OnLButtonDown(nFlags, point);
}

void CBitmapSlider::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDragging && m_bEnabled) Drag(point);
  CWnd::OnMouseMove(nFlags, point);
}

void CBitmapSlider::Drag(CPoint point) {
  MeasureChannel();
  const int nPixel = m_track.DragPixel(point);
  if (nPixel == m_track.PosToPixel(m_track.GetPos())) return;
  SetPos(m_track.PixelToPos(nPixel));
  Notify(UM_SLIDER_TRACK);
}

void CBitmapSlider::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bEnabled) return;
  if (GetCapture() == this) ::ReleaseCapture();
  m_bDragging = FALSE;
  Invalidate();
  Notify(UM_SLIDER_SET);
  CWnd::OnLButtonUp(nFlags, point);
}

void CBitmapSlider::Notify(UINT message) {
  if (HWND hParent = ::GetParent(m_hWnd)) {
    ::PostMessageA(hParent, message, static_cast<WPARAM>(GetDlgCtrlID()), m_track.GetPos());
  }
}

LRESULT CBitmapSlider::OnGetDlgCode(WPARAM, LPARAM) {
  if (::GetKeyState(VK_TAB) < 0) return Default();
  return DLGC_WANTALLKEYS;
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

void CBitmapSlider::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  m_bHasFocus = TRUE;
  Invalidate();
}

void CBitmapSlider::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  m_bHasFocus = FALSE;
  Invalidate();
}

void CBitmapSlider::OnDestroy() {
  DeleteBitmaps();
  CWnd::OnDestroy();
}

LRESULT CBitmapSlider::OnNcHitTest(CPoint) { return HTCLIENT; }
