#include "skin/CVideoStatic.h"

#include "core/CAppController.h"

BEGIN_MESSAGE_MAP(CVideoStatic, CFullScreenStatic)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CVideoStatic::CVideoStatic() : m_nUserValue(0), m_bAllowFullScreen(TRUE) {}

LRESULT CVideoStatic::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CVideoStatic::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_bAllowFullScreen) ToggleFullScreen();
  CWnd::OnLButtonDblClk(nFlags, point);
}

// Only a live picture or a scan shows through this control; the default handling is skipped.
void CVideoStatic::OnSize(UINT, int cx, int cy) {
  if (g_pAppController && (g_pAppController->IsPreviewing() || g_pAppController->IsScanState()))
    g_pAppController->SetVideoRect(0, 0, cx, cy);
}
