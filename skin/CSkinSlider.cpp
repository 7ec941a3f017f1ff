#include "skin/CSkinSlider.h"

#include "skin/CMemDC.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CSkinSlider, CWnd)
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

CSkinSlider::CSkinSlider()
    : m_bDragging(FALSE),
      m_bHasFocus(FALSE),
      m_bFocusRectDrawn(FALSE),
      m_bDrawFocusRect(TRUE),
      m_bEnabled(TRUE),
      m_nLastPos(0),
      m_nPrevPos(0),
      m_crBk(0xFFFFFF),
      m_hFrame(nullptr) {}

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

void CSkinSlider::SetRange(int nMin, int nMax, BOOL bRedraw) {
  SetMin(nMin, FALSE);
  SetMax(nMax, bRedraw);
}

void CSkinSlider::SetMin(int nMin, BOOL bRedraw) {
  m_track.SetMin(nMin);
  if (bRedraw && m_hWnd) Invalidate();
}

void CSkinSlider::SetMax(int nMax, BOOL bRedraw) {
  m_track.SetMax(nMax);
  if (bRedraw && m_hWnd) Invalidate();
}

void CSkinSlider::SetPos(int nPos) {
  m_track.SetPos(nPos);
  if (m_hWnd) Invalidate();
}

void CSkinSlider::SetMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_track.SetMargins(nLeft, nTop, nRight, nBottom);
}

void CSkinSlider::Enable(BOOL bEnable) {
  m_bEnabled = bEnable;
  if (!m_bEnabled && m_bDragging) {
    m_bDragging = FALSE;
    if (GetCapture() == this) ::ReleaseCapture();
  }
  if (m_hWnd) Invalidate();
}

void CSkinSlider::SetDrawFocusRect(BOOL bDraw, BOOL bRedraw) {
  m_bDrawFocusRect = bDraw;
  if (bRedraw && m_hWnd) Invalidate();
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

BOOL CSkinSlider::SetThumbBitmaps(UINT nThumbId, UINT nActiveId, BOOL bTransparent, COLORREF crMask, int x, int y) {
  if (!m_thumb.Load(nThumbId, nActiveId, bTransparent, crMask, x, y)) return FALSE;
  const SIZE size = m_thumb.Size();
  m_track.SetThumbSize(size.cx, size.cy);
  if (!m_channel.IsLoaded()) MeasureChannel();
  return TRUE;
}

void CSkinSlider::MeasureChannel() {
  if (!m_hWnd) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  m_track.SetChannelSize(rcClient.Width(), rcClient.Height());
}

void CSkinSlider::DeleteBitmaps() {
  m_channel.Delete();
  m_thumb.Delete();
  m_thumbBackground.Delete();
  ReleaseBitmap(m_hFrame);
}

LRESULT CSkinSlider::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CSkinSlider::OnPaint() {
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
  if (m_hFrame) {
    DrawFrameBitmap(memDC, rcClient, m_hFrame, m_rcFrame, m_rcFrameMargins.left, m_rcFrameMargins.top,
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

void CSkinSlider::DrawThumb(CDC* pDC) {
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

void CSkinSlider::DrawBitmap(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc,
                             HBITMAP hMask, BOOL bTransparent) {
  if (bTransparent) {
    DrawMaskedBitmap(*pDC, x, y, cx, cy, hImage, xSrc, ySrc, hMask);
    return;
  }
  CDC imageDC;
  imageDC.CreateCompatibleDC(pDC);
  HGDIOBJ hOld = imageDC.SelectObject(static_cast<HGDIOBJ>(hImage));
  pDC->BitBlt(x, y, cx, cy, &imageDC, xSrc, ySrc, SRCCOPY);
  imageDC.SelectObject(hOld);
}

void CSkinSlider::OnLButtonDown(UINT nFlags, CPoint point) {
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

void CSkinSlider::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDragging && m_bEnabled) Drag(point);
  CWnd::OnMouseMove(nFlags, point);
}

void CSkinSlider::Drag(CPoint point) {
  MeasureChannel();
  const int nPixel = m_track.DragPixel(point);
  if (nPixel == m_track.PosToPixel(m_track.GetPos())) return;
  SetPos(m_track.PixelToPos(nPixel));
  Notify(UM_SLIDER_TRACK);
}

void CSkinSlider::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bEnabled) return;
  m_nPrevPos = m_nLastPos;
  m_nLastPos = m_track.GetPos();
  if (GetCapture() == this) ::ReleaseCapture();
  m_bDragging = FALSE;
  Invalidate();
  Notify(UM_SLIDER_SET);
  CWnd::OnLButtonUp(nFlags, point);
}

void CSkinSlider::Notify(UINT message) {
  if (HWND hParent = ::GetParent(m_hWnd)) {
    ::PostMessageA(hParent, message, static_cast<WPARAM>(GetDlgCtrlID()), m_track.GetPos());
  }
}

LRESULT CSkinSlider::OnGetDlgCode(WPARAM, LPARAM) {
  if (::GetKeyState(VK_TAB) < 0) return Default();
  return DLGC_WANTALLKEYS;
}

void CSkinSlider::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  m_bHasFocus = TRUE;
  Invalidate();
}

void CSkinSlider::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  m_bHasFocus = FALSE;
  Invalidate();
}

void CSkinSlider::OnDestroy() {
  DeleteBitmaps();
  CWnd::OnDestroy();
}
