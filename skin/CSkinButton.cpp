#include "skin/CSkinButton.h"

#include "core/CDisplayMode.h"
#include "skin/SkinMessages.h"

#include <win32/file.h>
#include <win32/gdi/icon.h>
#include <win32/module.h>

namespace {

constexpr COLORREF kCaptionColor = 0xFFFFFF;
constexpr COLORREF kHoverCaptionColor = 0xFF0000;
constexpr WORD kHandCursorId = 106;

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CStripButton)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSkinButton::CSkinButton() : CStripButton(kImageCount, "Arial"), m_bPressed(FALSE), m_bNoHover(FALSE) {}

CSkinButton::~CSkinButton() { DestroyWindow(); }

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

void CSkinButton::PreSubclassWindow() {
  CStripButton::PreSubclassWindow();
  LoadHandCursor();
}

void CSkinButton::OnLButtonDown(UINT, CPoint) {
  // No default handling: the button control never sees itself pressed, so the click
  // is this class's own WM_COMMAND on release.
  m_bPressed = TRUE;
  Invalidate();
}

void CSkinButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (!m_bDisabled) m_bPressed = FALSE;
  CStripButton::OnLButtonUp(nFlags, point);
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bDisabled && m_bNoHover) {
    if (GetCapture() == this) ::ReleaseCapture();
    return;
  }
  CStripButton::OnMouseMove(nFlags, point);
}

void CSkinButton::OnCaptureChanged(CWnd* pWnd) {
  if (m_bHover) m_bPressed = FALSE;
  CStripButton::OnCaptureChanged(pWnd);
}

int CSkinButton::StateImage() {
  if (m_bDisabled) {
    m_bHover = FALSE;
    return kDisabled;
  }
  if (!m_bHover) {
    m_crText = kCaptionColor;
    return kNormal;
  }
  if (m_bPressed) {
    m_crText = kCaptionColor;
    return kPressed;
  }
  m_crText = kHoverCaptionColor;
  return kHover;
}

void CSkinButton::SendHoverHint() {
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
