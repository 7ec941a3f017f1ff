#include "skin/CSkinButton.h"

#include "core/CDisplayMode.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"
#include "skin/SkinMessages.h"

#include <win32/file.h>
#include <win32/module.h>

namespace {

constexpr COLORREF kCaptionColor = 0xFFFFFF;
constexpr COLORREF kHoverCaptionColor = 0xFF0000;
constexpr WORD kHandCursorId = 106;

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CWnd)
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

CSkinButton::CSkinButton()
    : m_bmNormal(nullptr),
      m_bmHover(nullptr),
      m_bmPressed(nullptr),
      m_bmDisabled(nullptr),
      m_bHover(FALSE),
      m_bPressed(FALSE),
      m_bDisabled(FALSE),
      m_bNoHover(FALSE),
      m_nCommandId(-1),
      m_bShowCaption(FALSE),
      m_crText(kCaptionColor),
      m_hCursor(nullptr) {}

CSkinButton::~CSkinButton() {
  DestroyWindow();
  ReleaseImages();
  if (m_hCursor) DestroyCursor(m_hCursor);
}

BOOL CSkinButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CSkinButton::SetImage(HBITMAP hStrip, int nLeft, int nTop, int nRight, int nBottom) {
  m_rcSkin.SetRect(nLeft, nTop, nRight, nBottom);
  if (!hStrip) return;
  ReleaseImages();
  const int cx = nRight - nLeft;
  const int cy = nBottom - nTop;
  m_bmNormal = CutBitmap(hStrip, 0, 0, cx, cy);
  m_bmHover = CutBitmap(hStrip, cx, 0, cx, cy);
  m_bmPressed = CutBitmap(hStrip, 2 * cx, 0, cx, cy);
  m_bmDisabled = CutBitmap(hStrip, 3 * cx, 0, cx, cy);
}

void CSkinButton::SetDisabled(BOOL bDisabled) {
  m_bDisabled = bDisabled;
  Invalidate();
}

void CSkinButton::LoadHandCursor() {
  char szFolder[MAX_PATH] = {};
  const UINT nLength = ::GetWindowsDirectoryA(szFolder, MAX_PATH);
  if (nLength == 0 || nLength >= MAX_PATH) return;
  CString strPath = szFolder;
  strPath += "\\winhlp32.exe";
  HMODULE hModule = ::LoadLibraryA(strPath);
  if (!hModule) return;
  if (HCURSOR hCursor = ::LoadCursorA(hModule, MAKEINTRESOURCE(kHandCursorId))) {
    if (m_hCursor) DestroyCursor(m_hCursor);
    m_hCursor = CopyCursor(hCursor);
  }
  ::FreeLibrary(hModule);
}

void CSkinButton::ReleaseImages() {
  ReleaseBitmap(m_bmNormal);
  ReleaseBitmap(m_bmHover);
  ReleaseBitmap(m_bmPressed);
  ReleaseBitmap(m_bmDisabled);
}

void CSkinButton::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
  LoadHandCursor();
}

int CSkinButton::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  return 0;
}

LRESULT CSkinButton::OnEraseBkgnd(WPARAM, LPARAM) { return 0; }

BOOL CSkinButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (!m_bDisabled && m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSkinButton::OnLButtonDown(UINT, CPoint) {
  // No default handling: the button control never sees itself pressed, so the click
  // is this class's own WM_COMMAND on release.
  m_bPressed = TRUE;
  Invalidate();
}

void CSkinButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bDisabled) return;
  m_bPressed = FALSE;
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

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDisabled) return;
  if (m_bNoHover) {
    if (GetCapture() == this) ::ReleaseCapture();
    return;
  }
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

void CSkinButton::SendHoverHint() const {
  if (!g_pDisplayMode) return;
  HWND hTarget = nullptr;
  if (g_pDisplayMode->Is110()) hTarget = ::FindWindowA(nullptr, "Orvane Media_TVDlg");
  if (g_pDisplayMode->Is105()) {
    CWnd* pMain = AfxGetMainWnd();
    hTarget = pMain ? pMain->GetSafeHwnd() : nullptr;
  }
  if (g_pDisplayMode->Is155()) hTarget = ::FindWindowA(nullptr, "Orvane Media_RecordDlg");
  if (g_pDisplayMode->Is120()) hTarget = ::FindWindowA(nullptr, "Orvane Media_SetDlg");
  if (hTarget) ::SendMessageA(hTarget, UM_HOVER_HINT, static_cast<WPARAM>(m_nCommandId), 0);
}

void CSkinButton::OnKillFocus(CWnd* pNewWnd) {
  m_bHover = FALSE;
  // Only our own capture: the window taking the focus may just have taken the mouse.
  if (GetCapture() == this) ::ReleaseCapture();
  Invalidate();
  CWnd::OnKillFocus(pNewWnd);
}

void CSkinButton::OnCaptureChanged(CWnd* pWnd) {
  // The capture is already somebody else's: releasing it here would take it from them.
  if (m_bHover) {
    m_bHover = FALSE;
    m_bPressed = FALSE;
    Invalidate();
  }
  CWnd::OnCaptureChanged(pWnd);
}

void CSkinButton::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect rcClient;
  GetClientRect(&rcClient);
  HBITMAP hImage = nullptr;
  if (m_bDisabled) {
    hImage = m_bmDisabled;
    m_bHover = FALSE;
  } else if (!m_bHover) {
    hImage = m_bmNormal;
    m_crText = kCaptionColor;
  } else if (m_bPressed) {
    hImage = m_bmPressed;
    m_crText = kCaptionColor;
  } else {
    hImage = m_bmHover;
    m_crText = kHoverCaptionColor;
  }
  SetStretchBltMode(hdc, COLORONCOLOR);
  StretchWholeBitmap(hdc, rcClient, hImage);
  if (m_bShowCaption && !m_bDisabled) DrawCaption(hdc, rcClient);
  ::EndPaint(m_hWnd, &ps);
}

void CSkinButton::DrawCaption(HDC hdc, const CRect& rcClient) {
  DrawButtonCaption(hdc, rcClient, m_strCaption, m_crText, "Arial");
}
