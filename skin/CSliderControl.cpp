#include "skin/CSliderControl.h"

#include "skin/CMemDC.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"

BEGIN_MESSAGE_MAP(CSliderControl, CWnd)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSliderControl::CSliderControl()
    : m_bDragging(FALSE), m_bEnabled(TRUE), m_bHasFocus(FALSE), m_bFocusRectDrawn(FALSE), m_bDrawFocusRect(TRUE) {}

CSliderControl::~CSliderControl() = default;

void CSliderControl::SetRange(int nMin, int nMax, BOOL bRedraw) {
  SetMin(nMin, FALSE);
  SetMax(nMax, bRedraw);
}

void CSliderControl::SetMin(int nMin, BOOL bRedraw) {
  m_track.SetMin(nMin);
  if (bRedraw && m_hWnd) Invalidate();
}

void CSliderControl::SetMax(int nMax, BOOL bRedraw) {
  m_track.SetMax(nMax);
  if (bRedraw && m_hWnd) Invalidate();
}

void CSliderControl::SetPos(int nPos) {
  m_track.SetPos(nPos);
  if (m_hWnd) Invalidate();
}

void CSliderControl::SetMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_track.SetMargins(nLeft, nTop, nRight, nBottom);
}

void CSliderControl::Enable(BOOL bEnable) {
  m_bEnabled = bEnable;
  if (!m_bEnabled && m_bDragging) {
    m_bDragging = FALSE;
    if (GetCapture() == this) ::ReleaseCapture();
  }
  if (m_hWnd) Invalidate();
}

void CSliderControl::SetDrawFocusRect(BOOL bDraw, BOOL bRedraw) {
  m_bDrawFocusRect = bDraw;
  if (bRedraw && m_hWnd) Invalidate();
}

BOOL CSliderControl::SetThumbBitmaps(UINT nThumbId, UINT nActiveId, BOOL bTransparent, COLORREF crMask, int x,
                                     int y) {
  if (!m_thumb.Load(nThumbId, nActiveId, bTransparent, crMask, x, y)) return FALSE;
  const SIZE size = m_thumb.Size();
  m_track.SetThumbSize(size.cx, size.cy);
  if (!m_channel.IsLoaded()) MeasureChannel();
  return TRUE;
}

void CSliderControl::MeasureChannel() {
  if (!m_hWnd) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  m_track.SetChannelSize(rcClient.Width(), rcClient.Height());
}

void CSliderControl::DeleteBitmaps() {
  m_channel.Delete();
  m_thumb.Delete();
  m_thumbBackground.Delete();
}

LRESULT CSliderControl::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CSliderControl::OnPaint() {
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
  DrawOver(&memDC, rcClient);
}

void CSliderControl::DrawOver(CDC*, const CRect&) {}

void CSliderControl::DrawThumb(CDC* pDC) {
  const int cx = m_track.GetThumbWidth();
  const int cy = m_track.GetThumbHeight();
  const POINT origin = m_track.ThumbOrigin();
  const int x = origin.x;
  const int y = origin.y;
  if (m_channel.IsTransparent() || !m_channel.IsLoaded()) m_thumbBackground.Save(pDC, x, y, cx, cy);
  const BOOL bActive = m_bDragging && m_thumb.HasActive();
  DrawBitmap(pDC, x, y, cx, cy, bActive ? m_thumb.Active() : m_thumb.Normal(), 0, 0,
             bActive ? m_thumb.ActiveMask() : m_thumb.NormalMask(), m_thumb.IsTransparent());
}

void CSliderControl::DrawBitmap(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc,
                                HBITMAP hMask, BOOL bTransparent, int nSourceWidth) {
  if (bTransparent) {
    DrawMaskedBitmap(*pDC, x, y, cx, cy, hImage, xSrc, ySrc, hMask);
    return;
  }
  CDC imageDC;
  imageDC.CreateCompatibleDC(pDC);
  HGDIOBJ hOld = imageDC.SelectObject(static_cast<HGDIOBJ>(hImage));
  DrawOpaque(pDC, x, y, cx, cy, &imageDC, xSrc, ySrc, nSourceWidth ? nSourceWidth : cx);
  imageDC.SelectObject(hOld);
}

void CSliderControl::DrawOpaque(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC, int xSrc, int ySrc, int) {
  pDC->BitBlt(x, y, cx, cy, pImageDC, xSrc, ySrc, SRCCOPY);
}

void CSliderControl::OnLButtonDown(UINT nFlags, CPoint point) {
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

void CSliderControl::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDragging && m_bEnabled) Drag(point);
  CWnd::OnMouseMove(nFlags, point);
}

void CSliderControl::Drag(CPoint point) {
  MeasureChannel();
  const int nPixel = m_track.DragPixel(point);
  if (nPixel == m_track.PosToPixel(m_track.GetPos())) return;
  SetPos(m_track.PixelToPos(nPixel));
  Notify(UM_SLIDER_TRACK);
}

void CSliderControl::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bEnabled) return;
  OnThumbReleased();
  if (GetCapture() == this) ::ReleaseCapture();
  m_bDragging = FALSE;
  Invalidate();
  Notify(UM_SLIDER_SET);
  CWnd::OnLButtonUp(nFlags, point);
}

void CSliderControl::OnThumbReleased() {}

void CSliderControl::Notify(UINT message) {
  if (HWND hParent = ::GetParent(m_hWnd)) {
    ::PostMessageA(hParent, message, static_cast<WPARAM>(GetDlgCtrlID()), m_track.GetPos());
  }
}

LRESULT CSliderControl::OnGetDlgCode(WPARAM, LPARAM) {
  if (::GetKeyState(VK_TAB) < 0) return Default();
  return DLGC_WANTALLKEYS;
}

void CSliderControl::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  m_bHasFocus = TRUE;
  Invalidate();
}

void CSliderControl::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  m_bHasFocus = FALSE;
  Invalidate();
}

void CSliderControl::OnDestroy() {
  DeleteBitmaps();
  CWnd::OnDestroy();
}
