#include "skin/CShapeSlider.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"
#include "skin/SkinValues.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int TruncateToInt(double value) {
  return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

BEGIN_MESSAGE_MAP(CShapeSlider, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CShapeSlider::CShapeSlider()
    : m_bDisplayOnly(FALSE),
      m_bHorizontal(FALSE),
      m_bEnabled(TRUE),
      m_bUseCursor(TRUE),
      m_hCursor(nullptr),
      m_bDragging(FALSE),
      m_bTouched(FALSE),
      m_hRegion(nullptr),
      m_bUpward(TRUE),
      m_bRightward(TRUE),
      m_nMax(100),
      m_nMin(0),
      m_nPos(0),
      m_nPage(20),
      m_bmImages{},
      m_nNotifyTag(0) {}

CShapeSlider::~CShapeSlider() {
  DestroyWindow();
  ReleaseImages();
  if (m_hRegion) DeleteObject(m_hRegion);
  if (m_hCursor) DestroyCursor(m_hCursor);
}

BOOL CShapeSlider::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CShapeSlider::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

BOOL CShapeSlider::SetTooltipText(const CString* pText, BOOL bActivate) {
  if (!pText) return FALSE;
  return SetTooltipText(static_cast<LPCTSTR>(*pText), bActivate);
}

BOOL CShapeSlider::SetTooltipText(LPCTSTR lpszText, BOOL bActivate) {
  return m_ToolTip.SetText(this, lpszText, bActivate);
}

void CShapeSlider::ActivateTooltip(BOOL bActivate) { m_ToolTip.Activate(bActivate); }

BOOL CShapeSlider::PreTranslateMessage(MSG* pMsg) {
  m_ToolTip.Relay(this, pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

void CShapeSlider::SetRange(int nMin, int nMax, BOOL bRedraw) {
  SetMin(nMin, FALSE);
  SetMax(nMax, bRedraw);
}

void CShapeSlider::SetMin(int nMin, BOOL bRedraw) {
  m_nMin = nMin;
  if (bRedraw && m_hWnd) Invalidate();
}

void CShapeSlider::SetMax(int nMax, BOOL bRedraw) {
  m_nMax = nMax;
  if (bRedraw && m_hWnd) Invalidate();
}

void CShapeSlider::SetPos(int nPos) {
  m_nPos = std::max(std::min(nPos, m_nMax), m_nMin);
  if (m_hWnd) Invalidate();
}

int CShapeSlider::SetPage(int nPage) {
  const int nOld = m_nPage;
  m_nPage = nPage;
  return nOld;
}

BOOL CShapeSlider::SetRegion(HRGN hRgn) {
  if (!hRgn || m_hRegion) return FALSE;
  m_hRegion = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(m_hRegion, hRgn, nullptr, RGN_COPY);
  return TRUE;
}

BOOL CShapeSlider::SetCursor(HCURSOR hCursor) {
  if (!hCursor || !m_bUseCursor) return FALSE;
  m_hCursor = hCursor;
  return TRUE;
}

BOOL CShapeSlider::EnableButton(BOOL bEnable) {
  m_bEnabled = bEnable;
  EnableWindow(bEnable);
  Invalidate();
  return TRUE;
}

void CShapeSlider::SetStateBitmaps(HBITMAP h1, HBITMAP h2, HBITMAP h3, HBITMAP h4, HBITMAP h5, const RECT& rc1,
                                   const RECT& rc2, const RECT& rc3, const RECT& rc4, const RECT& rc5) {
  ReleaseImages();
  const HBITMAP sources[kImageCount] = {h1, h2, h3, h4, h5};
  const RECT* rects[kImageCount] = {&rc1, &rc2, &rc3, &rc4, &rc5};
  for (int i = 0; i < kImageCount; ++i) {
    const RECT& rc = *rects[i];
    m_bmImages[i] = CutBitmap(sources[i], rc.left, rc.top, SkinWidth(rc), SkinHeight(rc));
  }
}

void CShapeSlider::ReleaseImages() {
  for (HBITMAP& hImage : m_bmImages) ReleaseBitmap(hImage);
}

BOOL CShapeSlider::HitTest(CPoint point) const {
  HRGN hWindowRegion = CreateRectRgn(0, 0, 0, 0);
  const BOOL bHit = ::GetWindowRgn(m_hWnd, hWindowRegion) != ERROR && PtInRegion(hWindowRegion, point.x, point.y);
  DeleteObject(hWindowRegion);
  return bHit;
}

CRect CShapeSlider::ReferenceBox() const {
  CRect rcBox;
  if (m_hRegion && GetRgnBox(m_hRegion, &rcBox) != NULLREGION) return rcBox;
  GetClientRect(&rcBox);
  return rcBox;
}

int CShapeSlider::PosToPixel(int nPos) const {
  const CRect rcBox = ReferenceBox();
  CRect rcClient;
  GetClientRect(&rcClient);
  const double range = static_cast<double>(m_nMax) - m_nMin;
  // The way from the minimum and to the maximum; an empty range stays at the minimum.
  const double fromMin = range > 0 ? static_cast<double>(nPos) - m_nMin : 0.0;
  const double toMax = range > 0 ? static_cast<double>(m_nMax) - nPos : 1.0;
  const double scale = range > 0 ? range : 1.0;
  if (m_bHorizontal) {
    const double x = rcBox.left + rcBox.Width() * (m_bRightward ? fromMin : toMax) / scale;
    return std::clamp(TruncateToInt(x), 0, static_cast<int>(rcClient.Width()));
  }
  const double y = rcBox.top + rcBox.Height() * (m_bUpward ? toMax : fromMin) / scale;
  return std::clamp(TruncateToInt(y), 0, static_cast<int>(rcClient.Height()));
}

// A vertical slider's pixels count from its bottom, as a drag counts them.
void CShapeSlider::SetPosFromPoint(int x, int y) {
  CRect rcClient;
  GetClientRect(&rcClient);
  SetPos(PixelToPos(m_bHorizontal ? x : rcClient.Height() - y));
}

int CShapeSlider::PixelToPos(int nPixel) const {
  const CRect rcBox = ReferenceBox();
  const int nLength = m_bHorizontal ? rcBox.Width() : rcBox.Height();
  if (nLength <= 0) return m_nMin;
  double offset = 0;
  if (m_bHorizontal) {
    offset = m_bRightward ? nPixel - rcBox.left : rcBox.right - nPixel;
  } else {
    offset = m_bUpward ? nPixel - rcBox.top : rcBox.bottom - nPixel;
  }
  const double range = static_cast<double>(m_nMax) - m_nMin;
  const int nPos = TruncateToInt(m_nMin + range * offset / nLength);
  return std::max(std::min(nPos, m_nMax), m_nMin);
}

CRect CShapeSlider::FilledRect(const CRect& rcClient) const {
  const int p = PosToPixel(m_nPos);
  if (m_bHorizontal) {
    return m_bRightward ? CRect(rcClient.left, rcClient.top, rcClient.left + p, rcClient.bottom)
                        : CRect(rcClient.left + p, rcClient.top, rcClient.right, rcClient.bottom);
  }
  return m_bUpward ? CRect(rcClient.left, rcClient.top + p, rcClient.right, rcClient.bottom)
                   : CRect(rcClient.left, rcClient.top, rcClient.right, rcClient.top + p);
}

HBITMAP CShapeSlider::FillImage() const {
  if (m_bDisplayOnly) {
    if (!m_bTouched) return nullptr;
    return m_bDragging ? m_bmImages[2] : m_bmImages[1];
  }
  return m_bEnabled ? m_bmImages[2] : m_bmImages[3];
}

int CShapeSlider::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_hRegion) {
    HRGN hCopy = CreateRectRgn(0, 0, 0, 0);
    if (CombineRgn(hCopy, m_hRegion, nullptr, RGN_COPY) == ERROR) {
      DeleteObject(hCopy);
      return -1;
    }
    ::SetWindowRgn(m_hWnd, hCopy, TRUE);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  return 0;
}

void CShapeSlider::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (m_hRegion) {
    CRect rcClient;
    GetClientRect(&rcClient);
    const CRect rcFilled = FilledRect(rcClient);
    HRGN hClip = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(hClip, m_hRegion, nullptr, RGN_COPY);
    SelectClipRgn(hdc, hClip);
    DeleteObject(hClip);
    SetStretchBltMode(hdc, COLORONCOLOR);
    StretchWholeBitmap(hdc, rcClient, m_bmImages[4]);
    if (HBITMAP hFill = FillImage(); hFill && !rcFilled.IsRectEmpty()) {
      HDC hFillDC = CreateCompatibleDC(hdc);
      HGDIOBJ hOld = SelectObject(hFillDC, hFill);
      BitBlt(hdc, rcFilled.left, rcFilled.top, rcFilled.Width(), rcFilled.Height(), hFillDC, rcFilled.left,
             rcFilled.top, SRCCOPY);
      SelectObject(hFillDC, hOld);
      DeleteDC(hFillDC);
    }
    SelectClipRgn(hdc, nullptr);
  }
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CShapeSlider::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CShapeSlider::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!IsWindowEnabled()) return;
  SetCapture();
  SetFocus();
  if (HitTest(point)) {
    m_bDragging = TRUE;
    m_bTouched = TRUE;
  }
  Drag(point);
  Invalidate();
  CWnd::OnLButtonDown(nFlags, point);
}

void CShapeSlider::OnMouseMove(UINT nFlags, CPoint point) {
  if (!IsWindowEnabled()) return;
  const BOOL bInside = HitTest(point);
  // A drag goes on outside the region too, so that it pins the position at an end.
  if (!bInside && !m_bDragging) return;
  if (bInside) m_bTouched = TRUE;
  Drag(point);
  CWnd::OnMouseMove(nFlags, point);
}

void CShapeSlider::Drag(CPoint point) {
  if (m_bDisplayOnly || !m_bDragging) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  // Along the slider: x, or y from the top; the drag pixel of a vertical slider is
  // measured from the bottom, the position's pixel from the top.
  const int nAlong = m_bHorizontal ? std::clamp(static_cast<int>(point.x), 0, static_cast<int>(rcClient.Width()))
                                   : std::clamp(static_cast<int>(point.y), 0, static_cast<int>(rcClient.Height()));
  if (nAlong != PosToPixel(m_nPos)) {
    const int nPixel = m_bHorizontal ? nAlong : rcClient.Height() - nAlong;
    SetPos(PixelToPos(nPixel));
  }
  if (CWnd* pParent = GetParent()) pParent->PostMessage(UM_PROGRESS_TRACK, m_nNotifyTag, m_nPos);
}

void CShapeSlider::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!IsWindowEnabled()) return;
  m_bDragging = FALSE;
  if (GetCapture() == this) ::ReleaseCapture();
  Invalidate();
  if (HitTest(point)) {
    m_bTouched = TRUE;
    if (CWnd* pParent = GetParent()) pParent->PostMessage(UM_PROGRESS_SET, m_nNotifyTag, m_nPos);
  }
  CWnd::OnLButtonUp(nFlags, point);
}

void CShapeSlider::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  Invalidate();
}

void CShapeSlider::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  Invalidate();
}

BOOL CShapeSlider::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bUseCursor && m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}
