#include "skin/CStripButton.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"
#include "skin/SkinValues.h"

#include <win32/gdi/icon.h>

BEGIN_MESSAGE_MAP(CStripButton, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_KILLFOCUS()
  ON_WM_CAPTURECHANGED()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CStripButton::CStripButton(int nImages, LPCSTR pszCaptionFace)
    : m_bHover(FALSE),
      m_bDisabled(FALSE),
      m_nCommandId(-1),
      m_crText(0xFFFFFF),
      m_hCursor(nullptr),
      m_images(static_cast<size_t>(nImages), nullptr),
      m_pszCaptionFace(pszCaptionFace),
      m_bShowCaption(FALSE) {}

CStripButton::~CStripButton() {
  ReleaseImages();
  if (m_hCursor) DestroyCursor(m_hCursor);
}

BOOL CStripButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CStripButton::SetImage(HBITMAP hStrip, int nLeft, int nTop, int nRight, int nBottom) {
  m_rcSkin.SetRect(nLeft, nTop, nRight, nBottom);
  if (!hStrip) return;
  ReleaseImages();
  const int cx = SkinExtent(nLeft, nRight);
  const int cy = SkinExtent(nTop, nBottom);
  for (size_t i = 0; i < m_images.size(); ++i) m_images[i] = CutBitmap(hStrip, static_cast<int>(i) * cx, 0, cx, cy);
}

void CStripButton::SetDisabled(BOOL bDisabled) {
  m_bDisabled = bDisabled;
  Invalidate();
}

void CStripButton::ReleaseImages() {
  for (HBITMAP& hImage : m_images) ReleaseBitmap(hImage);
}

void CStripButton::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

int CStripButton::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  return 0;
}

LRESULT CStripButton::OnEraseBkgnd(WPARAM, LPARAM) { return 0; }

BOOL CStripButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (!m_bDisabled && m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CStripButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bDisabled) return;
  m_bHover = FALSE;
  CWnd::OnLButtonUp(nFlags, point);
  if (GetCapture() == this) ::ReleaseCapture();
  CRect rcClient;
  GetClientRect(&rcClient);
  if (rcClient.PtInRect(point)) {
    Invalidate();
    if (CWnd* pParent = GetParent()) pParent->SendMessage(WM_COMMAND, static_cast<WPARAM>(m_nCommandId), 0);
  }
}

void CStripButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDisabled) return;
  CWnd::OnMouseMove(nFlags, point);
  if ((nFlags & MK_LBUTTON) && !m_bHover) return;

  if (GetCapture() != this) {
    if (!CWnd::GetActiveWindow() || !GetParent()) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point)) {
      SendHoverHint();
      m_bHover = TRUE;
    }
    SetCapture();
    Invalidate();
    return;
  }
  ClientToScreen(&point);
  HWND hUnder = ::WindowFromPoint(point);
  if (!hUnder || hUnder == m_hWnd) return;
  if (m_bHover) {
    m_bHover = FALSE;
    Invalidate();
  }
  if (!(nFlags & MK_LBUTTON)) ::ReleaseCapture();
}

void CStripButton::OnKillFocus(CWnd* pNewWnd) {
  m_bHover = FALSE;
  // Only our own capture: the window taking the focus may just have taken the mouse.
  if (GetCapture() == this) ::ReleaseCapture();
  Invalidate();
  CWnd::OnKillFocus(pNewWnd);
}

void CStripButton::OnCaptureChanged(CWnd* pWnd) {
  // The capture is already somebody else's: releasing it here would take it from them.
  if (m_bHover) {
    m_bHover = FALSE;
    Invalidate();
  }
  CWnd::OnCaptureChanged(pWnd);
}

void CStripButton::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient;
  GetClientRect(&rcClient);
  const HBITMAP hImage = m_images[static_cast<size_t>(StateImage())];
  SetStretchBltMode(hdc, COLORONCOLOR);
  StretchWholeBitmap(hdc, rcClient, hImage);
  if (m_bShowCaption && CaptionInState()) DrawButtonCaption(hdc, rcClient, m_strCaption, m_crText, m_pszCaptionFace);
  ::EndPaint(m_hWnd, &ps);
}

BOOL CStripButton::CaptionInState() const { return TRUE; }
