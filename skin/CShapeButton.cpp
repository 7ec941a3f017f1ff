#include "skin/CShapeButton.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"
#include "skin/SkinValues.h"

namespace {

HBITMAP CutRect(HBITMAP hSource, const RECT& rect) {
  return CutBitmap(hSource, rect.left, rect.top, SkinWidth(rect), SkinHeight(rect));
}

}  // namespace

BEGIN_MESSAGE_MAP(CShapeButton, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KILLFOCUS()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CShapeButton::CShapeButton()
    : m_bEnabled(TRUE),
      m_hRegion(nullptr),
      m_nCommandTag(static_cast<WPARAM>(-1)),
      m_hCursor(nullptr),
      m_bDown(FALSE),
      m_bOver(FALSE),
      m_bmNormal(nullptr),
      m_bmOver(nullptr),
      m_bmDown(nullptr),
      m_bmDisabled(nullptr),
      m_bRegionAtCreate(TRUE),
      m_bUseCursor(TRUE) {}

CShapeButton::~CShapeButton() {
  DestroyWindow();
  ReleaseImages();
  if (m_hRegion) DeleteObject(m_hRegion);
  if (m_hCursor) DestroyCursor(m_hCursor);
}

BOOL CShapeButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CShapeButton::SetStateBitmaps(HBITMAP hNormal, HBITMAP hOver, HBITMAP hDown, HBITMAP hDisabled,
                                   const RECT& rcNormal, const RECT& rcOver, const RECT& rcDown,
                                   const RECT& rcDisabled) {
  ReleaseImages();
  m_bmNormal = CutRect(hNormal, rcNormal);
  m_bmOver = CutRect(hOver, rcOver);
  m_bmDown = CutRect(hDown, rcDown);
  m_bmDisabled = CutRect(hDisabled, rcDisabled);
}

BOOL CShapeButton::SetRegion(HRGN hRgn) {
  if (!hRgn) return FALSE;
  if (!m_hRegion) m_hRegion = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(m_hRegion, hRgn, nullptr, RGN_COPY);
  return TRUE;
}

BOOL CShapeButton::EnableButton(BOOL bEnable) {
  const BOOL bResult = EnableWindow(bEnable);
  m_bEnabled = bEnable;
  Invalidate();
  return bResult;
}

BOOL CShapeButton::SetTooltipText(const CString* pText, BOOL bActivate) {
  if (!pText) return FALSE;
  return SetTooltipText(static_cast<LPCTSTR>(*pText), bActivate);
}

BOOL CShapeButton::SetTooltipText(LPCTSTR lpszText, BOOL bActivate) {
  return m_ToolTip.SetText(this, lpszText, bActivate);
}

void CShapeButton::ActivateTooltip(BOOL bActivate) { m_ToolTip.Activate(bActivate); }

BOOL CShapeButton::PreTranslateMessage(MSG* pMsg) {
  m_ToolTip.Relay(this, pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

void CShapeButton::ReleaseImages() {
  ReleaseBitmap(m_bmNormal);
  ReleaseBitmap(m_bmOver);
  ReleaseBitmap(m_bmDown);
  ReleaseBitmap(m_bmDisabled);
}

BOOL CShapeButton::HitTest(CPoint point) const {
  HRGN hWindowRegion = CreateRectRgn(0, 0, 0, 0);
  const BOOL bHit = ::GetWindowRgn(m_hWnd, hWindowRegion) != ERROR && PtInRegion(hWindowRegion, point.x, point.y);
  DeleteObject(hWindowRegion);
  return bHit;
}

void CShapeButton::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  // The button style becomes (style & 0xFF) | BS_OWNERDRAW, as BM_SETSTYLE would set it.
  ModifyStyle(0xFF00 | WS_TABSTOP, BS_OWNERDRAW);
}

int CShapeButton::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_bRegionAtCreate && m_hRegion) {
    HRGN hCopy = CreateRectRgn(0, 0, 0, 0);
    if (CombineRgn(hCopy, m_hRegion, nullptr, RGN_COPY) == ERROR) {
      DeleteObject(hCopy);
      return -1;
    }
    ::SetWindowRgn(m_hWnd, hCopy, TRUE);
    CRect rcClient;
    GetClientRect(&rcClient);
    SetWindowPos(nullptr, 0, 0, rcClient.Width(), rcClient.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  return 0;
}

void CShapeButton::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (m_hRegion) {
    HRGN hClip = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(hClip, m_hRegion, nullptr, RGN_COPY);
    SelectClipRgn(hdc, hClip);
    DeleteObject(hClip);
    HBITMAP hImage = m_bmNormal;
    if (GetStyle() & WS_DISABLED) {
      hImage = m_bmDisabled;
    } else if (m_bOver) {
      hImage = m_bDown ? m_bmDown : m_bmOver;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    SetStretchBltMode(hdc, COLORONCOLOR);
    StretchWholeBitmap(hdc, rcClient, hImage);
    SelectClipRgn(hdc, nullptr);
  }
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CShapeButton::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CShapeButton::OnMouseMove(UINT nFlags, CPoint point) {
  CWnd::OnMouseMove(nFlags, point);
  if ((nFlags & MK_LBUTTON) && !m_bOver) return;
  if (GetCapture() != this) {
    if (!CWnd::GetActiveWindow() || !GetParent() || !HitTest(point)) return;
    m_bOver = TRUE;
    SetCapture();
    Invalidate();
    return;
  }
  // Still over the button while the point is in its shape and no other window covers it.
  const BOOL bInShape = HitTest(point);
  ClientToScreen(&point);
  HWND hUnder = ::WindowFromPoint(point);
  if (!hUnder || (hUnder == m_hWnd && bInShape)) return;
  if (m_bOver) {
    m_bOver = FALSE;
    Invalidate();
  }
  if (!(nFlags & MK_LBUTTON)) ::ReleaseCapture();
}

void CShapeButton::OnLButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDown(nFlags, point);
  if (HitTest(point)) {
    m_bDown = TRUE;
    Invalidate();
  }
}

void CShapeButton::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  m_bDown = FALSE;
  if (GetCapture() == this) ::ReleaseCapture();
  if (HitTest(point)) {
    m_bOver = TRUE;
    Invalidate();
    if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_BAR_COMMAND, m_nCommandTag, 0);
  }
}

void CShapeButton::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  m_bOver = FALSE;
  Invalidate();
}

void CShapeButton::OnCaptureChanged(CWnd* pWnd) {
  // The capture is already somebody else's: releasing it here would take it from them.
  if (m_bOver) Invalidate();
  CWnd::OnCaptureChanged(pWnd);
}

BOOL CShapeButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bUseCursor && m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}
