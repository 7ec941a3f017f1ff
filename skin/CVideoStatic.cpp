#include "skin/CVideoStatic.h"

#include "core/CAppController.h"

#include "skin/FullScreenPlacement.h"
#include "skin/SkinMessages.h"

BEGIN_MESSAGE_MAP(CVideoStatic, CWnd)
  ON_WM_NCHITTEST()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CVideoStatic::CVideoStatic() : m_nUserValue(0), m_bFullScreen(FALSE), m_savedPlacement{}, m_bAllowFullScreen(TRUE) {}

BOOL CVideoStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CVideoStatic::EnterFullScreen() {
  if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_ENTER_FULLSCREEN, 0, 0);
  m_savedPlacement.length = sizeof(WINDOWPLACEMENT);
  GetWindowPlacement(&m_savedPlacement);
  const WINDOWPLACEMENT placement = FullScreenPlacement(*this, FALSE);
  SetWindowPlacement(&placement);
  Invalidate();
  m_bFullScreen = TRUE;
}

void CVideoStatic::LeaveFullScreen() {
  SetWindowPlacement(&m_savedPlacement);
  Invalidate();
  m_bFullScreen = FALSE;
  if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_LEAVE_FULLSCREEN, 0, 0);
}

void CVideoStatic::ToggleFullScreen() {
  if (m_bFullScreen) {
    LeaveFullScreen();
  } else {
    EnterFullScreen();
  }
}

LRESULT CVideoStatic::OnNcHitTest(CPoint) { return HTCLIENT; }

LRESULT CVideoStatic::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CVideoStatic::OnPaint() { ValidateRect(nullptr); }

void CVideoStatic::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_bAllowFullScreen) ToggleFullScreen();
  CWnd::OnLButtonDblClk(nFlags, point);
}

// Only a live picture or a scan shows through this control; the default handling is skipped.
void CVideoStatic::OnSize(UINT, int cx, int cy) {
  if (g_pAppController && (g_pAppController->IsPreviewing() || g_pAppController->IsScanState()))
    g_pAppController->SetVideoRect(0, 0, cx, cy);
}
