#include "skin/CSkinButtonEx.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"
#include "skin/SkinMessages.h"

namespace {

// "宋体", the SimSun typeface, by its GB2312 name.
constexpr char kCaptionFace[] = "\xCB\xCE\xCC\xE5";

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButtonEx, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_KILLFOCUS()
  ON_WM_CAPTURECHANGED()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinButtonEx::CSkinButtonEx()
    : m_bmImages{},
      m_bHover(FALSE),
      m_bChecked(FALSE),
      m_bDisabled(FALSE),
      m_nCommandId(-1),
      m_bShowCaption(FALSE),
      m_bLatch(TRUE),
      m_crText(0xFFFFFF),
      m_hCursor(nullptr) {}

CSkinButtonEx::~CSkinButtonEx() {
  DestroyWindow();
  ReleaseImages();
}

BOOL CSkinButtonEx::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CSkinButtonEx::SetImage(HBITMAP hStrip, int nLeft, int nTop, int nRight, int nBottom) {
  m_rcSkin.SetRect(nLeft, nTop, nRight, nBottom);
  if (!hStrip) return;
  ReleaseImages();
  const int cx = nRight - nLeft;
  const int cy = nBottom - nTop;
  for (int i = 0; i < kImageCount; ++i) m_bmImages[i] = CutBitmap(hStrip, i * cx, 0, cx, cy);
}

void CSkinButtonEx::SetDisabled(BOOL bDisabled) {
  m_bDisabled = bDisabled;
  Invalidate();
}

void CSkinButtonEx::SetReleased(BOOL bReleased) {
  m_bChecked = !bReleased;
  m_bHover = !bReleased;
  Invalidate();
}

void CSkinButtonEx::ReleaseImages() {
  for (HBITMAP& hImage : m_bmImages) ReleaseBitmap(hImage);
}

void CSkinButtonEx::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

int CSkinButtonEx::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  return 0;
}

LRESULT CSkinButtonEx::OnEraseBkgnd(WPARAM, LPARAM) { return 0; }

BOOL CSkinButtonEx::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (!m_bDisabled && m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSkinButtonEx::OnLButtonDown(UINT, CPoint) {
  if (m_bDisabled) return;
  m_bChecked = m_bLatch ? TRUE : !m_bChecked;
  Invalidate();
}

void CSkinButtonEx::OnLButtonUp(UINT nFlags, CPoint point) {
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

void CSkinButtonEx::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDisabled) return;
  CWnd::OnMouseMove(nFlags, point);
  if ((nFlags & MK_LBUTTON) && !m_bHover) return;

  CWnd* pParent = GetParent();
  if (GetCapture() != this) {
    if (!CWnd::GetActiveWindow() || !pParent) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point)) {
      pParent->SendMessage(UM_HOVER_HINT, static_cast<WPARAM>(m_nCommandId), 0);
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

void CSkinButtonEx::OnKillFocus(CWnd* pNewWnd) {
  m_bHover = FALSE;
  if (GetCapture() == this) ::ReleaseCapture();
  Invalidate();
  CWnd::OnKillFocus(pNewWnd);
}

void CSkinButtonEx::OnCaptureChanged(CWnd* pWnd) {
  // The capture is already somebody else's: releasing it here would take it from them.
  if (m_bHover) {
    m_bHover = FALSE;
    Invalidate();
  }
  CWnd::OnCaptureChanged(pWnd);
}

void CSkinButtonEx::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient;
  GetClientRect(&rcClient);
  Image image = kNormal;
  if (m_bDisabled) {
    image = kDisabled;
  } else if (m_bChecked) {
    image = m_bHover ? kCheckedHover : kChecked;
  } else if (m_bHover) {
    image = kHover;
  }
  SetStretchBltMode(hdc, COLORONCOLOR);
  StretchWholeBitmap(hdc, rcClient, m_bmImages[image]);
  if (m_bShowCaption) DrawCaption(hdc, rcClient);
  ::EndPaint(m_hWnd, &ps);
}

void CSkinButtonEx::DrawCaption(HDC hdc, const CRect& rcClient) {
  DrawButtonCaption(hdc, rcClient, m_strCaption, m_crText, kCaptionFace);
}
